// quorvel: the command-line tool for checking and converting game records in scripts. It runs the
// engine without any window.
//
//   quorvel COMMAND [ARGUMENTS]
//
// A record may be named by a file or by an http or https address. The network module (libcurl and the
// libraries behind it) is loaded only for an address, so that a script over a folder of records does not
// pay for it at every start.
//
// Exit status: 0 done, 1 the file holds no record, 2 a wrong command line, a file that cannot be read or a
// failed download, 3 a record that the encoding asked for cannot hold, 4 the engine could not run or failed.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>
#include <unistd.h>
#include <utility>
#include <vector>

#include "app/cli/engine_report.h"
#include "app/cli/record_info.h"
#include "app/html_save.h"
#include "app/settings_file.h"
#include "app/web_records.h"
#include "core/engine.h"
#include "formats/record_encoding.h"
#include "formats/html_page.h"
#include "formats/sgf_reader.h"
#include "formats/sgf_writer.h"
#include "formats/text_board.h"
#include "formats/text_board_reader.h"
#include "gtp/analysis.h"
#include "gtp/engine_settings.h"
#include "net/http_client.h"
#include "platform/file_io.h"
#include "platform/text_codec.h"

namespace {

using quorvel::Engine;

constexpr int kDone = 0;
constexpr int kNoRecord = 1;
constexpr int kUsage = 2;
constexpr int kCannotEncode = 3;
constexpr int kEngineFailed = 4;

struct Command {
    const char* name;
    const char* arguments;
    const char* summary;
    int (*run)(const std::vector<std::string>& args);
};

int Info(const std::vector<std::string>& args);
int Write(const std::vector<std::string>& args);
int Line(const std::vector<std::string>& args);
int Html(const std::vector<std::string>& args);
int TextBoard(const std::vector<std::string>& args);
int Analyse(const std::vector<std::string>& args);
int Review(const std::vector<std::string>& args);
int LoadRecordFile(const std::string& path, Engine& engine, std::string* readBytes = nullptr);

// Every command of the tool.
const Command kCommands[] = {
    {"info", "RECORD.sgf",
     "the game summary the text window shows after loading,\n"
     "                         then the counts of setup stones, main-line moves and variations\n"
     "                         and the record's encoding; in UTF-8, lines ending in LF",
     Info},
    {"write", "[--nested|--inline] [--encoding shift_jis|utf-8] RECORD.sgf [OUT.sgf]",
     "\n                         the whole record as SGF again, in the standard nested layout\n"
     "                         (the default) or the program's own inline one, in the record's own\n"
     "                         encoding (UTF-16 as UTF-8) or the one named; to OUT.sgf or the output",
     Write},
    {"line", "[--moves N] [--encoding shift_jis|utf-8] RECORD.sgf [OUT.sgf]",
     "\n                         the main line from the start to its end (or to move N) alone, the\n"
     "                         setup stones and the AS mark of a hidden start, encoded as write\n"
     "                         encodes; to OUT.sgf or the output",
     Line},
    {"html", "RECORD.sgf [OUT.html]",
     "\n                         the record as an HTML page with the board-replay applet, named\n"
     "                         after the record's file, with the default settings, in Shift-JIS\n"
     "                         (a character Shift-JIS lacks as &#x...;); to OUT.html or the output",
     Html},
    {"textboard", "[--moves N] RECORD [OUT]",
     "\n                         text diagrams of the main line to its end (or to move N), 99\n"
     "                         moves a diagram, as the text board command writes them, in\n"
     "                         Shift-JIS; to OUT or the output",
     TextBoard},
    {"analyse", "[--moves N] [--level L] [--engine COMMAND] RECORD",
     "\n                         the engine's candidate moves and its score at the end of the main\n"
     "                         line (or after move N): GNU Go at level L (0..10), or the GTP engine\n"
     "                         COMMAND starts (one argument, quoted as a shell quotes)",
     Analyse},
    {"review", "[--level L] [--engine COMMAND] RECORD",
     "\n                         the engine's score after every move of the main line, then the\n"
     "                         moves that lost the most",
     Review},
};

void PrintHelp(std::ostream& out) {
    out << "usage: quorvel COMMAND [ARGUMENTS]\n\ncommands:\n";
    for (const Command& c : kCommands) {
        std::string head = std::string("  ") + c.name + " " + c.arguments;
        if (head.size() < 25) head.resize(25, ' ');
        out << head << c.summary << "\n";
    }
    out << "\n  --help                 this list\n\n"
           "A RECORD may be a file or an http:// or https:// address; a text board or a diagram text\n"
           "(one without \";\") is read as the clipboard command reads it.\n"
           "A record's encoding is its byte-order mark, else its CA, else UTF-8 when its bytes are valid\n"
           "UTF-8, else Shift-JIS (GB18030 for bytes that pair up as EUC characters). Each command's\n"
           "output is in the encoding its line above names; messages on the error output are UTF-8.\n"
           "Records are written with a CA naming their encoding, Shift-JIS records exactly as the program\n"
           "writes them; records, pages and text boards end their lines in CR LF.\n"
           "A RECORD is read only from a regular file (or a link to one) of at most 256 MB; an OUT file is\n"
           "written only over a regular file the user may write, or as a new file.\n"
           "An option without its value, or one no command knows, prints this list and exits with 2.\n"
           "The engine is the one of Engine.dat beside the program's Zarn.dat (GNU Go when it names none);\n"
           "--engine and --level choose another for one run.\n"
           "Exit status: 0 done, 1 the file holds no record, 2 a wrong command line, an unreadable file or a\n"
           "failed download, 3 a character the encoding asked for lacks (or one the record could not keep),\n"
           "4 the engine could not run or failed.\n";
}

// An engine of its own for one record, without windows.
struct LoadedRecord {
    LoadedRecord() { quorvel::SetShownForeignCharacters(engine.foreignCharacters); }
    quorvel::MemoryMessageArea messages;
    quorvel::MemoryDialogs dialogs;
    Engine engine{messages, dialogs};
};

// The encoding asked for with --encoding: empty for the record's own, "Shift_JIS" or "UTF-8".
bool TakeEncoding(const std::vector<std::string>& args, std::size_t& i, std::string& encoding) {
    if (i + 1 >= args.size()) {
        std::cerr << "quorvel: --encoding takes shift_jis or utf-8\n\n";
        PrintHelp(std::cerr);
        return false;
    }
    const std::string& name = args[++i];
    if (quorvel::IsShiftJisName(name)) {
        encoding = "Shift_JIS";
    } else if (name == "utf-8" || name == "UTF-8" || name == "utf8" || name == "UTF8") {
        encoding = "UTF-8";
    } else {
        std::cerr << "quorvel: unknown encoding \"" << name << "\" (shift_jis or utf-8)\n";
        return false;
    }
    return true;
}

// A file name of the command line; a word that looks like an option no command knows is a mistake rather
// than the name of a file to write (a file named so is given as ./--name).
bool TakeFile(const std::string& arg, std::vector<std::string>& files) {
    if (arg.size() > 2 && arg.compare(0, 2, "--") == 0) {
        std::cerr << "quorvel: unknown option \"" << arg << "\"\n\n";
        PrintHelp(std::cerr);
        return false;
    }
    files.push_back(arg);
    return true;
}

// The record file and the file to write of a writing command: one or two names.
bool RecordAndOutput(const char* command, const std::vector<std::string>& files) {
    if (!files.empty() && files.size() <= 2) return true;
    std::cerr << "quorvel: " << command << " takes a record file and, if wanted, the file to write\n";
    return false;
}

std::string OutputOf(const std::vector<std::string>& files) { return files.size() == 2 ? files[1] : std::string(); }

// The file names of a command that takes no option.
bool FilesOnly(const std::vector<std::string>& args, std::vector<std::string>& files) {
    for (const std::string& a : args) {
        if (!TakeFile(a, files)) return false;
    }
    return true;
}

int Info(const std::vector<std::string>& args) {
    std::vector<std::string> files;
    if (!FilesOnly(args, files)) return kUsage;
    if (files.size() != 1) {
        std::cerr << "quorvel: info takes one record file\n";
        return kUsage;
    }
    LoadedRecord record;
    std::string bytes;
    if (const int status = LoadRecordFile(files[0], record.engine, &bytes)) return status;
    // Why the encoding was chosen: the decision on the record's bytes once more.
    std::cout << quorvel::cli::InfoReport(record.engine, quorvel::DecodeRecordBytes(bytes).reason);
    return kDone;
}

// The record text at a web address, its line ends made CR LF as the program loads it.
bool ReadWebRecord(const std::string& url, std::string& bytes, std::string& error) {
    const quorvel::net::HttpResult result = quorvel::net::FetchUrl(url, quorvel::net::HttpOptions());
    if (result.outcome != quorvel::net::HttpOutcome::Success) {
        error = result.error;
        return false;
    }
    bytes = quorvel::WithCrLfLineEnds(result.body);
    return true;
}

// Loads the record of a file or a web address into the engine; on failure prints why and returns the exit
// status.
int LoadRecordFile(const std::string& path, Engine& engine, std::string* readBytes) {
    std::string bytes;
    std::string error;
    const bool read = quorvel::net::IsWebAddress(path) ? ReadWebRecord(path, bytes, error)
                                                       : quorvel::ReadWholeFile(path, bytes, error);
    if (!read) {
        std::cerr << "quorvel: cannot read " << path << ": " << quorvel::Cp932ToUtf8(error) << "\n";
        return kUsage;
    }
    // SGF, else a text board, as a text from the clipboard is read. The main window's first colour of text
    // boards is Black until the user changes it.
    if (quorvel::LoadPastedText(engine, bytes, true) == quorvel::PastedKind::Unreadable) {
        std::cerr << "quorvel: " << path << ": no game record in the file (no \";\", no text board)\n";
        return kNoRecord;
    }
    if (readBytes) *readBytes = std::move(bytes);
    return kDone;
}

// Writes bytes to a file (replacing it only once every byte is written) or to the output.
int EmitBytes(const std::string& bytes, const std::string& outPath) {
    if (outPath.empty()) {
        std::cout.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        return std::cout ? kDone : kUsage;
    }
    std::string error;
    if (!quorvel::WriteFileAtomically(outPath, bytes, error)) {
        std::cerr << "quorvel: cannot write " << outPath << ": " << quorvel::Cp932ToUtf8(error) << "\n";
        return kUsage;
    }
    return kDone;
}

// Writes a record text to a file or to the output: in the encoding asked for, or the record's own.
int Emit(const Engine& engine, const std::string& text, const std::string& encoding, const std::string& outPath) {
    if (engine.lostCharacters > 0) {
        std::cerr << "quorvel: the record has " << engine.lostCharacters
                  << " characters more than the user-defined area holds; they would be written as \"?\"\n";
        return kCannotEncode;
    }
    std::string bytes;
    if (encoding.empty()) {
        bytes = quorvel::RecordBytesToSave(text + "\r\n", engine.recordEncoding, engine.foreignCharacters.get());
    } else {
        char32_t missing = 0;
        if (!quorvel::EncodeRecordText(text + "\r\n", encoding, engine.foreignCharacters.get(), bytes, &missing)) {
            char code[16];
            std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(missing));
            std::cerr << "quorvel: " << encoding << " has no code for the character " << code << " ("
                      << quorvel::UnicodeToUtf8(std::u32string(1, missing)) << ") of the record\n";
            return kCannotEncode;
        }
    }
    return EmitBytes(bytes, outPath);
}

