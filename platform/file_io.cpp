#include "platform/file_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "platform/text_codec.h"

namespace quorvel {

namespace {

// The system's reason for a failure, as a text of the program: strerror speaks the locale's encoding.
std::string SystemError(int code) { return Utf8ToCp932(std::strerror(code)); }

// What a name is when it is no regular file, as a reason to give.
std::string KindOf(mode_t mode) {
    if (S_ISFIFO(mode)) return "名前付きパイプ";
    if (S_ISCHR(mode) || S_ISBLK(mode)) return "デバイス";
    if (S_ISSOCK(mode)) return "ソケット";
    return "特殊なファイル";
}

std::string NotReadReason(mode_t mode) {
    if (S_ISDIR(mode)) return "フォルダなので読み込めません。";
    return "通常のファイルではないので読み込めません（" + KindOf(mode) + "）。";
}

std::string TooLong() { return std::to_string(kLongestReadFile >> 20) + " MB を超えるファイルは読み込みません。"; }
// A folder and a file that may not be written get one answer: to the user both are places this save
// may not take.
const char* const kNotWritable = "書き込めるファイルではありません。";

}  // namespace

bool ReadWholeFile(const std::string& path, std::string& bytes, std::string& error) {
    bytes.clear();
    // Without O_NONBLOCK the open of a pipe waits for a writer, which may never come.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        const int code = errno;
        // A socket cannot be opened at all; its kind says more than the system's "no such device".
        struct stat st {};
        error = ::stat(path.c_str(), &st) == 0 && S_ISSOCK(st.st_mode) ? NotReadReason(st.st_mode) : SystemError(code);
        return false;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        const int code = errno;
        ::close(fd);
        error = st.st_mode != 0 ? NotReadReason(st.st_mode) : SystemError(code);
        return false;
    }
    if (static_cast<unsigned long long>(st.st_size) > kLongestReadFile) {
        ::close(fd);
        error = TooLong();
        return false;
    }
    // Read straight into a text of the file's size: a large record is then written to memory once, not
    // copied again at every doubling of a growing text. A file that grows meanwhile (or one of /proc,
    // which has no size) is read to its end, up to the longest file read.
    const std::size_t expected = static_cast<std::size_t>(st.st_size);
    bytes.resize(expected + 1);
    std::size_t used = 0;
    for (;;) {
        if (used == bytes.size()) bytes.resize(std::min(bytes.size() * 2 + (1 << 16), kLongestReadFile + 1));
        const ssize_t n = ::read(fd, &bytes[used], bytes.size() - used);
        if (n < 0) {
            if (errno == EINTR) continue;
            error = SystemError(errno);
            ::close(fd);
            bytes.clear();
            return false;
        }
        if (n == 0) break;
        used += static_cast<std::size_t>(n);
        if (used > kLongestReadFile) {
            error = TooLong();
            ::close(fd);
            bytes.clear();
            return false;
        }
    }
    bytes.resize(used);
    ::close(fd);
    return true;
}

