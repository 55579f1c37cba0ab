#include "file_replace.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "log.h"
#include "qlex.h"

namespace orthix {

FileOps& fileOps() {
    static FileOps ops{::write, ::fsync, ::close, ::rename};
    return ops;
}

namespace {

FileStamp stampFrom(const struct stat& st) {
    FileStamp s;
    s.device = st.st_dev;
    s.inode = st.st_ino;
    s.size = st.st_size;
    s.modified = static_cast<int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
    s.changed = static_cast<int64_t>(st.st_ctim.tv_sec) * 1000000000 + st.st_ctim.tv_nsec;
    return s;
}

bool writeAll(int fd, const std::string& content) {
    std::size_t done = 0;
    while (done < content.size()) {
        ssize_t n = fileOps().write(fd, content.data() + done, content.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

// The file a name finally leads to, so that replacing it keeps a symbolic link a link.
std::string targetOf(const std::string& path) {
    char resolved[PATH_MAX];
    return realpath(path.c_str(), resolved) ? std::string(resolved) : path;
}

std::string directoryOf(const std::string& path) {
    std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
}

} // namespace

bool stampOf(const std::string& path, FileStamp& stamp) {
    struct stat st;
    if (stat(path.c_str(), &st) != 0)
        return false;
    stamp = stampFrom(st);
    return true;
}

bool readWholeFile(const std::string& path, std::string& content, FileStamp& stamp) {
    int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct stat st;
    bool ok = fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
    content.clear();
    char chunk[65536];
    while (ok) {
        ssize_t n = read(fd, chunk, sizeof chunk);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            ok = false;
        if (n <= 0)
            break;
        content.append(chunk, static_cast<std::size_t>(n));
    }
    if (ok)
        stamp = stampFrom(st);
    ::close(fd);
    return ok;
}

int16_t replaceFile(const std::string& path, const std::string& content, FileStamp& stamp) {
    std::string target = targetOf(path);
    std::string dir = directoryOf(target);
    // A short name, so that a lexicon whose own name is near the length limit can still be written.
    std::string temp = dir + "/.qlex.XXXXXX";
    int fd = mkostemp(temp.data(), O_CLOEXEC);
    if (fd < 0) {
        logLine("Can't open %s for writing", temp.c_str());
        return QLEX_ERR_CREATE;
    }
    struct stat old;
    if (stat(target.c_str(), &old) == 0)
        fchmod(fd, old.st_mode & 07777);  // the new file keeps the old one's permissions

    struct stat written;
    bool ok = writeAll(fd, content) && fileOps().fsync(fd) == 0 && fstat(fd, &written) == 0;
    if (!ok) {
        logLine("%s: file write err", temp.c_str());
        fileOps().close(fd);
        unlink(temp.c_str());
        return QLEX_ERR_WRITE;
    }
    if (fileOps().close(fd) != 0) {
        logLine("%s: file write err", temp.c_str());
        unlink(temp.c_str());
        return QLEX_ERR_WRITE;
    }
    if (fileOps().rename(temp.c_str(), target.c_str()) != 0) {
        logLine("can't rename %s to %s", temp.c_str(), target.c_str());
        unlink(temp.c_str());
        return QLEX_ERR_WRITE;
    }
    // Make the rename itself durable; the new content is in place whatever this answers.
    int dirFd = open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd >= 0) {
        fileOps().fsync(dirFd);
        ::close(dirFd);
    }
    if (!stampOf(target, stamp))  // renaming touched the change time
        stamp = stampFrom(written);
    return 0;
}

FileLock::FileLock(const std::string& path) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0)
            return;
        int rc;
        while ((rc = flock(fd, LOCK_EX)) != 0 && errno == EINTR) {
        }
        struct stat locked, named;
        if (rc == 0 && fstat(fd, &locked) == 0 && stat(path.c_str(), &named) == 0 &&
            locked.st_dev == named.st_dev && locked.st_ino == named.st_ino) {
            fd_ = fd;
            return;
        }
        ::close(fd);  // replaced while we waited: lock the file now in place
    }
}

FileLock::~FileLock() {
    if (fd_ >= 0)
        ::close(fd_);  // closing releases the lock
}

} // namespace orthix