int Write(const std::vector<std::string>& args) {
    bool inlineLayout = false;
    std::string encoding;
    std::vector<std::string> files;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--inline") {
            inlineLayout = true;
        } else if (a == "--nested") {
            inlineLayout = false;
        } else if (a == "--encoding") {
            if (!TakeEncoding(args, i, encoding)) return kUsage;
        } else if (!TakeFile(a, files)) {
            return kUsage;
        }
    }
    if (!RecordAndOutput("write", files)) return kUsage;
    LoadedRecord record;
    if (const int status = LoadRecordFile(files[0], record.engine)) return status;
    record.engine.settings.zarnStyle = inlineLayout;
    return Emit(record.engine, quorvel::WholeRecordText(record.engine), encoding, OutputOf(files));
}

// The options of the line commands: --moves N, --encoding and one or two files.
bool LineArguments(const std::vector<std::string>& args, int& moves, std::string& encoding,
                   std::vector<std::string>& files) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--encoding") {
            if (!TakeEncoding(args, i, encoding)) return false;
        } else if (args[i] == "--moves") {
            if (i + 1 >= args.size()) {
                std::cerr << "quorvel: --moves takes a number of moves\n\n";
                PrintHelp(std::cerr);
                return false;
            }
            char* end = nullptr;
            const long n = std::strtol(args[++i].c_str(), &end, 10);
            if (*end != '\0' || n < 0) {
                std::cerr << "quorvel: --moves takes a number of moves\n";
                return false;
            }
            moves = static_cast<int>(std::min(n, 1000L));
        } else if (!TakeFile(args[i], files)) {
            return false;
        }
    }
    return true;
}

