// libFuzzer target for the settings file: every input is read as a "Zarn.dat" of a first run is read, then
// written; the written file must read back without complaint to the same settings, and be written the same
// again. Values are kept per line, so whatever a damaged file holds may change what is read but must never
// make the program write a file it cannot read back.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/settings_file.h"
#include "platform/title_registry.h"

namespace {

void Check(bool ok, const char* what, const std::string& detail = std::string()) {
    if (ok) return;
    std::fprintf(stderr, "settings fuzz: %s\n%s\n", what, detail.c_str());
    std::abort();
}

// A program run's owners of the settings, fresh.
struct Run {
    quorvel::MemoryMessageArea messages;
    quorvel::MemoryDialogs dialogs;
    quorvel::Engine board{messages, dialogs};
    quorvel::AnsweredFileDialogs fileDialogs;
    quorvel::TitleRegistry titles{"/nonexistent-quorvel-titles"};
    quorvel::FileCommands files{board, fileDialogs, titles, [](quorvel::Engine&, const std::string&) { return true; }};
    quorvel::ShellSettings shell;
    quorvel::SettingsOwners owners{board, files, shell};
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    const std::string folder = "/data/";
    Run first;
    quorvel::ReadSettingsText(input, first.owners, folder);
    const std::string written = quorvel::SettingsFileText(first.owners, folder);

    Run second;
    Check(quorvel::ReadSettingsText(written, second.owners, folder), "the written file reads as damaged", written);
    const std::string again = quorvel::SettingsFileText(second.owners, folder);
    Check(again == written, "the written file reads back otherwise", written + "\n-- written again --\n" + again);
    return 0;
}
