#include "app/settings_file.h"

#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <optional>
#include <string_view>
#include <vector>

#include "platform/file_io.h"

namespace quorvel {

const char* const kSettingsFileName = "Zarn.dat";

namespace {

const char* const kCrLf = "\r\n";

// The fifteen flags, in the file's order.
enum class Flag {
    ShowXY, Number, AllShow, ZarnHint, Salala, AsOption, MacMouse, ZarnStyle, EndingAsk, StoneSound,
    TextAddPre, TextUseNew, TextUseColor, AdvanceMoves, NoZarnNoHint
};
const std::pair<Flag, const char*> kFlags[] = {
    {Flag::ShowXY, "ShowXY"},         {Flag::Number, "Number"},         {Flag::AllShow, "AllShow"},
    {Flag::ZarnHint, "ZarnHint"},     {Flag::Salala, "Salala"},         {Flag::AsOption, "AsOption"},
    {Flag::MacMouse, "MacMouse"},     {Flag::ZarnStyle, "ZarnStyle"},   {Flag::EndingAsk, "EndingAsk"},
    {Flag::StoneSound, "StoneSound"}, {Flag::TextAddPre, "TextAddPre"}, {Flag::TextUseNew, "TextUseNew"},
    {Flag::TextUseColor, "TextUseColor"}, {Flag::AdvanceMoves, "AdvanceMoves"},
    {Flag::NoZarnNoHint, "NoZarnNoHint"},
};

// The flags that are plain options of the board window.
bool* BoardFlag(Settings& s, Flag f) {
    switch (f) {
        case Flag::ShowXY: return &s.showXY;
        case Flag::Number: return &s.number;
        case Flag::AllShow: return &s.allShow;
        case Flag::Salala: return &s.salala;
        case Flag::AsOption: return &s.asOption;
        case Flag::MacMouse: return &s.macMouse;
        case Flag::ZarnStyle: return &s.zarnStyle;
        case Flag::StoneSound: return &s.stoneSound;
        case Flag::TextAddPre: return &s.textAddPre;
        case Flag::TextUseNew: return &s.textUseNew;
        case Flag::TextUseColor: return &s.textUseColor;
        case Flag::NoZarnNoHint: return &s.noZarnNoHint;
        default: return nullptr;
    }
}

bool FlagValue(const SettingsOwners& o, Flag f) {
    switch (f) {
        case Flag::ZarnHint: return o.board.hintsShown;
        case Flag::EndingAsk: return o.files.endingAsk;
        case Flag::AdvanceMoves: return o.shell.advanceMoves;
        default: return *BoardFlag(o.board.settings, f);
    }
}

struct Folder {
    const char* key;
    const char* sub;  // default: the data folder + this
};
const Folder kFolders[] = {
    {"OpenDialogDir", "SGF/"},     {"SaveDialogDir", "SGF/"}, {"HtmlOpenDialogDir", "HTML/"},
    {"HtmlSaveDialogDir", "HTML/"}, {"OpenPictureDialogDir", "BMP/"},
};

std::string* FolderOwner(const SettingsOwners& o, int k) {
    std::string* owners[] = {&o.files.openDialogDir, &o.files.saveDialogDir, &o.shell.htmlOpenDialogDir,
                             &o.shell.htmlSaveDialogDir, &o.shell.openPictureDialogDir};
    return owners[k];
}

// A value never carries a line break into the file: it would end its line and start a false one. Nor a
// NUL, which marks a damaged file.
bool Writable(const std::string& value) {
    return value.find_first_of(std::string_view("\r\n\0", 3)) == std::string::npos;
}

void Line(std::string& out, const std::string& key, const std::string& value) {
    out += key + "[" + (Writable(value) ? value : std::string()) + "]" + kCrLf;
}

// "Count[n]", then the entries n down to 1; entries that cannot be written are left out, the rest close up.
void ListLines(std::string& out, const char* countKey, const char* entryKey, const std::string* slots, int count,
               int minimum, const std::string& fallback) {
    std::vector<std::string> entries;
    for (int k = 0; k < count; ++k) {
        if (Writable(slots[k])) entries.push_back(slots[k]);
    }
    if (static_cast<int>(entries.size()) < minimum) entries.push_back(fallback);
    Line(out, countKey, std::to_string(entries.size()));
    for (int k = static_cast<int>(entries.size()); k >= 1; --k) Line(out, entryKey + std::to_string(k), entries[k - 1]);
}

// A whole decimal number with an optional sign; nothing for anything else.
std::optional<int> Decimal(const std::string& text) {
    std::size_t i = (!text.empty() && (text[0] == '+' || text[0] == '-')) ? 1 : 0;
    if (i == text.size() || text.size() - i > 9) return std::nullopt;
    for (std::size_t k = i; k < text.size(); ++k) {
        if (text[k] < '0' || text[k] > '9') return std::nullopt;
    }
    return std::atoi(text.c_str());
}

// The lines of a settings text: the first value of each key that starts a line.
class SettingLines {
public:
    explicit SettingLines(const std::string& text) {
        damaged_ = text.find('\0') != std::string::npos;
        std::size_t start = 0;
        while (start < text.size()) {
            std::size_t end = text.find('\n', start);
            if (end == std::string::npos) end = text.size();
            std::string line = text.substr(start, end - start);
            if (!line.empty() && line.back() == '\r') line.pop_back();
            Take(line);
            start = end + 1;
        }
    }
    bool damaged() const { return damaged_; }
    // The value of a key; nothing when the key is missing or its value empty.
    const std::string* Value(const std::string& key) const {
        const auto it = values_.find(key);
        return it == values_.end() || it->second.empty() ? nullptr : &it->second;
    }

private:
    void Take(const std::string& line) {
        if (line.empty()) return;
        const std::size_t open = line.find('[');
        const std::size_t close = line.rfind(']');
        bool keyOk = open != std::string::npos && open > 0;
        for (std::size_t i = 0; keyOk && i < open; ++i) {
            const unsigned char c = static_cast<unsigned char>(line[i]);
            keyOk = (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
        }
        // A line with a lone CR or a NUL is none the program wrote: it never writes such a value.
        if (!keyOk || close == std::string::npos || close < open || close != line.size() - 1 || !Writable(line)) {
            damaged_ = true;
            return;
        }
        values_.emplace(line.substr(0, open), line.substr(open + 1, close - open - 1));
    }

    std::map<std::string, std::string> values_;
    bool damaged_ = false;
};

// Reads "Count[n]" and its entries into a list; entries missing or empty are skipped and the rest close
// up. A count that is no number leaves the list as it is.
void ReadList(const SettingLines& lines, const char* countKey, const char* entryKey, std::string* slots, int& count,
              int minimum) {
    const std::string* countText = lines.Value(countKey);
    const std::optional<int> n = countText ? Decimal(*countText) : std::nullopt;
    if (!n) return;
    const int wanted = std::max(minimum, std::min(*n, FiveEntryList::kSlots));
    int found = 0;
    for (int k = 1; k <= wanted; ++k) {
        if (const std::string* v = lines.Value(entryKey + std::to_string(k))) slots[found++] = *v;
    }
    count = std::max(found, minimum);
}

}  // namespace

std::string SettingsFolder(const std::string& programFolder) {
    std::string folder = programFolder;
    if (!folder.empty() && folder.back() != '/') folder += '/';
    if (!folder.empty() && ::access(folder.c_str(), W_OK) == 0) return folder;
    const char* config = std::getenv("XDG_CONFIG_HOME");
    if (config && config[0] == '/') return std::string(config) + "/quorvel/";
    const char* home = std::getenv("HOME");
    return std::string(home ? home : "") + "/.config/quorvel/";
}

std::string SettingsFileText(const SettingsOwners& o, const std::string& dataFolder) {
    const Settings& s = o.board.settings;
    const ShellSettings& sh = o.shell;
    std::string out;
    for (const auto& [flag, key] : kFlags) Line(out, key, FlagValue(o, flag) ? "1" : "0");
    out += kCrLf;
    Line(out, "GoBanXY", s.goBanXY);
    Line(out, "AppCodeBase", sh.html.appCodeBase);
    Line(out, "AppWidth", sh.html.appWidth);
    Line(out, "AppHeight", sh.html.appHeight);
    Line(out, "HTMLColor", sh.html.htmlColor);
    Line(out, "TextBMoves", std::to_string(s.textBMoves));
    Line(out, "ChatWindowSize", std::to_string(sh.chatWindowSize));
    Line(out, "MailTo", sh.mail.mailTo);
    Line(out, "MailFrom", sh.mail.mailFrom);
    Line(out, "MailServer", sh.mail.mailServer);
    Line(out, "UserID", sh.mail.userID);
    Line(out, "Attached", sh.mail.attached ? "1" : "0");
    Line(out, "SendPath", sh.sendPath);
    ListLines(out, "PathCount", "Path", sh.sendPaths.entries.data(), sh.sendPaths.count, 1, kDefaultSendUrl);
    ListLines(out, "NetKifuCount", "NetKifu", sh.netKifu.entries.data(), sh.netKifu.count, 0, std::string());
    ListLines(out, "MailToCount", "MailTo", sh.mail.recipients.entries.data(), sh.mail.recipients.count, 0,
              std::string());
    const RecentFiles& recent = o.files.recentFiles;
    ListLines(out, "ItemCount", "Item", recent.paths.data(), recent.count, 0, std::string());
    out += kCrLf;
    for (int k = 0; k < 5; ++k) {
        const std::string& folder = *FolderOwner(o, k);
        Line(out, kFolders[k].key, folder.empty() ? dataFolder + kFolders[k].sub : folder);
    }
    return out;
}

bool ReadSettingsText(const std::string& text, const SettingsOwners& o, const std::string& dataFolder) {
    const SettingLines lines(text);
    Settings& s = o.board.settings;
    ShellSettings& sh = o.shell;
    const auto take = [&lines](const char* key, std::string& into) {
        if (const std::string* v = lines.Value(key)) into = *v;
    };

    for (const auto& [flag, key] : kFlags) {
        const std::string* v = lines.Value(key);
        if (!v) continue;
        const bool on = *v == "1";
        switch (flag) {
            case Flag::ZarnHint:
                // Switched off through the hint command's own toggle, so that its menu check follows.
                if (*v == "0" && o.board.hintsShown) o.board.ToggleHints();
                break;
            case Flag::EndingAsk: o.files.endingAsk = on; break;
            case Flag::AdvanceMoves:
                s.advanceMoves = on;
                sh.advanceMoves = on;
                break;
            default: *BoardFlag(s, flag) = on;
        }
    }
    if (const std::string* v = lines.Value("ChatWindowSize")) sh.chatWindowSize = Decimal(*v).value_or(0);
    if (const std::string* v = lines.Value("Attached")) sh.mail.attached = *v == "1";
    take("AppCodeBase", sh.html.appCodeBase);
    // The page carries these inside its markup: only a colour and plain numbers are taken.
    if (const std::string* v = lines.Value("AppWidth"); v && IsPlainNumber(*v)) sh.html.appWidth = *v;
    if (const std::string* v = lines.Value("AppHeight"); v && IsPlainNumber(*v)) sh.html.appHeight = *v;
    if (const std::string* v = lines.Value("HTMLColor"); v && IsHtmlColour(*v)) sh.html.htmlColor = *v;
    if (const std::string* v = lines.Value("TextBMoves")) {
        const int n = Decimal(*v).value_or(100);
        if (n >= 1 && n <= 99) s.textBMoves = n;
    }
    if (const std::string* v = lines.Value("GoBanXY")) SetCoordinateSystem(s, *v);
    take("MailFrom", sh.mail.mailFrom);
    take("MailServer", sh.mail.mailServer);
    take("UserID", sh.mail.userID);
    take("MailTo", sh.mail.mailTo);
    ReadList(lines, "NetKifuCount", "NetKifu", sh.netKifu.entries.data(), sh.netKifu.count, 0);
    ReadList(lines, "MailToCount", "MailTo", sh.mail.recipients.entries.data(), sh.mail.recipients.count, 0);
    take("SendPath", sh.sendPath);
    ReadList(lines, "PathCount", "Path", sh.sendPaths.entries.data(), sh.sendPaths.count, 1);
    RecentFiles& recent = o.files.recentFiles;
    ReadList(lines, "ItemCount", "Item", recent.paths.data(), recent.count, 0);
    for (int k = 0; k < 5; ++k) {
        const std::string* v = lines.Value(kFolders[k].key);
        *FolderOwner(o, k) = v ? *v : dataFolder + kFolders[k].sub;
    }
    return !lines.damaged();
}

std::string LoadSettingsFile(const std::string& dataFolder, const SettingsOwners& owners) {
    MakeFolders(dataFolder + "SGF");
    MakeFolders(dataFolder + "HTML");
    const std::string path = dataFolder + kSettingsFileName;
    if (!FileExists(path)) return std::string();
    std::string text;
    std::string error;
    if (!ReadWholeFile(path, text, error)) {
        return "設定ファイルを読み込めません。初期設定で起動します。\r\n" + path + "\r\n" + error;
    }
    if (!ReadSettingsText(text, owners, dataFolder)) {
        return "設定ファイルの一部が壊れていて読めません。読めない設定は初期値を使います。\r\n" + path;
    }
    return std::string();
}

std::string SaveSettingsFile(const std::string& dataFolder, const SettingsOwners& owners) {
    const std::string path = dataFolder + kSettingsFileName;
    std::string error;
    if (!MakeFolders(dataFolder) || !WriteFileAtomically(path, SettingsFileText(owners, dataFolder), error)) {
        if (error.empty()) error = "フォルダを作れません。";
        return "設定ファイルを保存できません。前回の設定はそのまま残ります。\r\n" + path + "\r\n" + error;
    }
    return std::string();
}

}  // namespace quorvel
