#include "engine_lock.h"

#include <atomic>

#include "log.h"
#include "named_mutex.h"

namespace orthix {

namespace {

std::atomic<long> timeoutMs{10000};

NamedMutex& engineMutex() {
    // Never unmapped: a thread may hold it while the process exits.
    static NamedMutex* mutex = new NamedMutex("QLEX_Mutex");
    return *mutex;
}

} // namespace

EngineLock::EngineLock() : mutex_(engineMutex()) {
    NamedMutex::LockResult r = mutex_.lock(std::chrono::milliseconds(timeoutMs.load()));
    owns_ = r == NamedMutex::LockResult::Locked || r == NamedMutex::LockResult::OwnerDied;
    if (r == NamedMutex::LockResult::OwnerDied)
        logLine("QLEX_Mutex: previous holder died; taken over");
    else if (!owns_)
        logLine("QLEX_Mutex: not obtained within %ld ms", timeoutMs.load());
}

void EngineLock::release() {
    if (owns_)
        mutex_.unlock();
    owns_ = false;
}

void setEngineLockTimeout(std::chrono::milliseconds timeout) { timeoutMs = static_cast<long>(timeout.count()); }

} // namespace orthix