// Steps the main line to its end, or to move `moves`.
void StepTo(Engine& engine, int moves) {
    if (moves < 0) {
        engine.GoToEnd();
    } else {
        for (int k = 0; k < moves && engine.currentIndex < engine.lineEnd; ++k) engine.StepForward();
    }
}

int Line(const std::vector<std::string>& args) {
    int moves = -1;
    std::string encoding;
    std::vector<std::string> files;
    if (!LineArguments(args, moves, encoding, files)) return kUsage;
    if (!RecordAndOutput("line", files)) return kUsage;
    LoadedRecord record;
    Engine& engine = record.engine;
    if (const int status = LoadRecordFile(files[0], engine)) return status;
    StepTo(engine, moves);
    const std::string text = quorvel::CurrentLineText(engine);
    if (text.empty()) {
        std::cerr << "quorvel: " << files[0] << ": nothing to write: no stone and no move before the position\n";
        return kNoRecord;
    }
    return Emit(engine, text, encoding, OutputOf(files));
}

int TextBoard(const std::vector<std::string>& args) {
    int moves = -1;
    std::string encoding;
    std::vector<std::string> files;
    if (!LineArguments(args, moves, encoding, files)) return kUsage;
    if (!encoding.empty()) {
        std::cerr << "quorvel: textboard writes the program's own Shift-JIS text; it takes no --encoding\n";
        return kUsage;
    }
    if (!RecordAndOutput("textboard", files)) return kUsage;
    LoadedRecord record;
    Engine& engine = record.engine;
    if (const int status = LoadRecordFile(files[0], engine)) return status;
    StepTo(engine, moves);
    return EmitBytes(quorvel::TextBoardText(engine) + "\r\n", OutputOf(files));
}

