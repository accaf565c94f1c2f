// The relaunch across the two built programs: Zelvana wakes, starts its
// helper, quits on the helper's pong and is started again with "--relaunch".
// Real processes and real time: every wait is polled and bounded.
#include <gtest/gtest.h>
#include <signal.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "platform/appkit/RunningApplication.hpp"
#include "platform/foundation/UserDefaults.hpp"
#include "platform/testing/ProgramRun.hpp"
#include "platform/testing/TemporaryFolders.hpp"

namespace zelvana::core::test {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

const fs::path kProgram = fs::path(ZELVANA_APP_PATH) / "Contents/MacOS/Zelvana";

std::vector<std::string> commandLine(pid_t pid) {
    std::ifstream file("/proc/" + std::to_string(pid) + "/cmdline");
    std::vector<std::string> arguments;
    std::string argument;
    while (std::getline(file, argument, '\0')) arguments.push_back(argument);
    return arguments;
}

bool contains(const std::vector<std::string>& list, const std::string& item) {
    return std::find(list.begin(), list.end(), item) != list.end();
}

class RelaunchEndToEndTest : public ::testing::Test {
protected:
    ~RelaunchEndToEndTest() override {
        // The helper and a relaunched Zelvana are nobody's children here.
        for (const pid_t pid : seen_) ::kill(pid, SIGKILL);
    }

    // Gestures on, relaunch on wake chosen, 1.9 s that the helper gets as 1.
    void prepareSettings() const {
        platform::UserDefaults preferences("com.quorrim.Zelvana");
        preferences.set("gesture", 1);
        preferences.set("autoRestartOnWake", 1);
        preferences.set("restartOnWakeDelay", 1.9);
        ASSERT_TRUE(preferences.synchronize());
    }

    // Zelvana with the script; all three programs write to one output file.
    void startZelvana(const std::string& script) {
        const fs::path scriptFile = folders_.path("wake.script");
        std::ofstream(scriptFile) << script;
        zelvana_ = std::make_unique<platform::testing::ProgramRun>(
            kProgram, std::vector<std::string>{"--script", scriptFile.string()},
            folders_.path("output.txt"));
        ASSERT_TRUE(zelvana_->started()) << "cannot start " << kProgram;
    }

    // Polls every 20 ms, noting the programs that show up on the way.
    bool waitFor(const std::function<bool()>& done, std::chrono::milliseconds limit) {
        const auto deadline = Clock::now() + limit;
        for (;;) {
            noteRunningPrograms();
            if (done()) return true;
            if (Clock::now() >= deadline) return false;
            std::this_thread::sleep_for(20ms);
        }
    }

    bool zelvanaHasExited() { return zelvana_->waitForExit(0ms).has_value(); }

    // A Zelvana other than the one we started, launched with "--relaunch".
    bool relaunchedZelvanaSeen() const { return relaunched_ > 0; }

    // What the first Zelvana printed, then what the programs it started wrote
    // to their log files.
    std::string output() const {
        return zelvana_->output() + logOf("Zelvana Helper") + logOf("Zelvana");
    }
    std::string logOf(const std::string& program) const {
        std::ifstream file(folders_.cache() / "zelvana/Logs" / (program + ".log"));
        return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    }
    std::string firstOutput() const { return zelvana_->output(); }
    bool printed(const std::string& text) const { return output().find(text) != std::string::npos; }
    bool zelvanaExitedCleanly() const { return zelvana_->exitedCleanly(); }

private:
    void noteRunningPrograms() {
        for (const auto& helper :
             platform::RunningApplication::runningApplications("com.quorrim.Zelvana-Helper")) {
            seen_.insert(helper.processIdentifier());
        }
        for (const auto& main :
             platform::RunningApplication::runningApplications("com.quorrim.Zelvana")) {
            const pid_t pid = main.processIdentifier();
            if (pid == zelvana_->pid()) continue;
            seen_.insert(pid);
            if (contains(commandLine(pid), "--relaunch")) relaunched_ = pid;
        }
    }

    platform::testing::TemporaryFolders folders_;
    std::unique_ptr<platform::testing::ProgramRun> zelvana_;
    pid_t relaunched_ = 0;
    std::set<pid_t> seen_;
};

TEST_F(RelaunchEndToEndTest, WakingRelaunchesZelvanaThroughTheHelper) {
    ASSERT_TRUE(fs::exists(kProgram)) << kProgram;
    prepareSettings();
    // Without the helper's pong the script would keep Zelvana up for 20 s.
    startZelvana("wake\nwait 20000\n");

    ASSERT_TRUE(waitFor([&] { return zelvanaHasExited(); }, 10s))
        << "Zelvana did not quit on the pong:\n"
        << output();
    EXPECT_TRUE(zelvanaExitedCleanly()) << output();
    // The helper logs through its own queue: its lines may land after Zelvana is gone.
    EXPECT_TRUE(waitFor([&] { return printed("Pong sent"); }, 5s)) << output();
    EXPECT_TRUE(waitFor([&] { return printed("Relaunching Zelvana app after seconds: 1"); }, 5s))
        << output();

    ASSERT_TRUE(waitFor([&] { return relaunchedZelvanaSeen(); }, 8s))
        << "no Zelvana with --relaunch:\n"
        << output();
    EXPECT_TRUE(firstOutput().ends_with("relaunch: in 1 s\nquit\n")) << firstOutput();
    // The new Zelvana finds the helper still running and tells it to go.
    EXPECT_TRUE(waitFor([&] { return printed("Received terminate notification"); }, 5s))
        << output();
    // Started without a terminal, the new copy writes to its log, not to ours.
    EXPECT_TRUE(waitFor([&] { return logOf("Zelvana").find("quit") != std::string::npos; }, 10s))
        << output();
    EXPECT_TRUE(firstOutput().ends_with("relaunch: in 1 s\nquit\n")) << firstOutput();
}

}  // namespace
}  // namespace zelvana::core::test
