#include "named_mutex.h"

#include <gtest/gtest.h>

#include <string>
#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace std::chrono_literals;
using R = NamedMutex::LockResult;

namespace {

// A fresh name per test so runs never share state with each other or with the engine.
class NamedMutexTest : public ::testing::Test {
protected:
    std::string name = "toolkit_test_mutex_" + std::to_string(getpid()) + "_" +
                       ::testing::UnitTest::GetInstance()->current_test_info()->name();
    void TearDown() override { NamedMutex::remove(name); }

    // Runs `body` in a child process and returns its exit status.
    template <class F> int inChild(F body) {
        pid_t pid = fork();
        if (pid == 0)
            _exit(body());
        int status = 0;
        waitpid(pid, &status, 0);
        return WIFEXITED(status) ? WEXITSTATUS(status) : 100;
    }
};

} // namespace

TEST_F(NamedMutexTest, AnotherProcessTimesOutWhileHeldAndGetsItAfterRelease) {
    NamedMutex m(name);
    ASSERT_TRUE(m.valid());
    ASSERT_EQ(m.lock(1000ms), R::Locked);
    EXPECT_EQ(inChild([&] { NamedMutex c(name); return static_cast<int>(c.lock(100ms)); }),
              static_cast<int>(R::TimedOut));
    m.unlock();
    EXPECT_EQ(inChild([&] {
                  NamedMutex c(name);
                  R r = c.lock(100ms);
                  c.unlock();
                  return static_cast<int>(r);
              }),
              static_cast<int>(R::Locked));
}

TEST_F(NamedMutexTest, AHolderThatDiesHandsTheMutexOn) {
    ASSERT_EQ(inChild([&] {
                  NamedMutex c(name);  // still mapped at exit, as in a crash
                  _exit(c.lock(100ms) == R::Locked ? 0 : 1);
                  return 1;
              }),
              0);
    NamedMutex m(name);
    EXPECT_EQ(m.lock(1000ms), R::OwnerDied);
    m.unlock();
    EXPECT_EQ(m.lock(1000ms), R::Locked);  // consistent again, not lost
    m.unlock();
}

TEST_F(NamedMutexTest, LockingTwiceFromOneThreadFailsInsteadOfHanging) {
    NamedMutex m(name);
    ASSERT_EQ(m.lock(100ms), R::Locked);
    EXPECT_EQ(m.lock(5000ms), R::Failed);
    m.unlock();
}

TEST_F(NamedMutexTest, ProcessesExcludeEachOther) {
    // Two processes do a non-atomic read-modify-write on shared memory under the mutex.
    auto* counter = static_cast<volatile long*>(
        mmap(nullptr, sizeof(long), PROT_READ | PROT_WRITE, MAP_SHARED | MAP_ANONYMOUS, -1, 0));
    ASSERT_NE(counter, MAP_FAILED);
    *counter = 0;
    constexpr int kRounds = 20000;
    auto work = [&] {
        NamedMutex c(name);
        for (int i = 0; i < kRounds; ++i) {
            if (c.lock(5000ms) != R::Locked)
                return 1;
            long v = *counter;
            if (i % 97 == 0)
                sched_yield();
            *counter = v + 1;
            c.unlock();
        }
        return 0;
    };
    pid_t a = fork();
    if (a == 0)
        _exit(work());
    int own = work();
    int status = 0;
    waitpid(a, &status, 0);
    EXPECT_EQ(own, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_EQ(*counter, 2L * kRounds);
    munmap(const_cast<long*>(counter), sizeof(long));
}
