#include "app/sgf_association.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <optional>

#include "platform/file_io.h"
#include "platform/text_codec.h"

extern char** environ;

namespace quorvel {

const char* const kSgfMimeType = "application/x-go-sgf";
const char* const kDesktopFileName = "quorvel.desktop";

namespace {

const char* const kDefaultGroup = "[Default Applications]";
const char* const kMimePackageName = "quorvel-sgf.xml";

std::string Environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? std::string(value) : std::string();
}

std::vector<std::string> SplitList(const std::string& text, char separator) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t end = std::min(text.find(separator, start), text.size());
        if (end > start) parts.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return parts;
}

std::string Trim(const std::string& s) {
    const std::size_t first = s.find_first_not_of(" \t\r");
    if (first == std::string::npos) return std::string();
    return s.substr(first, s.find_last_not_of(" \t\r") - first + 1);
}

std::string Lower(std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

std::string Upper(std::string s) {
    for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

// The value of `key` in `group` of a desktop-style file, if the key is there.
std::optional<std::string> GroupValue(const std::string& text, const std::string& group, const std::string& key) {
    bool inGroup = false;
    for (const std::string& raw : SplitList(text, '\n')) {
        const std::string line = Trim(raw);
        if (!line.empty() && line[0] == '[') {
            inGroup = line == group;
            continue;
        }
        const std::size_t eq = line.find('=');
        if (inGroup && eq != std::string::npos && Trim(line.substr(0, eq)) == key) return Trim(line.substr(eq + 1));
    }
    return std::nullopt;
}

std::string ReadText(const std::string& path) {
    std::string bytes;
    std::string error;
    return ReadWholeFile(path, bytes, error) ? bytes : std::string();
}

std::vector<std::string> ApplicationFolders(const DesktopFolders& f) {
    std::vector<std::string> folders{f.dataHome + "/applications"};
    for (const std::string& d : f.dataDirs) folders.push_back(d + "/applications");
    return folders;
}

// A desktop file id as the desktop finds it: "a-b.desktop" may also lie at "a/b.desktop".
std::string FindDesktopFile(const DesktopFolders& f, const std::string& id) {
    for (const std::string& folder : ApplicationFolders(f)) {
        if (FileExists(folder + "/" + id)) return folder + "/" + id;
        const std::size_t dash = id.find('-');
        if (dash != std::string::npos) {
            const std::string nested = folder + "/" + id.substr(0, dash) + "/" + id.substr(dash + 1);
            if (FileExists(nested)) return nested;
        }
    }
    return std::string();
}

// The first argument of an Exec value: its string escapes read, then quoted or up to the first blank.
std::string ExecProgram(const std::string& exec) {
    std::string value;
    for (std::size_t i = 0; i < exec.size(); ++i) {
        if (exec[i] == '\\' && i + 1 < exec.size()) {
            const char n = exec[++i];
            value += n == 's' ? ' ' : n == 't' ? '\t' : n == 'n' ? '\n' : n == 'r' ? '\r' : n;
        } else {
            value += exec[i];
        }
    }
    std::string program;
    if (!value.empty() && value[0] == '"') {
        for (std::size_t i = 1; i < value.size() && value[i] != '"'; ++i) {
            if (value[i] == '\\' && i + 1 < value.size()) ++i;
            program += value[i];
        }
    } else {
        program = value.substr(0, value.find_first_of(" \t"));
    }
    std::string unpercent;
    for (std::size_t i = 0; i < program.size(); ++i) {
        unpercent += program[i];
        if (program[i] == '%' && i + 1 < program.size() && program[i + 1] == '%') ++i;
    }
    return unpercent;
}

// The default application of SGF files as the desktop's own tool (xdg-mime) finds it: the id it answers and
// the entry's file (empty when no installed entry has that id).
struct SgfDefault {
    std::string id;
    std::string path;
};

// The first application a mimeapps.list names that is installed: the user's configuration first, then the
// system's, then the applications folders, each with the current desktop's own list before the common one.
SgfDefault FromMimeappsLists(const DesktopFolders& f) {
    std::vector<std::string> folders{f.configHome};
    folders.insert(folders.end(), f.configDirs.begin(), f.configDirs.end());
    for (const std::string& a : ApplicationFolders(f)) folders.push_back(a);
    std::vector<std::string> prefixes;
    for (const std::string& desktop : SplitList(Environment("XDG_CURRENT_DESKTOP"), ':')) {
        prefixes.push_back(Lower(desktop) + "-");
    }
    prefixes.push_back(std::string());
    for (const std::string& folder : folders) {
        for (const std::string& prefix : prefixes) {
            const auto value = GroupValue(ReadText(folder + "/" + prefix + "mimeapps.list"), kDefaultGroup, kSgfMimeType);
            if (!value) continue;
            for (const std::string& listed : SplitList(*value, ';')) {
                const std::string id = Trim(listed);
                const std::string path = FindDesktopFile(f, id);
                if (!path.empty()) return {id, path};
            }
        }
    }
    return {};
}

// The first application named for the type in a defaults.list or, failing that, in the MIME cache that
// update-desktop-database keeps (mimeinfo.cache), folder by folder (the user's first). Installed
// programs that open SGF files are found here on most systems, where no mimeapps.list names any of them.
// As for the desktop, the first name counts whether or not its entry is still installed.
SgfDefault FromCaches(const DesktopFolders& f) {
    const std::string key = std::string(kSgfMimeType) + "=";
    std::vector<std::string> prefixes{Environment("XDG_MENU_PREFIX")};
    if (!prefixes[0].empty()) prefixes.push_back(std::string());
    for (const std::string& folder : ApplicationFolders(f)) {
        for (const std::string& prefix : prefixes) {
            // Only the first line naming the type in the two files counts, even when it names nothing.
            const std::string lists =
                ReadText(folder + "/" + prefix + "defaults.list") + "\n" + ReadText(folder + "/" + prefix + "mimeinfo.cache");
            const std::size_t at = lists.find(key);
            if (at == std::string::npos) continue;
            const std::string value = lists.substr(at + key.size(), lists.find('\n', at) - at - key.size());
            const std::string id = Trim(value.substr(0, value.find(';')));
            if (!id.empty()) return {id, FindDesktopFile(f, id)};
        }
    }
    return {};
}

// The desktop files of `folder` and its subfolders, in name order.
void DesktopFilesUnder(const std::string& folder, std::vector<std::string>& out) {
    std::error_code error;
    std::vector<std::filesystem::directory_entry> entries;
    for (const auto& e : std::filesystem::directory_iterator(folder, error)) entries.push_back(e);
    std::sort(entries.begin(), entries.end());
    for (const auto& e : entries) {
        const std::string path = e.path().string();
        if (e.is_directory(error)) {
            DesktopFilesUnder(path, out);
        } else if (e.path().extension() == ".desktop") {
            out.push_back(path);
        }
    }
}

// Without any list naming one: the installed entry that lists the type, the one of highest
// InitialPreference (the first found among equals).
SgfDefault FromEntries(const DesktopFolders& f) {
    SgfDefault best;
    long bestPreference = -1;
    for (const std::string& folder : ApplicationFolders(f)) {
        std::vector<std::string> entries;
        DesktopFilesUnder(folder, entries);
        for (const std::string& path : entries) {
            const std::string text = ReadText(path);
            if (text.find(std::string(kSgfMimeType) + ";") == std::string::npos) continue;
            const auto preference = GroupValue(text, "[Desktop Entry]", "InitialPreference");
            const long value = preference ? std::strtol(preference->c_str(), nullptr, 10) : 0;
            if (value > bestPreference) {
                bestPreference = value;
                best = {path.substr(path.rfind('/') + 1), path};
            }
        }
    }
    return best;
}

SgfDefault FindSgfDefault(const DesktopFolders& f) {
    SgfDefault found = FromMimeappsLists(f);
    if (found.id.empty()) found = FromCaches(f);
    if (found.id.empty()) found = FromEntries(f);
    return found;
}

// Where the MIME database already knows SGF files.
bool SystemKnowsSgf(const DesktopFolders& f) {
    std::vector<std::string> folders{f.dataHome};
    folders.insert(folders.end(), f.dataDirs.begin(), f.dataDirs.end());
    return std::any_of(folders.begin(), folders.end(), [](const std::string& d) {
        return FileExists(d + "/mime/application/x-go-sgf.xml");
    });
}

// Runs update-mime-database on the user's MIME folder. A system without the tool picks the package up when
// its database is next updated, so only a run that fails counts.
bool UpdateMimeDatabase(const std::string& mimeFolder, std::string& error) {
    std::string tool = "update-mime-database";
    std::vector<char*> argv{tool.data(), const_cast<char*>(mimeFolder.c_str()), nullptr};
    // Its remarks (a folder outside XDG_DATA_DIRS) are not the user's concern; its exit status tells.
    posix_spawn_file_actions_t quiet;
    posix_spawn_file_actions_init(&quiet);
    posix_spawn_file_actions_addopen(&quiet, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&quiet, 2, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    const int spawned = ::posix_spawnp(&pid, tool.c_str(), &quiet, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&quiet);
    if (spawned == ENOENT) return true;
    if (spawned != 0) {
        error = std::strerror(spawned);
        return false;
    }
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR) {
            error = std::strerror(errno);
            return false;
        }
    }
    if (WIFEXITED(status) && WEXITSTATUS(status) == 0) return true;
    error = "update-mime-database failed";
    return false;
}

// The files replaced so far, to be put back when a later one fails.
class Transaction {
public:
    bool Write(const std::string& path, const std::string& bytes, std::string& error) {
        std::string old;
        std::string readError;
        const bool existed = ReadWholeFile(path, old, readError);
        if (!MakeFolders(FolderOf(path))) {
            error = "cannot make " + FolderOf(path);
            return false;
        }
        if (!WriteFileAtomically(path, bytes, error)) return false;
        done_.push_back({path, existed, std::move(old)});
        return true;
    }
    void RollBack() {
        for (auto it = done_.rbegin(); it != done_.rend(); ++it) {
            std::string ignored;
            if (it->existed) {
                WriteFileAtomically(it->path, it->old, ignored);
            } else {
                ::unlink(it->path.c_str());
            }
        }
        done_.clear();
    }

private:
    struct Done {
        std::string path;
        bool existed;
        std::string old;
    };
    std::vector<Done> done_;
};

}  // namespace