int Html(const std::vector<std::string>& args) {
    std::vector<std::string> files;
    if (!FilesOnly(args, files)) return kUsage;
    if (!RecordAndOutput("html", files)) return kUsage;
    LoadedRecord record;
    Engine& engine = record.engine;
    if (const int status = LoadRecordFile(files[0], engine)) return status;
    // The page's record is the record file as the program saves it.
    const std::string sgf = quorvel::WholeRecordText(engine);
    const std::string page = quorvel::ExportPageText(quorvel::PageTitleOf(files[0]), sgf, engine.boardSize,
                                                     quorvel::HtmlSettings(), quorvel::AppletParams(engine, false),
                                                     engine.foreignCharacters.get());
    return EmitBytes(quorvel::PageBytes(page, engine.foreignCharacters.get()), OutputOf(files));
}

// The options of the engine commands: --level, --engine, (for analyse) --moves, and the record.
bool EngineArguments(const std::vector<std::string>& args, bool takesMoves, int& moves,
                     quorvel::gtp::EngineSettings& settings, std::vector<std::string>& files) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        const bool known = a == "--level" || a == "--engine" || (takesMoves && a == "--moves");
        if (!known) {
            if (!TakeFile(a, files)) return false;
            continue;
        }
        if (i + 1 >= args.size()) {
            std::cerr << "quorvel: " << a << " takes a value\n\n";
            PrintHelp(std::cerr);
            return false;
        }
        const std::string& value = args[++i];
        if (a == "--engine") {
            settings.command = value;
            continue;
        }
        char* end = nullptr;
        const long n = std::strtol(value.c_str(), &end, 10);
        if (a == "--level" && (*end != '\0' || end == value.c_str() || n < 0 || n > 10)) {
            std::cerr << "quorvel: --level takes a level from 0 to 10\n";
            return false;
        }
        if (a == "--moves" && (*end != '\0' || end == value.c_str() || n < 0)) {
            std::cerr << "quorvel: --moves takes a number of moves\n";
            return false;
        }
        if (a == "--level") {
            settings.level = static_cast<int>(n);
        } else {
            moves = static_cast<int>(std::min(n, 1000L));
        }
    }
    if (files.size() != 1) {
        std::cerr << "quorvel: the engine commands take one record file\n";
        return false;
    }
    return true;
}

