#include "platform/foundation/DistributedNotificationCenter.hpp"

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/dispatch/Queue.hpp"
#include "platform/dispatch/RunLoop.hpp"
#include "platform/testing/TemporaryFolders.hpp"

namespace zelvana::platform {
namespace {

namespace fs = std::filesystem;

struct Seen {
    std::string name;
    std::string object;  // "-" when there was none
    bool onMainThread;
    bool operator==(const Seen&) const = default;
};

class DistributedNotificationCenterTest : public ::testing::Test {
protected:
    // Records what arrives; the observer runs on the main queue.
    DistributedNotificationCenter::Observer recorder(std::vector<Seen>& into) {
        return [&into](const Notification& notification) {
            const auto* object = std::any_cast<std::string>(&notification.object);
            into.push_back({notification.name, object ? *object : "-", isMainThread()});
        };
    }
    // Turns the main loop until the last arrival has the name; the receiver
    // thread hands it over.
    static bool waitFor(const std::vector<Seen>& seen, const std::string& name) {
        return RunLoop::main().runUntil([&] { return !seen.empty() && seen.back().name == name; },
                                        10.0);
    }
    fs::path folder() const { return folders.runtime() / "zelvana" / "notifications"; }

    testing::TemporaryFolders folders;
};

TEST_F(DistributedNotificationCenterTest, DeliversOnTheMainQueueFilteredByNameAndObject) {
    std::vector<Seen> matching;
    std::vector<Seen> everything;
    DistributedNotificationCenter receiver("receiver");
    DistributedNotificationCenter sender("sender");
    const auto ping = receiver.addObserver("ping", "com.quorrim.Zelvana", recorder(matching));
    const auto all = receiver.addObserver("", std::nullopt, recorder(everything));
    ASSERT_TRUE(ping.isActive() && all.isActive());
    EXPECT_EQ(receiver.socketPath(), folder() / (std::to_string(::getpid()) + "-receiver.sock"));

    sender.postNotificationName("ping", "someone else");
    sender.postNotificationName("pong", "com.quorrim.Zelvana");
    sender.postNotificationName("ping");
    sender.postNotificationName("ping", "com.quorrim.Zelvana");
    sender.postNotificationName("done", "");
    EXPECT_TRUE(everything.empty());  // nothing runs until the main queue does

    ASSERT_TRUE(waitFor(everything, "done"));
    EXPECT_EQ(matching, (std::vector<Seen>{{"ping", "com.quorrim.Zelvana", true}}));
    EXPECT_EQ(everything, (std::vector<Seen>{{"ping", "someone else", true},
                                             {"pong", "com.quorrim.Zelvana", true},
                                             {"ping", "-", true},
                                             {"ping", "com.quorrim.Zelvana", true},
                                             {"done", "", true}}));
}

TEST_F(DistributedNotificationCenterTest, PostsBeforeObservingAndAfterRemovalAreLost) {
    std::vector<Seen> kept;
    std::vector<Seen> removed;
    DistributedNotificationCenter receiver("receiver");
    DistributedNotificationCenter sender("sender");
    sender.postNotificationName("early");
    EXPECT_EQ(receiver.socketPath(), std::nullopt);

    const auto keeping = receiver.addObserver("", std::nullopt, recorder(kept));
    auto token = receiver.addObserver("", std::nullopt, recorder(removed));
    sender.postNotificationName("first");
    ASSERT_TRUE(waitFor(kept, "first"));
    token.cancel();
    sender.postNotificationName("second");
    ASSERT_TRUE(waitFor(kept, "second"));

    EXPECT_EQ(kept, (std::vector<Seen>{{"first", "-", true}, {"second", "-", true}}));
    EXPECT_EQ(removed, (std::vector<Seen>{{"first", "-", true}}));
}

TEST_F(DistributedNotificationCenterTest, PostingClearsSocketsOfGoneProcesses) {
    std::vector<Seen> seen;
    DistributedNotificationCenter receiver("receiver");
    const auto observer = receiver.addObserver("", std::nullopt, recorder(seen));
    // A process that no longer exists, and one of ours whose socket closed.
    const fs::path deadProcess = folder() / "999999999.sock";
    std::ofstream(deadProcess) << "";
    const fs::path closedSocket = folder() / (std::to_string(::getpid()) + "-closed.sock");
    const int fd = ::socket(AF_UNIX, SOCK_DGRAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, closedSocket.c_str(), sizeof address.sun_path - 1);
    ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ::close(fd);
    const fs::path unrelated = folder() / "notes.txt";
    std::ofstream(unrelated) << "";

    DistributedNotificationCenter("sender").postNotificationName("hello");

    ASSERT_TRUE(waitFor(seen, "hello"));
    EXPECT_FALSE(fs::exists(deadProcess));
    EXPECT_FALSE(fs::exists(closedSocket));
    EXPECT_TRUE(fs::exists(unrelated));
    const auto own = receiver.socketPath();
    ASSERT_TRUE(own && fs::exists(*own));
}

TEST_F(DistributedNotificationCenterTest, ReachesAnotherProcessAndRemovesItsSocketWhenDestroyed) {
    std::vector<Seen> seen;
    std::optional<fs::path> socket;
    {
        DistributedNotificationCenter receiver("receiver");
        const auto observer =
            receiver.addObserver("com.quorrim.Zelvana.pong", std::nullopt, recorder(seen));
        socket = receiver.socketPath();
        const pid_t child = ::fork();
        if (child == 0) {
            DistributedNotificationCenter("child").postNotificationName("com.quorrim.Zelvana.pong",
                                                                        std::to_string(::getpid()));
            ::_exit(0);
        }
        ASSERT_GT(child, 0);
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(waitFor(seen, "com.quorrim.Zelvana.pong"));
        EXPECT_EQ(seen,
                  (std::vector<Seen>{{"com.quorrim.Zelvana.pong", std::to_string(child), true}}));
    }
    ASSERT_TRUE(socket);
    EXPECT_FALSE(fs::exists(*socket));
}

}  // namespace
}  // namespace zelvana::platform
