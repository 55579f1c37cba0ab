// A mutex shared by every process of the user under one name, standing in for a Windows named
// mutex. It lives in a POSIX shared-memory object ("/<name>.<uid>") as a process-shared, robust
// pthread mutex:
//  - an uncontended lock and unlock are a few atomic instructions, no system call;
//  - a timed lock waits at most the given time;
//  - when a holder dies, the next locker inherits it (EOWNERDEAD) and the lock is never lost.
// The mutex is not recursive: locking it twice from one thread fails at once.
#pragma once

#include <chrono>
#include <string>

class NamedMutex {
public:
    enum class LockResult {
        Locked,        // the caller now holds the mutex
        OwnerDied,     // held now; the previous holder died while holding it
        TimedOut,      // another holder kept it for the whole wait
        Failed         // not available (could not be created, or already held by this thread)
    };

    // Opens the mutex, creating the shared object on first use. Check valid() afterwards.
    explicit NamedMutex(const std::string& name);
    ~NamedMutex();
    NamedMutex(const NamedMutex&) = delete;
    NamedMutex& operator=(const NamedMutex&) = delete;

    bool valid() const { return shared_ != nullptr; }
    LockResult lock(std::chrono::milliseconds timeout);
    LockResult tryLock();
    void unlock();

    // Removes the shared object from the namespace (processes that have it open keep using it).
    static void remove(const std::string& name);

private:
    struct Shared;
    Shared* shared_ = nullptr;
};

// Holds a NamedMutex for one scope when the lock succeeded.
class NamedMutexLock {
public:
    NamedMutexLock(NamedMutex& mutex, std::chrono::milliseconds timeout)
        : mutex_(mutex), result_(mutex.lock(timeout)) {}
    ~NamedMutexLock() { if (owns()) mutex_.unlock(); }
    NamedMutexLock(const NamedMutexLock&) = delete;
    NamedMutexLock& operator=(const NamedMutexLock&) = delete;

    bool owns() const {
        return result_ == NamedMutex::LockResult::Locked || result_ == NamedMutex::LockResult::OwnerDied;
    }
    NamedMutex::LockResult result() const { return result_; }

private:
    NamedMutex& mutex_;
    NamedMutex::LockResult result_;
};
