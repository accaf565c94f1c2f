#include "platform/appkit/RunningApplication.hpp"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/appkit/Bundle.hpp"
#include "platform/testing/ScopedMainBundle.hpp"
#include "platform/testing/TemporaryFolders.hpp"

namespace zelvana::platform {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> identifiers(const std::vector<RunningApplication>& applications) {
    std::vector<std::string> result;
    for (const auto& application : applications) {
        result.push_back(application.bundleIdentifier().value_or("?"));
    }
    return result;
}

// A child that lives until its pipe is closed.
struct WaitingChild {
    pid_t pid = -1;
    int release = -1;

    WaitingChild() {
        int fds[2];
        if (::pipe(fds) != 0) return;
        pid = ::fork();
        if (pid == 0) {
            ::close(fds[1]);
            char byte;
            [[maybe_unused]] auto ignored = ::read(fds[0], &byte, 1);
            ::_exit(0);
        }
        ::close(fds[0]);
        release = fds[1];
    }
    // Lets it end and waits, without reaping, until it has.
    void end() {
        ::close(release);
        siginfo_t info{};
        ::waitid(P_PID, static_cast<id_t>(pid), &info, WEXITED | WNOWAIT);
    }
    ~WaitingChild() {
        if (release >= 0) ::close(release);
        ::waitpid(pid, nullptr, 0);
    }
};

class RunningApplicationTest : public ::testing::Test {
protected:
    fs::path registry() const { return folders.runtime() / "zelvana" / "running"; }
    testing::TemporaryFolders folders;
    const int self = static_cast<int>(::getpid());
};

TEST_F(RunningApplicationTest, ListsRegisteredProcessesByExactIdentifier) {
    for (const char* identifier :
         {"com.quorrim.Zelvana-Helper", "com.quorrim.Zelvana", "com.quorrim.Zelvana.beta"}) {
        ASSERT_TRUE(RunningApplication::registerProcess(identifier, self, "/apps/Zelvana.app"));
    }
    EXPECT_FALSE(RunningApplication::registerProcess("../escape", self, "/x"));
    EXPECT_FALSE(RunningApplication::registerProcess("", self, "/x"));

    const auto main = RunningApplication::runningApplications("com.quorrim.Zelvana");
    ASSERT_EQ(main.size(), 1u);
    EXPECT_EQ(main[0].processIdentifier(), self);
    EXPECT_EQ(main[0].bundleIdentifier(), "com.quorrim.Zelvana");
    EXPECT_EQ(main[0].bundleURL(), fs::path("/apps/Zelvana.app"));
    EXPECT_FALSE(main[0].isTerminated());
    EXPECT_TRUE(RunningApplication::runningApplications("com.quorrim").empty());
    EXPECT_TRUE(RunningApplication::runningApplications("..").empty());
    EXPECT_EQ(identifiers(RunningApplication::runningApplications()),
              (std::vector<std::string>{"com.quorrim.Zelvana", "com.quorrim.Zelvana-Helper",
                                        "com.quorrim.Zelvana.beta"}));

    RunningApplication::unregisterProcess("com.quorrim.Zelvana", self);
    EXPECT_TRUE(RunningApplication::runningApplications("com.quorrim.Zelvana").empty());
}

TEST_F(RunningApplicationTest, EndedZombieAndReusedProcessesAreStaleAndRemoved) {
    WaitingChild child;
    ASSERT_GT(child.pid, 0);
    ASSERT_TRUE(RunningApplication::registerProcess("com.test.Child", child.pid, "/c.app"));
    ASSERT_EQ(RunningApplication::runningApplications("com.test.Child").size(), 1u);
    child.end();  // a zombie until reaped: it no longer runs
    EXPECT_TRUE(RunningApplication::runningApplications("com.test.Child").empty());
    EXPECT_FALSE(fs::exists(registry() / "com.test.Child" / std::to_string(child.pid)));

    // Our own pid, but a start time that is not ours: the pid was reused.
    fs::create_directories(registry() / "com.test.Reused");
    std::ofstream(registry() / "com.test.Reused" / std::to_string(self)) << "1\n/r.app\n";
    EXPECT_TRUE(RunningApplication::runningApplications("com.test.Reused").empty());
    EXPECT_FALSE(fs::exists(registry() / "com.test.Reused" / std::to_string(self)));
}

TEST_F(RunningApplicationTest, TerminateSendsSigtermOnlyToARealProcess) {
    WaitingChild child;
    ASSERT_GT(child.pid, 0);
    ASSERT_TRUE(RunningApplication::registerProcess("com.test.Child", child.pid, "/c.app"));
    const auto found = RunningApplication::runningApplications("com.test.Child");
    ASSERT_EQ(found.size(), 1u);
    EXPECT_TRUE(found[0].terminate());
    int status = 0;
    ASSERT_EQ(::waitpid(child.pid, &status, 0), child.pid);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGTERM);
    EXPECT_TRUE(found[0].isTerminated());
    EXPECT_FALSE(found[0].terminate());

