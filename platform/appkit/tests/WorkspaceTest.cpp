#include "platform/appkit/Workspace.hpp"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <future>
#include <sstream>
#include <string>
#include <vector>

#include "platform/dispatch/Queue.hpp"
#include "platform/dispatch/RunLoop.hpp"
#include "platform/foundation/PropertyListSerialization.hpp"
#include "platform/testing/TemporaryFolders.hpp"

namespace zelvana::platform {
namespace {

namespace fs = std::filesystem;

struct Outcome {
    std::optional<RunningApplication> application;
    std::optional<OpenError> error;
    bool onMainThread = true;
    std::optional<std::string> queue;
};

// Opens and waits for the completion, which comes on another thread.
Outcome openAndWait(Workspace& workspace, const fs::path& bundle,
                    std::vector<std::string> arguments = {}) {
    std::promise<Outcome> promise;
    workspace.openApplication(
        bundle, OpenConfiguration{std::move(arguments)},
        [&](const auto& application, const auto& error) {
            promise.set_value({application, error, isMainThread(), DispatchQueue::currentLabel()});
        });
    auto future = promise.get_future();
    if (future.wait_for(std::chrono::seconds(10)) != std::future_status::ready) {
        ADD_FAILURE() << "no completion";
        return {};
    }
    return future.get();
}

// Everything written into the FIFO until its writer closes it.
std::string readUntilClosed(int fifo) {
    std::string text;
    char buffer[512];
    for (;;) {
        pollfd watched{fifo, POLLIN, 0};
        if (::poll(&watched, 1, 10000) <= 0) return text + "<timed out>";
        const auto count = ::read(fifo, buffer, sizeof buffer);
        if (count > 0) text.append(buffer, static_cast<std::size_t>(count));
        if (count == 0 || (watched.revents & POLLHUP && count <= 0)) return text;
    }
}

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> result;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) result.push_back(line);
    return result;
}

class WorkspaceTest : public ::testing::Test {
protected:
    // <root>/<name>.app running `script` as its program (mode 0755 unless told).
    fs::path makeApp(const std::string& name, const std::string& script,
                     fs::perms mode = fs::perms(0755)) {
        const fs::path bundle = folders.path(name + ".app");
        fs::create_directories(bundle / "Contents" / "MacOS");
        PropertyDictionary info{{"CFBundleIdentifier", "com.test." + name}};
        if (!script.empty()) {
            info["CFBundleExecutable"] = name;
            const fs::path program = bundle / "Contents" / "MacOS" / name;
            std::ofstream(program) << script;
            fs::permissions(program, mode);
        }
        PropertyListSerialization::writeXmlFile(bundle / "Contents" / "Info.plist",
                                                PropertyValue(info));
        return bundle;
    }

    testing::TemporaryFolders folders;
    Workspace workspace;
};

TEST_F(WorkspaceTest, OpensTheBundleProgramDetachedWithArgumentsAndEnvironment) {
    const fs::path fifo = folders.path("probe.fifo");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    ::setenv("ZELVANA_PROBE_FIFO", fifo.c_str(), 1);
    ::setenv("ZELVANA_PROBE_MARK", "inherited", 1);
    const fs::path bundle = makeApp("Probe",
                                    "#!/bin/sh\n"
                                    "exec > \"$ZELVANA_PROBE_FIFO\"\n"
                                    "echo $$\n"
                                    "cut -d' ' -f6 /proc/$$/stat\n"
                                    "echo \"$ZELVANA_PROBE_MARK\"\n"
                                    "printf '%s\\n' \"$@\"\n");
    const int reader = ::open(fifo.c_str(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);

    const Outcome outcome = openAndWait(workspace, bundle, {"--relaunch", "two words"});
    const auto output = lines(readUntilClosed(reader));
    ::close(reader);
    ::unsetenv("ZELVANA_PROBE_FIFO");
    ::unsetenv("ZELVANA_PROBE_MARK");

    ASSERT_FALSE(outcome.error) << outcome.error->localizedDescription;
    ASSERT_TRUE(outcome.application);
    EXPECT_FALSE(outcome.onMainThread);
    EXPECT_EQ(outcome.queue, globalQueue().label());
    EXPECT_EQ(outcome.application->bundleIdentifier(), "com.test.Probe");
    EXPECT_EQ(outcome.application->bundleURL(), bundle);
    ASSERT_EQ(output.size(), 5u);
    EXPECT_EQ(output[0], std::to_string(outcome.application->processIdentifier()));
    EXPECT_NE(output[1], std::to_string(::getsid(0)));  // a session of its own
    EXPECT_EQ(output[2], "inherited");
    EXPECT_EQ(output[3], "--relaunch");
    EXPECT_EQ(output[4], "two words");
    // Neither the program nor the go-between is left as our child.
    errno = 0;
    EXPECT_EQ(::waitpid(-1, nullptr, WNOHANG), -1);
    EXPECT_EQ(errno, ECHILD);
}

TEST_F(WorkspaceTest, ReportsBundlesThatCannotBeOpened) {
    const auto missing = openAndWait(workspace, folders.path("Missing.app"));
    ASSERT_TRUE(missing.error);
    EXPECT_FALSE(missing.application);
    EXPECT_NE(missing.error->localizedDescription.find("could not be found"), std::string::npos);
    EXPECT_TRUE(openAndWait(workspace, fs::path()).error);

    const auto noProgram = openAndWait(workspace, makeApp("Empty", ""));
    ASSERT_TRUE(noProgram.error);
    EXPECT_NE(noProgram.error->localizedDescription.find("no program"), std::string::npos);

    const auto notRunnable =
        openAndWait(workspace, makeApp("Plain", "#!/bin/sh\n", fs::perms(0644)));
    ASSERT_TRUE(notRunnable.error);
    EXPECT_NE(notRunnable.error->localizedDescription.find("Permission denied"), std::string::npos);
    EXPECT_FALSE(notRunnable.onMainThread);
}

TEST_F(WorkspaceTest, AnInjectedOpenerTakesTheRequestsUntilRemoved) {
    std::vector<std::pair<fs::path, std::vector<std::string>>> requests;
    workspace.setApplicationOpener(
        [&](const fs::path& bundle, const OpenConfiguration& configuration, OpenCompletion done) {
            requests.emplace_back(bundle, configuration.arguments);
            done(RunningApplication(42, "com.test.Fake", bundle), std::nullopt);
        });
    bool completed = false;
    workspace.openApplication(
        "/apps/Fake.app", OpenConfiguration{{"--relaunch"}},
        [&](const auto& application, const auto& error) { completed = application && !error; });
    EXPECT_TRUE(completed);
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].first, fs::path("/apps/Fake.app"));
    EXPECT_EQ(requests[0].second, std::vector<std::string>{"--relaunch"});

    EXPECT_TRUE(workspace.setApplicationOpener({}));  // hands back the recorder
    EXPECT_TRUE(openAndWait(workspace, folders.path("Fake.app")).error);
    EXPECT_EQ(requests.size(), 1u);
}

