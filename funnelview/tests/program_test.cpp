// The funnelview program itself: its window stays up on good data; bad data and a malformed
// command line end it with a message and their exit status.
#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <spawn.h>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

extern char **environ;

namespace {

struct Started {
    pid_t pid = -1;
    std::string error_file;
};

// Starts funnelview offscreen with its standard error in a file.
Started start(const std::vector<std::string> &arguments) {
    Started run;
    run.error_file = ::testing::TempDir() + "funnelview_stderr_" + std::to_string(getpid()) + ".txt";
    std::string program = std::string(std::getenv("TOOLKIT_BUILD")) + "/bin/funnelview";
    std::vector<char *> argv{program.data()};
    std::vector<std::string> args = arguments;
    for (std::string &a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 2, run.error_file.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    EXPECT_EQ(posix_spawn(&run.pid, program.c_str(), &actions, nullptr, argv.data(), environ), 0);
    posix_spawn_file_actions_destroy(&actions);
    return run;
}

// The exit status once the program ends within the time, or -1 while it still runs.
int wait_for(const Started &run, std::chrono::milliseconds limit) {
    auto end = std::chrono::steady_clock::now() + limit;
    int status = 0;
    while (std::chrono::steady_clock::now() < end) {
        if (waitpid(run.pid, &status, WNOHANG) == run.pid)
            return WIFEXITED(status) ? WEXITSTATUS(status) : 128;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return -1;
}

std::string errors_of(const Started &run) {
    std::ifstream in(run.error_file);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string data_file(const char *name) {
    return std::string(SOURCE_DIR) + "/funnelview/tests/data/" + name;
}

TEST(Program, OpensItsWindowOnGoodData) {
    ASSERT_NE(std::getenv("TOOLKIT_BUILD"), nullptr);
    Started window = start({data_file("bcg_rr.txt")});
    EXPECT_EQ(wait_for(window, std::chrono::milliseconds(1500)), -1) << errors_of(window);
    kill(window.pid, SIGKILL);
    waitpid(window.pid, nullptr, 0);
}

TEST(Program, BadDataAndBadCommandLinesEndWithTheirStatus) {
    ASSERT_NE(std::getenv("TOOLKIT_BUILD"), nullptr);
    Started bad = start({data_file("bad.txt")});
    EXPECT_EQ(wait_for(bad, std::chrono::seconds(30)), 1);
    EXPECT_NE(errors_of(bad).find("bad.txt: line 4: a ratio must be positive"), std::string::npos)
        << errors_of(bad);

    const std::vector<std::string> usages[] = {
        {"--export"}, {"--export", "plot.bmp", "x"}, {"a", "b"}, {"--size"}};
    for (const auto &arguments : usages) {
        Started usage = start(arguments);
        EXPECT_EQ(wait_for(usage, std::chrono::seconds(30)), 2) << arguments[0];
    }
}

} // namespace
