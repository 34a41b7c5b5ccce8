// The record named on the command line, read and loaded on a thread of its own from the first moment of
// the program, while Qt starts and the windows are built: a start then waits for both at once, on two
// cores, and the windows are first painted with the record in them.
#pragma once

#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "app/file_commands.h"

namespace quorvel {

// The record path a command line names (the arguments after the program's name): one argument as it
// is, two joined with one blank (a path with a blank split in two), of three or more the first; empty
// without arguments.
std::string RecordPathOf(const std::vector<std::string>& arguments);

class StartupRecord {
public:
    // Starts reading the settings file of `settingsFolder` into an engine of its own and then the record
    // `path` into that engine. An empty path starts nothing.
    StartupRecord(std::string path, std::string settingsFolder);
    // Waits for the thread.
    ~StartupRecord();
    StartupRecord(const StartupRecord&) = delete;
    StartupRecord& operator=(const StartupRecord&) = delete;

    // Waits for the load and gives its record once: when it was read from `path` with the settings of
    // `settingsFolder`, held a record and asked the user nothing. Otherwise nothing: the record is then
    // opened by name as any other, which says what is wrong with it once the windows are there.
    std::unique_ptr<RecordLoadedAhead> Take(const std::string& path, const std::string& settingsFolder);

private:
    void Load();

    std::string path_;
    std::string settingsFolder_;
    std::unique_ptr<RecordLoadedAhead> loaded_;  // set by the thread when the load can be used
    std::thread thread_;
};

}  // namespace quorvel