DesktopFolders DesktopFolders::FromEnvironment() {
    DesktopFolders f;
    const std::string home = Environment("HOME");
    f.dataHome = Environment("XDG_DATA_HOME");
    if (f.dataHome.empty()) f.dataHome = home + "/.local/share";
    f.configHome = Environment("XDG_CONFIG_HOME");
    if (f.configHome.empty()) f.configHome = home + "/.config";
    f.dataDirs = SplitList(Environment("XDG_DATA_DIRS"), ':');
    if (f.dataDirs.empty()) f.dataDirs = {"/usr/local/share", "/usr/share"};
    f.configDirs = SplitList(Environment("XDG_CONFIG_DIRS"), ':');
    if (f.configDirs.empty()) f.configDirs = {"/etc/xdg"};
    return f;
}

std::string DefaultSgfApplication(const DesktopFolders& f) { return FindSgfDefault(f).id; }

std::string ReadAssociationCommand(const DesktopFolders& f) {
    const SgfDefault found = FindSgfDefault(f);
    const auto exec = found.path.empty() ? std::nullopt : GroupValue(ReadText(found.path), "[Desktop Entry]", "Exec");
    if (!exec) return "不明";
    return ExecProgram(*exec);
}

bool AssociatedWithProgram(const DesktopFolders& f) {
    return AssociationExists(f) && Upper(ReadAssociationCommand(f)).find("ZARNSHOW") != std::string::npos;
}

