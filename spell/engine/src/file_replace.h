// Replacing a file's content safely, and the file identity used to notice changes by others.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <sys/types.h>

namespace orthix {

// The system calls a replacement makes; tests swap them to make each one fail in turn.
struct FileOps {
    ssize_t (*write)(int fd, const void* data, size_t size);
    int (*fsync)(int fd);
    int (*close)(int fd);
    int (*rename)(const char* from, const char* to);
};
FileOps& fileOps();

// What tells one version of a file from another: a write-back always makes a new file, and the
// modification and change times are kept to the nanosecond.
struct FileStamp {
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = -1;
    int64_t modified = 0;  // nanoseconds
    int64_t changed = 0;

    bool operator==(const FileStamp&) const = default;
};
bool stampOf(const std::string& path, FileStamp& stamp);

// Reads the whole file; false when it cannot be opened or read.
bool readWholeFile(const std::string& path, std::string& content, FileStamp& stamp);

// Replaces the file's content: the new content goes to a temporary file in the same directory,
// is flushed to disk and renamed over the file, so the file is at every moment either the
// complete old or the complete new one. A symbolic link is followed and stays a link. Returns 0,
// QLEX_ERR_CREATE (no temporary file) or QLEX_ERR_WRITE; on success `stamp` is the new file's.
int16_t replaceFile(const std::string& path, const std::string& content, FileStamp& stamp);

// An advisory lock on a lexicon file for one synchronise-change-write sequence, shared by every
// process that edits the file. A write-back puts a new file in place, so after taking the lock
// it checks that the name still leads to the locked file and otherwise locks the new one.
class FileLock {
public:
    explicit FileLock(const std::string& path);
    ~FileLock();
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

private:
    int fd_ = -1;
};

} // namespace orthix
