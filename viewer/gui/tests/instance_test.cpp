// One instance at a time, with real processes of the program: a second start is refused, a killed
// first instance does not block the next, and the batch modes run beside an open window.
#include "gui_fixture.h"
#include "named_mutex.h"

#include <QProcess>
#include <QProcessEnvironment>
#include <QTest>

#include <gtest/gtest.h>

#include <csignal>
#include <unistd.h>

namespace {

struct Instances : ::testing::Test {
    Instances() { ensure_application(); }
    ~Instances() override {
        for (QProcess *p : {&first, &third})
            if (p->state() != QProcess::NotRunning) {
                p->kill();
                p->waitForFinished();
            }
        NamedMutex::remove(lock_name.toStdString());
    }

    QString program() const { return QString(std::getenv("TOOLKIT_BUILD")) + "/bin/orvantaiv"; }

    void start(QProcess &p, const QStringList &arguments) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "offscreen");
        env.insert("ORVANTAIV_LOCK_NAME", lock_name);
        p.setProcessEnvironment(env);
        p.start(program(), arguments);
        ASSERT_TRUE(p.waitForStarted()) << p.errorString().toStdString();
    }

    // True once some process holds the lock. A probe that finds it free lets go at once.
    bool lock_taken() {
        NamedMutex probe(lock_name.toStdString());
        NamedMutex::LockResult r = probe.tryLock();
        if (r == NamedMutex::LockResult::Locked || r == NamedMutex::LockResult::OwnerDied) probe.unlock();
        return r == NamedMutex::LockResult::TimedOut;
    }

    // Starts an instance that holds the lock; tries again in the rare case that the probe held the
    // lock at the very moment the instance asked for it.
    void start_holding_instance(QProcess &p) {
        for (int attempt = 0; attempt < 3; ++attempt) {
            start(p, {example_review("bcg.ORV")});
            for (int i = 0; i < 600 && p.state() == QProcess::Running; ++i) { // 30 s
                if (lock_taken()) return;
                QTest::qWait(50);
            }
            p.kill();
            p.waitForFinished();
        }
        FAIL() << "the instance never took the lock: " << p.readAllStandardError().toStdString();
    }

    QString lock_name = QString("ORVANTAIV_TEST_%1").arg(getpid());
    QProcess first, second, third;
};

TEST_F(Instances, ASecondStartIsRefusedAndAKilledFirstDoesNotBlock) {
    ASSERT_NE(std::getenv("TOOLKIT_BUILD"), nullptr);
    start_holding_instance(first);
    ASSERT_FALSE(HasFatalFailure());

    start(second, {});
    ASSERT_TRUE(second.waitForFinished(20000));
    EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second.exitCode(), 1);
    EXPECT_TRUE(second.readAllStandardError().contains(
        "Orvanta 4.1: Sorry, Only one Orvanta can exist at one time\n"));

    // The batch modes take no lock.
    QProcess dump;
    start(dump, {"--dump", example_review("bcg.ORV")});
    ASSERT_TRUE(dump.waitForFinished(20000));
    EXPECT_EQ(dump.exitCode(), 0);
    EXPECT_TRUE(dump.readAllStandardOutput().startsWith("review\tBCG vaccine"));

    // Killed while holding the lock: the next instance takes it over and runs.
    ::kill(static_cast<pid_t>(first.processId()), SIGKILL);
    ASSERT_TRUE(first.waitForFinished(20000));
    start_holding_instance(third);
}

} // namespace
