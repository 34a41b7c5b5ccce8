// The layer of every source shows in its path, and includes run one way only: Qt only under a gui/ folder,
// no engine file includes a window file, and each subsystem uses only the ones before it.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

// The subsystems in their order; a file may include its own subsystem and those of a lower rank.
const std::map<std::string, int> kRank = {
    {"platform", 0}, {"net", 1}, {"core", 2}, {"formats", 3}, {"gtp", 4}, {"app", 5}, {"auxiliary", 6},
};

// Crossings against the order that a feature needs, each with its reason: "including file -> included".
// Every entry must still be in use, so the list never outlives the code.
const std::map<std::string, std::string> kExceptions = {
    {"app/gui/main_window.cpp -> auxiliary/gui/secondary_board_window.h",
     "the main window opens the secondary board for its commands; the board window reaches it only through "
     "the PointPicker port"},
    {"app/gui/main_window_hidden.cpp -> auxiliary/gui/secondary_board_window.h",
     "the main window builds the secondary board on first use and stands in for it as the board window's "
     "PointPicker"},
    {"app/gui/main_window_hidden.cpp -> auxiliary/gui/log_window.h",
     "the main window builds the net game log window on first use and stands in for it as the file "
     "commands' chat log keeper"},
    {"app/gui/main_window_hidden.cpp -> auxiliary/gui/preview_window.h",
     "the main window builds the record preview on first use for its open dialog"},
    {"app/gui/main_window_hidden.cpp -> auxiliary/gui/mail_window.h",
     "the main window builds the mail window on first use for KNE"},
    {"app/gui/main_window_export.cpp -> auxiliary/chat_log.h",
     "KVT writes the record's chat log as a page beside the HTML page, read with the log's own reader"},
    {"app/gui/main_window_export.cpp -> auxiliary/gui/secondary_board_window.h",
     "KVT takes the chat log the secondary board writes its board comments into"},
    {"app/gui/main_window_text.cpp -> auxiliary/gui/secondary_board_window.h",
     "the range text board is picked on the secondary board, whose chat log takes the board comments"},
    {"app/gui/main_window.cpp -> auxiliary/gui/log_window.h",
     "the main window closes the net game log window with the other windows"},
    {"app/gui/main_window_log.cpp -> auxiliary/gui/log_window.h",
     "the net game log window keeps the chat log that the file commands read and write"},
    {"app/gui/main_window_net.cpp -> auxiliary/gui/mail_window.h",
     "the main window opens the mail window for KNE"},
};

struct Include {
    std::string file;  // relative to the source root
    std::string target;
    bool angled;
};

std::vector<Include> ReadIncludes(const fs::path& root) {
    static const std::regex line(R"(^\s*#\s*include\s*([<"])([^>"]+)[>"])");
    std::vector<Include> out;
    for (const auto& [folder, rank] : kRank) {
        (void)rank;
        if (!fs::exists(root / folder)) continue;
        for (const auto& entry : fs::recursive_directory_iterator(root / folder)) {
            const std::string ext = entry.path().extension().string();
            if (ext != ".cpp" && ext != ".h") continue;
            std::ifstream in(entry.path());
            const std::string rel = fs::relative(entry.path(), root).generic_string();
            for (std::string text; std::getline(in, text);) {
                std::smatch m;
                if (std::regex_search(text, m, line)) out.push_back({rel, m[2].str(), m[1].str() == "<"});
            }
        }
    }
    return out;
}

bool InGuiFolder(const std::string& path) { return path.find("/gui/") != std::string::npos; }

std::string SubsystemOf(const std::string& path) { return path.substr(0, path.find('/')); }

bool IsQtHeader(const Include& inc) {
    return inc.angled && inc.target.size() > 1 && inc.target[0] == 'Q' &&
           (std::isupper(static_cast<unsigned char>(inc.target[1])) || inc.target.rfind("Qt", 0) == 0);
}

// Every broken rule, one line each.
std::vector<std::string> Violations(const std::vector<Include>& includes, std::set<std::string>& usedExceptions) {
    std::vector<std::string> found;
    for (const Include& inc : includes) {
        const std::string crossing = inc.file + " -> " + inc.target;
        if (IsQtHeader(inc) && !InGuiFolder(inc.file)) found.push_back("Qt outside gui/: " + crossing);
        if (inc.angled) continue;
        const auto to = kRank.find(SubsystemOf(inc.target));
        if (to == kRank.end()) continue;
        if (!InGuiFolder(inc.file) && InGuiFolder(inc.target)) found.push_back("engine includes a window: " + crossing);
        if (to->second > kRank.at(SubsystemOf(inc.file))) {
            if (kExceptions.count(crossing)) {
                usedExceptions.insert(crossing);
            } else {
                found.push_back("against the subsystem order: " + crossing);
            }
        }
    }
    return found;
}

}  // namespace

TEST(Layering, IncludesRunOneWay) {
    const std::vector<Include> includes = ReadIncludes(QUORVEL_SOURCE_DIR);
    ASSERT_GT(includes.size(), 100u) << "the sources were not found under " << QUORVEL_SOURCE_DIR;
    std::set<std::string> used;
    const std::vector<std::string> found = Violations(includes, used);
    for (const std::string& v : found) ADD_FAILURE() << v;
    for (const auto& [crossing, reason] : kExceptions) {
        EXPECT_TRUE(used.count(crossing)) << "listed exception no longer needed: " << crossing << " (" << reason << ")";
    }
}

TEST(Layering, EachRuleCatchesItsCrossing) {
    const std::vector<Include> planted = {
        {"core/position.cpp", "QString", true},
        {"formats/sgf_reader.cpp", "core/gui/board_window.h", false},
        {"core/navigation.cpp", "formats/sgf_writer.h", false},
        {"platform/file_io.cpp", "app/file_commands.h", false},
        {"gtp/analysis.cpp", "app/settings_file.h", false},
        // Allowed: Qt in a window, a window using the engine before it, the standard library anywhere.
        {"core/gui/board_window.cpp", "QWidget", true},
        {"app/gui/main_window.cpp", "formats/sgf_reader.h", false},
        {"core/point.cpp", "string", true},
    };
    std::set<std::string> used;
    const std::vector<std::string> found = Violations(planted, used);
    ASSERT_EQ(found.size(), 5u);
    EXPECT_EQ(found[0], "Qt outside gui/: core/position.cpp -> QString");
    EXPECT_EQ(found[1], "engine includes a window: formats/sgf_reader.cpp -> core/gui/board_window.h");
    EXPECT_EQ(found[2], "against the subsystem order: core/navigation.cpp -> formats/sgf_writer.h");
    EXPECT_EQ(found[3], "against the subsystem order: platform/file_io.cpp -> app/file_commands.h");
    EXPECT_EQ(found[4], "against the subsystem order: gtp/analysis.cpp -> app/settings_file.h");
}