std::string DesktopExecProgram(const std::string& path) {
    // Characters that make an argument need quotes in an Exec line.
    static const char* const kReserved = " \t\n\"'\\><~|&;$*?#()`";
    std::string arg;
    if (path.find_first_of(kReserved) == std::string::npos) {
        arg = path;
    } else {
        arg = "\"";
        for (char c : path) {
            if (c == '"' || c == '`' || c == '$' || c == '\\') arg += '\\';
            arg += c;
        }
        arg += '"';
    }
    // Then the value's own escapes: "%" for field codes, the backslash for the string.
    std::string value;
    for (char c : arg) {
        if (c == '%') value += '%';
        if (c == '\\') value += '\\';
        value += c;
    }
    return value;
}

std::string DesktopEntryText(const std::string& executable, const std::string& icon) {
    return "[Desktop Entry]\n"
           "Type=Application\n"
           "Name=Quorvel\n"
           "GenericName=SGF File Viewer\n"
           "GenericName[ja]=" + Cp932ToUtf8("棋譜ビューア") + "\n"
           "Comment=View and edit Go game records (SGF)\n"
           "Comment[ja]=" + Cp932ToUtf8("囲碁の棋譜の閲覧と編集") + "\n"
           "Exec=" + DesktopExecProgram(executable) + " %f\n"
           "Icon=" + icon + "\n"
           "Terminal=false\n"
           "MimeType=" + kSgfMimeType + ";\n"
           "Categories=Game;BoardGame;\n";
}

