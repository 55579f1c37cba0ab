#include "named_mutex.h"

#include <cerrno>
#include <ctime>
#include <fcntl.h>
#include <pthread.h>
#include <sys/file.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr unsigned kReady = 0x4E4D5458;  // marks a shared object whose mutex is initialised

std::string objectName(const std::string& name) {
    return "/" + name + "." + std::to_string(getuid());
}

} // namespace

struct NamedMutex::Shared {
    pthread_mutex_t mutex;
    unsigned ready;
};

NamedMutex::NamedMutex(const std::string& name) {
    int fd = shm_open(objectName(name).c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0)
        return;
    // Whoever finds the object uninitialised sets it up; flock keeps two first users apart and is
    // released by the kernel if a creator dies half-way, so the next one simply starts again.
    bool ok = flock(fd, LOCK_EX) == 0;
    struct stat st;
    ok = ok && fstat(fd, &st) == 0;
    if (ok && st.st_size < static_cast<off_t>(sizeof(Shared)))
        ok = ftruncate(fd, sizeof(Shared)) == 0;
    void* mem = ok ? mmap(nullptr, sizeof(Shared), PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0) : MAP_FAILED;
    if (mem != MAP_FAILED) {
        auto* shared = static_cast<Shared*>(mem);
        if (shared->ready != kReady) {
            pthread_mutexattr_t attr;
            pthread_mutexattr_init(&attr);
            pthread_mutexattr_setpshared(&attr, PTHREAD_PROCESS_SHARED);
            pthread_mutexattr_setrobust(&attr, PTHREAD_MUTEX_ROBUST);
            pthread_mutexattr_settype(&attr, PTHREAD_MUTEX_ERRORCHECK);
            int rc = pthread_mutex_init(&shared->mutex, &attr);
            pthread_mutexattr_destroy(&attr);
            if (rc == 0)
                shared->ready = kReady;
        }
        if (shared->ready == kReady)
            shared_ = shared;
        else
            munmap(mem, sizeof(Shared));
    }
    flock(fd, LOCK_UN);
    close(fd);
}

NamedMutex::~NamedMutex() {
    if (shared_)
        munmap(shared_, sizeof(Shared));
}

namespace {

NamedMutex::LockResult resultOf(pthread_mutex_t* mutex, int rc) {
    switch (rc) {
    case 0:
        return NamedMutex::LockResult::Locked;
    case EOWNERDEAD:
        pthread_mutex_consistent(mutex);
        return NamedMutex::LockResult::OwnerDied;
    case ETIMEDOUT:
    case EBUSY:
        return NamedMutex::LockResult::TimedOut;
    default:  // EDEADLK (already ours), ENOTRECOVERABLE
        return NamedMutex::LockResult::Failed;
    }
}

} // namespace

NamedMutex::LockResult NamedMutex::tryLock() {
    if (!shared_)
        return LockResult::Failed;
    return resultOf(&shared_->mutex, pthread_mutex_trylock(&shared_->mutex));
}

NamedMutex::LockResult NamedMutex::lock(std::chrono::milliseconds timeout) {
    if (!shared_)
        return LockResult::Failed;
    // The common, uncontended case: glibc takes a free robust mutex with one compare-and-swap (and
    // notes it in the thread's robust list), with no system call and no clock read.
    int rc = pthread_mutex_trylock(&shared_->mutex);
    if (rc != EBUSY)
        return resultOf(&shared_->mutex, rc);
    timespec deadline;
    clock_gettime(CLOCK_REALTIME, &deadline);
    long long ns = deadline.tv_nsec + static_cast<long long>(timeout.count()) * 1000000;
    deadline.tv_sec += static_cast<time_t>(ns / 1000000000);
    deadline.tv_nsec = static_cast<long>(ns % 1000000000);
    do {
        rc = pthread_mutex_timedlock(&shared_->mutex, &deadline);
    } while (rc == EINTR);
    return resultOf(&shared_->mutex, rc);
}

void NamedMutex::unlock() {
    if (shared_)
        pthread_mutex_unlock(&shared_->mutex);
}

void NamedMutex::remove(const std::string& name) {
    shm_unlink(objectName(name).c_str());
}
