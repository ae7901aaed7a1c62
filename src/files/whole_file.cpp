#include "files/whole_file.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

constexpr size_t READ_CHUNK_BYTES = 64 * 1024;
constexpr int MAX_LINK_HOPS = 40;           // as the kernel allows before ELOOP
constexpr int TEMPORARY_NAME_ATTEMPTS = 100; // names taken by others, or left by a crash

static WholeFile notRead(ReadResult result, const std::string& reason)
{
    WholeFile file;
    file.result = result;
    file.reason = reason;
    return file;
}

static std::string sizeText(size_t bytes)
{
    constexpr size_t KIB = 1024;
    constexpr size_t MIB = KIB * KIB;
    if (bytes % MIB == 0)
        return std::to_string(bytes / MIB) + " MiB";
    if (bytes % KIB == 0)
        return std::to_string(bytes / KIB) + " KiB";
    return std::to_string(bytes) + " bytes";
}

static std::string tooLarge(size_t maxBytes) { return "it is larger than " + sizeText(maxBytes); }

static std::string kindOf(mode_t mode)
{
    if (S_ISDIR(mode))
        return "it is a folder, not a file";
    if (S_ISFIFO(mode))
        return "it is a named pipe, not a file";
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return "it is a device, not a file";
    if (S_ISSOCK(mode))
        return "it is a socket, not a file";
    return "it is not a regular file";
}

std::string whyNotARegularFile(const char* path)
{
    struct stat info;
    if (stat(path, &info) != 0)
        return std::strerror(errno);
    return S_ISREG(info.st_mode) ? std::string() : kindOf(info.st_mode);
}

WholeFile readWholeStream(int fd, size_t maxBytes)
{
    WholeFile file;
    char chunk[READ_CHUNK_BYTES];
    for (;;) {
        const ssize_t got = read(fd, chunk, sizeof chunk);
        if (got == 0)
            return file;
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return notRead(ReadResult::Refused, std::strerror(errno));
        if (file.text.size() + static_cast<size_t>(got) > maxBytes)
            return notRead(ReadResult::Refused, tooLarge(maxBytes));
        file.text.append(chunk, static_cast<size_t>(got));
    }
}

WholeFile readWholeFile(const std::string& path, size_t maxBytes)
{
    struct stat info;
    if (stat(path.c_str(), &info) != 0)
        return notRead(errno == ENOENT ? ReadResult::Missing : ReadResult::Refused, std::strerror(errno));
    if (!S_ISREG(info.st_mode))
        return notRead(ReadResult::Refused, kindOf(info.st_mode));
    if (static_cast<unsigned long long>(info.st_size) > maxBytes)
        return notRead(ReadResult::Refused, tooLarge(maxBytes));
    // Non-blocking, should a pipe have taken the file's place since the check.
    const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return notRead(errno == ENOENT ? ReadResult::Missing : ReadResult::Refused, std::strerror(errno));
    WholeFile file = fstat(fd, &info) == 0 && S_ISREG(info.st_mode)
                         ? readWholeStream(fd, maxBytes)
                         : notRead(ReadResult::Refused, kindOf(info.st_mode));
    close(fd);
    return file;
}

// The folder part of a path, with its slash; empty for a bare name.
static std::string folderOf(const std::string& path)
{
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

// Follows path's links to the file they lead to, which need not exist yet.
static int resolveLinks(const std::string& path, std::string& target)
{
    target = path;
    for (int hop = 0; hop < MAX_LINK_HOPS; ++hop) {
        struct stat info;
        if (lstat(target.c_str(), &info) != 0)
            return errno == ENOENT ? 0 : errno;
        if (!S_ISLNK(info.st_mode))
            return 0;
        char link[PATH_MAX];
        const ssize_t length = readlink(target.c_str(), link, sizeof link);
        if (length < 0)
            return errno;
        if (static_cast<size_t>(length) == sizeof link)
            return ENAMETOOLONG;
        const std::string next(link, static_cast<size_t>(length));
        target = next[0] == '/' ? next : folderOf(target) + next;
    }
    return ELOOP;
}

// A new file beside target that nobody else can be writing: O_EXCL never
// opens an existing name, nor follows a link left in the way.
static int createTemporary(const std::string& target, std::string& name)
{
    for (int attempt = 0; attempt < TEMPORARY_NAME_ATTEMPTS; ++attempt) {
        name = target + ".tmp-" + std::to_string(getpid()) + "-" + std::to_string(attempt);
        const int fd = open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    errno = EEXIST;
    return -1;
}

static int writeAll(int fd, const std::string& text)
{
    size_t done = 0;
    while (done < text.size()) {
        const ssize_t wrote = write(fd, text.data() + done, text.size() - done);
        if (wrote < 0 && errno == EINTR)
            continue;
        if (wrote < 0)
            return errno;
        done += static_cast<size_t>(wrote);
    }
    return 0;
}

// The old file's owner (where allowed) and permissions, set last because
// writing clears set-id bits.
static void takeOwnerAndMode(int fd, const struct stat& old)
{
    if (old.st_uid != geteuid() || old.st_gid != getegid()) {
        // An ordinary user cannot give a file away, only to one of their
        // groups; where neither works the new file is simply theirs.
        if (fchown(fd, old.st_uid, old.st_gid) != 0)
            (void)!fchown(fd, static_cast<uid_t>(-1), old.st_gid);
    }
    fchmod(fd, old.st_mode & 07777);
}

// Writes, flushes and closes the temporary; errno of the first failure.
static int fillTemporary(int fd, const std::string& text, const struct stat* old)
{
    int error = writeAll(fd, text);
    if (error == 0 && old)
        takeOwnerAndMode(fd, *old);
    if (error == 0 && fsync(fd) != 0)
        error = errno;
    if (close(fd) != 0 && error == 0)
        error = errno;
    return error;
}

// So that the rename itself survives a power cut; a folder that cannot be
// synced costs nothing more than before.
static void syncFolder(const std::string& target)
{
    const std::string folder = folderOf(target);
    const int fd = open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    fsync(fd);
    close(fd);
}

FileReplacement replaceFile(const std::string& path, const std::string& text)
{
    FileReplacement result;
    result.error = resolveLinks(path, result.target);
    if (result.error != 0)
        return result;
    struct stat old;
    const bool existed = stat(result.target.c_str(), &old) == 0;
    // Renaming over a file needs only the folder's permission; a file its
    // owner made read-only is left as a plain write would leave it.
    if (existed && faccessat(AT_FDCWD, result.target.c_str(), W_OK, AT_EACCESS) != 0) {
        result.error = errno;
        return result;
    }
    std::string temporary;
    const int fd = createTemporary(result.target, temporary);
    if (fd < 0) {
        result.error = errno;
        return result;
    }
    result.error = fillTemporary(fd, text, existed ? &old : nullptr);
    if (result.error == 0 && std::rename(temporary.c_str(), result.target.c_str()) != 0)
        result.error = errno;
    if (result.error != 0)
        unlink(temporary.c_str());
    else
        syncFolder(result.target);
    return result;
}