    EXPECT_FALSE(RunningApplication(0, "x", std::nullopt).terminate());
    EXPECT_FALSE(RunningApplication(-1, "x", std::nullopt).terminate());
}

TEST_F(RunningApplicationTest, CurrentProcessRegistersUnderTheMainBundleIdentifier) {
    {
        testing::ScopedMainBundle bundle({{"CFBundleExecutable", "Nameless"}}, {}, "Nameless");
        EXPECT_FALSE(RunningApplication::registerCurrentProcess());
    }
    testing::ScopedMainBundle bundle({{"CFBundleIdentifier", "com.test.Current"}}, {}, "Current");
    ASSERT_TRUE(RunningApplication::registerCurrentProcess());
    const auto found = RunningApplication::runningApplications("com.test.Current");
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].processIdentifier(), self);
    EXPECT_EQ(found[0].bundleURL(), bundle.bundlePath());
    RunningApplication::unregisterProcess("com.test.Current", self);
}

TEST_F(RunningApplicationTest, FoundByProcessIdentifierSimulatedOursOrRegistered) {
    bool simulatedRuns = true;
    struct Restore {
        RunningApplication::SimulatedLookup previous;
        ~Restore() { RunningApplication::setSimulatedLookup(previous); }
    } restore{
        RunningApplication::setSimulatedLookup([&](int pid) -> std::optional<RunningApplication> {
            if (pid != 4242 || !simulatedRuns) return std::nullopt;
            return RunningApplication::simulated(pid, "com.apple.Safari",
                                                 fs::path("/Applications/Safari.app"));
        })};
    const auto simulated = RunningApplication::withProcessIdentifier(4242);
    ASSERT_TRUE(simulated);
    EXPECT_EQ(simulated->bundleIdentifier(), "com.apple.Safari");
    EXPECT_EQ(simulated->bundleURL(), fs::path("/Applications/Safari.app"));
    EXPECT_FALSE(simulated->isTerminated());
    EXPECT_FALSE(simulated->terminate()) << "its pid may be someone else's";
    simulatedRuns = false;
    EXPECT_TRUE(simulated->isTerminated());
    EXPECT_FALSE(RunningApplication::withProcessIdentifier(4242));

    testing::ScopedMainBundle bundle({{"CFBundleIdentifier", "com.test.Own"}}, {}, "Own");
    const auto own = RunningApplication::withProcessIdentifier(self);
    ASSERT_TRUE(own);
    EXPECT_EQ(own->bundleIdentifier(), "com.test.Own");
    EXPECT_EQ(own->bundleURL(), bundle.bundlePath());

    WaitingChild child;
    ASSERT_GT(child.pid, 0);
    EXPECT_FALSE(RunningApplication::withProcessIdentifier(child.pid)) << "not registered";
    ASSERT_TRUE(RunningApplication::registerProcess("com.test.Child", child.pid, "/c.app"));
    const auto registered = RunningApplication::withProcessIdentifier(child.pid);
    ASSERT_TRUE(registered);
    EXPECT_EQ(registered->bundleURL(), fs::path("/c.app"));
    EXPECT_FALSE(RunningApplication::withProcessIdentifier(0));
    EXPECT_FALSE(RunningApplication::withProcessIdentifier(-1));
}

}  // namespace
}  // namespace zelvana::platform