// The engine of Engine.dat in the settings folder (where the windows program keeps Zarn.dat), started.
bool StartEngine(const quorvel::gtp::EngineSettings& settings, quorvel::gtp::GtpClient& engine) {
    std::string error;
    if (engine.Start(quorvel::gtp::EngineCommandLine(settings), error)) return true;
    std::cerr << "quorvel: " << quorvel::Cp932ToUtf8(error) << "\n";
    return false;
}

quorvel::gtp::EngineSettings SavedEngineSettings() {
    return quorvel::gtp::LoadEngineSettings(quorvel::SettingsFolder(quorvel::ExecutableFolder()));
}

int EngineError(const std::string& error) {
    std::cerr << "quorvel: " << quorvel::Cp932ToUtf8(error) << "\n";
    return kEngineFailed;
}

int Analyse(const std::vector<std::string>& args) {
    int moves = -1;
    quorvel::gtp::EngineSettings settings = SavedEngineSettings();
    std::vector<std::string> files;
    if (!EngineArguments(args, true, moves, settings, files)) return kUsage;
    LoadedRecord record;
    Engine& engine = record.engine;
    if (const int status = LoadRecordFile(files[0], engine)) return status;
    StepTo(engine, moves);
    const quorvel::gtp::GamePosition position = quorvel::gtp::LinePosition(engine, engine.currentIndex);
    quorvel::gtp::GtpClient gtp;
    if (!StartEngine(settings, gtp)) return kEngineFailed;
    std::string error;
    quorvel::gtp::Analysis analysis;
    if (!quorvel::gtp::SendPosition(gtp, position, error) ||
        !quorvel::gtp::AnalyseSentPosition(gtp, position.toMove, position.boardSize, analysis, error)) {
        return EngineError(error);
    }
    const int played = static_cast<int>(position.moves.size()) - position.setupStones;
    std::cout << quorvel::cli::AnalysisReport(analysis, position, played,
                                              engine.lineEnd - quorvel::gtp::SetupEntries(engine));
    return kDone;
}

int Review(const std::vector<std::string>& args) {
    int moves = -1;
    quorvel::gtp::EngineSettings settings = SavedEngineSettings();
    std::vector<std::string> files;
    if (!EngineArguments(args, false, moves, settings, files)) return kUsage;
    LoadedRecord record;
    Engine& engine = record.engine;
    if (const int status = LoadRecordFile(files[0], engine)) return status;
    const quorvel::gtp::GamePosition line = quorvel::gtp::LinePosition(engine, engine.lineEnd);
    quorvel::gtp::GtpClient gtp;
    if (!StartEngine(settings, gtp)) return kEngineFailed;
    std::string error;
    quorvel::gtp::Review review;
    // A review at a high level takes minutes: a terminal sees how far it is, a script's log does not.
    const bool terminal = isatty(STDERR_FILENO) != 0;
    const auto progress = [terminal](int done, int total) {
        if (terminal) std::cerr << "\rreviewing " << done << "/" << total << (done == total ? "\n" : "") << std::flush;
        return true;
    };
    if (!quorvel::gtp::ReviewLine(gtp, line, progress, review, error)) {
        if (terminal) std::cerr << "\n";
        return EngineError(error);
    }
    std::cout << quorvel::cli::ReviewReport(review, line);
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