std::string WithSgfDefault(const std::string& text) {
    const std::string entry = std::string(kSgfMimeType) + "=" + kDesktopFileName + ";";
    std::string out;
    bool inGroup = false;
    bool groupSeen = false;
    bool done = false;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        end = end == std::string::npos ? text.size() : end + 1;
        const std::string raw = text.substr(start, end - start);
        const std::string line = Trim(raw.substr(0, raw.find('\n')));
        start = end;
        if (!line.empty() && line[0] == '[') {
            // Leaving the group without the key: it goes at the group's end.
            if (inGroup && !done) {
                out += entry + "\n";
                done = true;
            }
            inGroup = line == kDefaultGroup;
            groupSeen = groupSeen || inGroup;
            out += raw;
            continue;
        }
        const std::size_t eq = line.find('=');
        if (inGroup && !done && eq != std::string::npos && Trim(line.substr(0, eq)) == kSgfMimeType) {
            // The line keeps its own ending (CR LF in a list written on another system).
            const std::size_t content = raw.find_last_not_of("\r\n");
            out += entry + (content == std::string::npos ? raw : raw.substr(content + 1));
            done = true;
            continue;
        }
        out += raw;
    }
    if (done) return out;
    if (!out.empty() && out.back() != '\n') out += "\n";
    if (!groupSeen) out += std::string(out.empty() ? "" : "\n") + kDefaultGroup + "\n";
    return out + entry + "\n";
}

std::string SgfMimePackageText() {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n"
           "  <mime-type type=\"application/x-go-sgf\">\n"
           "    <comment>SGF record</comment>\n"
           "    <glob pattern=\"*.sgf\"/>\n"
           "  </mime-type>\n"
           "</mime-info>\n";
}

bool WriteAssociation(const DesktopFolders& f, const std::string& executable, const std::string& icon,
                      std::string& error) {
    Transaction files;
    // The handler first, so that a default is never written for an entry that is not there.
    if (!files.Write(f.dataHome + "/applications/" + kDesktopFileName, DesktopEntryText(executable, icon), error)) {
        files.RollBack();
        return false;
    }
    // A list that is there but cannot be read is not replaced by one holding only this default.
    const std::string list = f.configHome + "/mimeapps.list";
    std::string old;
    if ((FileExists(list) && !ReadWholeFile(list, old, error)) || !files.Write(list, WithSgfDefault(old), error)) {
        files.RollBack();
        return false;
    }
    if (SystemKnowsSgf(f)) return true;
    const std::string mime = f.dataHome + "/mime";
    const std::string package = mime + "/packages/" + kMimePackageName;
    const bool packageWritten = files.Write(package, SgfMimePackageText(), error);
    if (packageWritten && UpdateMimeDatabase(mime, error)) return true;
    files.RollBack();
    // The database forgets the type again.
    std::string ignored;
    if (packageWritten) UpdateMimeDatabase(mime, ignored);
    return false;
}

}  // namespace quorvel
