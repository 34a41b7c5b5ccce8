// quorvel: the command-line tool for checking and converting game records in scripts. It runs the
// engine without any window.
//
//   quorvel COMMAND [ARGUMENTS]
//
// Exit status: 0 done, 1 the file holds no record, 2 a wrong command line or a file that cannot be read.
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "app/cli/record_info.h"
#include "core/engine.h"
#include "formats/sgf_reader.h"

namespace {

using quorvel::Engine;

constexpr int kDone = 0;
constexpr int kNoRecord = 1;
constexpr int kUsage = 2;

struct Command {
    const char* name;
    const char* arguments;
    const char* summary;
    int (*run)(const std::vector<std::string>& args);
};

int Info(const std::vector<std::string>& args);

// Every command of the tool; later ones (writing a record in the nested or the inline layout) join here.
const Command kCommands[] = {
    {"info", "RECORD.sgf",
     "the game summary the text window shows after loading,\n"
     "                         then the counts of setup stones, main-line moves and variations",
     Info},
};

void PrintHelp(std::ostream& out) {
    out << "usage: quorvel COMMAND [ARGUMENTS]\n\ncommands:\n";
    for (const Command& c : kCommands) {
        std::string head = std::string("  ") + c.name + " " + c.arguments;
        if (head.size() < 25) head.resize(25, ' ');
        out << head << c.summary << "\n";
    }
    out << "\n  --help                 this list\n\n"
           "Records are read as Shift-JIS, the program's own encoding; texts are printed in UTF-8.\n"
           "Exit status: 0 done, 1 the file holds no record, 2 a wrong command line or an unreadable file.\n";
}

// Reads a whole file; on failure prints why and returns false.
bool ReadWholeFile(const std::string& path, std::string& bytes) {
    std::error_code error;
    if (std::filesystem::is_directory(path, error)) {
        std::cerr << "quorvel: cannot read " << path << ": it is a folder\n";
        return false;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        std::cerr << "quorvel: cannot open " << path << ": " << std::strerror(errno) << "\n";
        return false;
    }
    std::ostringstream buffer;
    buffer << in.rdbuf();
    if (in.bad()) {
        std::cerr << "quorvel: cannot read " << path << ": " << std::strerror(errno) << "\n";
        return false;
    }
    bytes = buffer.str();
    return true;
}

int Info(const std::vector<std::string>& args) {
    if (args.size() != 1) {
        std::cerr << "quorvel: info takes one record file\n";
        return kUsage;
    }
    std::string bytes;
    if (!ReadWholeFile(args[0], bytes)) return kUsage;
    // The loader leaves the record untouched when the text has no node at all.
    if (bytes.find(';') == std::string::npos) {
        std::cerr << "quorvel: " << args[0] << ": no game record in the file (no \";\")\n";
        return kNoRecord;
    }
    quorvel::MemoryMessageArea messages;
    quorvel::MemoryDialogs dialogs;
    Engine engine(messages, dialogs);
    quorvel::LoadRecordText(engine, bytes);
    std::cout << quorvel::cli::InfoReport(engine);
    return kDone;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty()) {
        PrintHelp(std::cerr);
        return kUsage;
    }
    if (args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
        PrintHelp(std::cout);
        return kDone;
    }
    for (const Command& c : kCommands) {
        if (args[0] == c.name) return c.run(std::vector<std::string>(args.begin() + 1, args.end()));
    }
    std::cerr << "quorvel: unknown command \"" << args[0] << "\" (quorvel --help lists the commands)\n";
    return kUsage;
}