TEST_F(WorkspaceTest, PowerNotificationsArriveOnTheMainQueueOfTheWorkspaceCentre) {
    std::vector<std::string> heard;
    const auto wake = workspace.notificationCenter().addObserver(
        "", [&](const Notification& notification) { heard.push_back(notification.name); });
    const auto other = NotificationCenter::defaultCenter().addObserver(
        Workspace::didWakeNotification,
        [&](const Notification&) { heard.push_back("default centre"); });

    workspace.postDidWakeNotification();
    workspace.postWillPowerOffNotification();
    EXPECT_TRUE(heard.empty());
    RunLoop::main().runPending();
    EXPECT_EQ(heard, (std::vector<std::string>{"NSWorkspaceDidWakeNotification",
                                               "NSWorkspaceWillPowerOffNotification"}));
    EXPECT_NE(&Workspace::shared().notificationCenter(), &NotificationCenter::defaultCenter());
}

TEST_F(WorkspaceTest, IconsAreDrawnFromTheIconName) {
    const Image safari = workspace.iconForFile("/Applications/Safari.app");
    EXPECT_EQ(safari.size(), (Size{32, 32}));
    EXPECT_EQ(safari.pixelAt(16, 16).alpha, 255);
    EXPECT_EQ(safari.pixelAt(0, 0).alpha, 0) << "rounded corners";
    EXPECT_EQ(safari, workspace.iconForFile("/Applications/Safari.app")) << "always the same";
    EXPECT_NE(safari, workspace.iconForFile("/Applications/Mail.app"));
    EXPECT_EQ(safari, workspace.iconForFile("/elsewhere/Safari")) << "a missing file gets one";

    const fs::path notes = makeApp("Notes", "");
    EXPECT_EQ(workspace.iconForFile(notes), workspace.iconForFile("/x/Notes.app"));
    PropertyListSerialization::writeXmlFile(
        notes / "Contents" / "Info.plist",
        PropertyValue(PropertyDictionary{{"CFBundleIconFile", "pad"}}));
    EXPECT_EQ(workspace.iconForFile(notes), workspace.iconForFile("/x/pad.app"));

    workspace.setIconNameLookup([](const fs::path& path) -> std::optional<std::string> {
        if (path == "/Applications/Browser.app") return "Safari";
        return std::nullopt;
    });
    EXPECT_EQ(workspace.iconForFile("/Applications/Browser.app"), safari);
    EXPECT_EQ(workspace.iconForFile(notes), workspace.iconForFile("/x/pad.app"));
    workspace.setIconNameLookup(nullptr);
    EXPECT_NE(workspace.iconForFile("/Applications/Browser.app"), safari);
}

TEST_F(WorkspaceTest, OpenedURLsAreRecordedWhenTheyHaveAScheme) {
    EXPECT_TRUE(workspace.openURL("x-apple.systempreferences:com.apple.preference.security"));
    EXPECT_FALSE(workspace.openURL("no scheme here"));
    EXPECT_FALSE(workspace.openURL(":empty"));
    EXPECT_TRUE(workspace.openURL("https://example.com"));
    EXPECT_EQ(workspace.openedURLs(),
              (std::vector<std::string>{"x-apple.systempreferences:com.apple.preference.security",
                                        "https://example.com"}));
    workspace.clearOpenedURLsForTesting();
    EXPECT_TRUE(workspace.openedURLs().empty());
}

}  // namespace
}  // namespace zelvana::platform
