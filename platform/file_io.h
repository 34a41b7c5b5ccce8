// Whole-file reads and safe writes. A write goes to a temporary file in the same folder, which is renamed
// into place only when every byte is on disk, so a failed save never harms the file it would replace.
#pragma once

#include <cstddef>
#include <string>

namespace quorvel {

// No record, settings file or chat log comes near this size; a file beyond it is not read at all, so that
// a mistaken name (a disk image, a link to /dev/zero) cannot fill the memory.
constexpr std::size_t kLongestReadFile = std::size_t{256} << 20;

// Reads the whole file as bytes. Only a regular file (or a link to one) is read: a pipe, a device, a socket
// or a folder is refused at once, without waiting for a writer, as is a file over kLongestReadFile. False
// (with a reason in `error`, a text of the program) when it cannot be read.
bool ReadWholeFile(const std::string& path, std::string& bytes, std::string& error);

// Replaces the file with `bytes`. False (with a reason in `error`, a text of the program) when it could not
// be written; the old file, if any, is then unchanged and no temporary file is left behind. A symbolic link
// stays a link and its target takes the bytes. Only a regular file or a name not taken yet is written: a
// pipe, a device or a socket stays as it is, and a folder or a file whose permissions forbid this user to
// write it is refused alike, by the superuser too. A file that can be written in a folder that cannot is
// written in place.
bool WriteFileAtomically(const std::string& path, const std::string& bytes, std::string& error);

bool FileExists(const std::string& path);

// Creates a folder and the folders above it that are missing. True when it exists afterwards.
bool MakeFolders(const std::string& path);

// A path made absolute against the current folder (kept as it is when absolute or empty), so that it
// names the same file whatever folder the program or a later run is in.
std::string AbsolutePath(const std::string& path);

// The folder part of a path, with its trailing "/"; empty for a bare name.
std::string FolderOf(const std::string& path);

// The folder of the running program's executable, links resolved, without a trailing "/" (as Qt names
// the application's folder); empty when the system does not say.
std::string ExecutableFolder();

}  // namespace quorvel