namespace {

// Writes every byte from the file's start, through short writes and interruptions. False with errno set.
bool WriteAll(int fd, const std::string& bytes) {
    std::size_t written = 0;
    while (written < bytes.size()) {
        const ssize_t n = ::pwrite(fd, bytes.data() + written, bytes.size() - written, static_cast<off_t>(written));
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        written += static_cast<std::size_t>(n);
    }
    return true;
}

// The file a path names through symbolic links: a save replaces the file a link points to and leaves
// the link a link. A link to nothing names the file the save then makes. False on a loop of links.
bool FollowLinks(std::string& path) {
    // As many links as the system itself follows before it gives up with ELOOP.
    for (int hops = 0; hops < 40; ++hops) {
        struct stat st {};
        if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return true;
        std::vector<char> target(PATH_MAX + 1);
        const ssize_t n = ::readlink(path.c_str(), target.data(), target.size());
        if (n < 0 || static_cast<std::size_t>(n) >= target.size()) return true;
        const std::string to(target.data(), static_cast<std::size_t>(n));
        path = to[0] == '/' ? to : FolderOf(path) + to;
    }
    errno = ELOOP;
    return false;
}

// A file that can be written in a folder that cannot (a shared folder of records, a mounted share
// whose folder is read-only to this user) takes no temporary file beside it. Refusing would keep the
// user from saving a file the system lets them write, so the new bytes go into the file itself; the old
// bytes are kept in memory and put back when the write fails halfway.
bool WriteInPlace(const std::string& path, const std::string& bytes, std::string& error) {
    std::string old;
    if (!ReadWholeFile(path, old, error)) return false;
    const int fd = ::open(path.c_str(), O_WRONLY | O_CLOEXEC);
    if (fd < 0) {
        error = SystemError(errno);
        return false;
    }
    if (WriteAll(fd, bytes) && ::ftruncate(fd, static_cast<off_t>(bytes.size())) == 0 && ::fsync(fd) == 0) {
        if (::close(fd) == 0) return true;
        error = SystemError(errno);
        return false;
    }
    error = SystemError(errno);
    if (WriteAll(fd, old)) {
        (void)!::ftruncate(fd, static_cast<off_t>(old.size()));
        ::fsync(fd);
    }
    ::close(fd);
    return false;
}

// Whether a save may put a file where `path` (links followed) is: a name not taken yet, or a regular file
// this user may write. rename() would put a regular file in place of a pipe a reader waits on, or of a
// device node when the superuser saves, and the permissions of a write-protected file say "keep" to the
// superuser as much as to its owner, so they are read from the mode and not asked of the system.
bool MayReplace(const std::string& path, std::string& error) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0) return true;
    if (S_ISDIR(st.st_mode)) {
        error = kNotWritable;
        return false;
    }
    if (!S_ISREG(st.st_mode)) {
        error = "通常のファイルではないので書き込みません（" + KindOf(st.st_mode) + "）。";
        return false;
    }
    const bool writable = ::geteuid() == 0 ? (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) != 0
                                           : ::euidaccess(path.c_str(), W_OK) == 0;
    if (!writable) {
        error = kNotWritable;
        return false;
    }
    return true;
}

}  // namespace

bool WriteFileAtomically(const std::string& given, const std::string& bytes, std::string& error) {
    std::string path = given;
    if (!FollowLinks(path)) {
        error = SystemError(errno);
        return false;
    }
    if (!MayReplace(path, error)) return false;
    // The temporary name does not grow with the file's own: a name near the system's limit of 255 bytes
    // must still be saved.
    std::string temp = FolderOf(path) + ".quorvel-XXXXXX";
    std::vector<char> name(temp.begin(), temp.end());
    name.push_back('\0');
    const int fd = ::mkstemp(name.data());
    if (fd < 0) {
        const int code = errno;
        if ((code == EACCES || code == EPERM) && FileExists(path)) return WriteInPlace(path, bytes, error);
        error = SystemError(code);
        return false;
    }
    temp = name.data();
    const auto fail = [&](int code) {
        error = SystemError(code);
        ::close(fd);
        ::unlink(temp.c_str());
        return false;
    };

    // The new file gets the old one's permissions, or the usual ones for a new file.
    struct stat old {};
    mode_t mode;
    if (::stat(path.c_str(), &old) == 0) {
        mode = old.st_mode & 07777;
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    if (::fchmod(fd, mode) != 0) return fail(errno);
    if (!WriteAll(fd, bytes)) return fail(errno);
    if (::fsync(fd) != 0) return fail(errno);
    if (::close(fd) != 0) {
        error = SystemError(errno);
        ::unlink(temp.c_str());
        return false;
    }
    if (::rename(temp.c_str(), path.c_str()) != 0) {
        error = SystemError(errno);
        ::unlink(temp.c_str());
        return false;
    }
    return true;
}

bool FileExists(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool MakeFolders(const std::string& path) {
    for (std::size_t slash = path.find('/', 1); ; slash = path.find('/', slash + 1)) {
        const std::string part = path.substr(0, slash);
        if (!part.empty() && ::mkdir(part.c_str(), 0777) != 0 && errno != EEXIST) return false;
        if (slash == std::string::npos) break;
    }
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::string AbsolutePath(const std::string& path) {
    if (path.empty() || path[0] == '/') return path;
    char* current = ::getcwd(nullptr, 0);
    if (!current) return path;
    std::string folder(current);
    std::free(current);
    if (folder.empty() || folder.back() != '/') folder += '/';
    std::string rest = path;
    while (rest.compare(0, 2, "./") == 0) rest.erase(0, rest.find_first_not_of('/', 1));
    return rest == "." ? folder : folder + rest;
}

std::string FolderOf(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string ExecutableFolder() {
    char* resolved = ::realpath("/proc/self/exe", nullptr);
    if (!resolved) return std::string();
    std::string path(resolved);
    std::free(resolved);
    return path.substr(0, path.find_last_of('/'));
}

}  // namespace quorvel
