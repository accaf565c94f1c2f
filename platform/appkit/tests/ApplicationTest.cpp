#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "platform/appkit/Application.hpp"
#include "platform/appkit/ProcessInfo.hpp"
#include "platform/dispatch/Queue.hpp"

namespace zelvana::platform {
namespace {

struct RecordingDelegate : ApplicationDelegate {
    std::vector<std::string> calls;
    void applicationDidFinishLaunching() override {
        calls.push_back("didFinishLaunching");
        Application::shared().terminate();
        calls.push_back("terminate returned");
    }
    void applicationWillTerminate() override { calls.push_back("willTerminate"); }
};

class ApplicationTest : public ::testing::Test {
protected:
    void SetUp() override { Application::shared().resetForTesting(); }
    void TearDown() override { Application::shared().resetForTesting(); }
};

TEST_F(ApplicationTest, RunLaunchesThenTerminateEndsTheLoop) {
    RecordingDelegate delegate;
    Application& app = Application::shared();
    app.setDelegate(&delegate);
    EXPECT_EQ(app.run(), 0);
    EXPECT_EQ(delegate.calls, (std::vector<std::string>{"didFinishLaunching", "willTerminate",
                                                        "terminate returned"}));
    EXPECT_TRUE(app.isTerminating());
    app.terminate();  // already terminating: nobody hears it twice
    EXPECT_EQ(delegate.calls.size(), 3u);
}

struct ReleasingDelegate : ApplicationDelegate {
    std::atomic<bool> released{false};
    void applicationWillTerminate() override { released = true; }
};

TEST_F(ApplicationTest, TerminateDrainsQueuedWorkOutsideTheLoop) {
    SerialQueue queue("test.drain");
    ReleasingDelegate delegate;
    Application::shared().setDelegate(&delegate);
    std::atomic<int> done{0};
    constexpr int kItems = 2000;
    // The queue is held up until termination begins, so its work is still
    // pending when terminate has to wait for it.
    queue.async([&] {
        while (!delegate.released) std::this_thread::yield();
    });
    for (int i = 0; i < kItems; ++i) queue.async([&] { done.fetch_add(1); });
    Application::shared().terminate();
    EXPECT_EQ(done.load(), kItems);
}

TEST_F(ApplicationTest, ActivationCountsAndProcessInfoHoldsArguments) {
    Application& app = Application::shared();
    app.activate(true);
    app.activate(false);
    EXPECT_TRUE(app.isActive());
    EXPECT_EQ(app.activationCount(), 2);
    app.deactivate();
    EXPECT_FALSE(app.isActive());

    ProcessInfo& info = ProcessInfo::shared();
    EXPECT_FALSE(info.arguments().empty());  // read from the command line until set
    const auto saved = info.arguments();
    info.setArguments({"Zelvana", "--desktop", "d.json"});
    EXPECT_TRUE(info.hasArgument("--desktop"));
    EXPECT_FALSE(info.hasArgument("d"));
    info.setArguments(saved);
    EXPECT_EQ(info.processIdentifier(), static_cast<int>(::getpid()));
}

}  // namespace
}  // namespace zelvana::platform
