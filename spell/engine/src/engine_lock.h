// The engine mutex "QLEX_Mutex", shared by every process using the engine. It guards the handle
// tables; a call that cannot have it within 10,000 ms fails with QLEX_ERR_MUTEX_TIMEOUT.
#pragma once

#include <chrono>

class NamedMutex;

namespace orthix {

class EngineLock {
public:
    EngineLock();
    ~EngineLock() { release(); }
    EngineLock(const EngineLock&) = delete;
    EngineLock& operator=(const EngineLock&) = delete;

    bool owns() const { return owns_; }
    void release();

private:
    NamedMutex& mutex_;
    bool owns_ = false;
};

// Shortens the wait so that tests of the time-out need not take ten seconds.
void setEngineLockTimeout(std::chrono::milliseconds timeout);

} // namespace orthix
