#include "platform/foundation/NotificationCenter.hpp"

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace zelvana::platform {
namespace {

TEST(NotificationCenterTest, DeliversMatchingNamesInRegistrationOrder) {
    NotificationCenter center;
    std::vector<std::string> calls;
    const auto first = center.addObserver("A", [&](const Notification& n) {
        calls.push_back("first " + n.name + " " + std::any_cast<std::string>(n.object));
    });
    const auto any =
        center.addObserver("", [&](const Notification& n) { calls.push_back("any " + n.name); });
    const auto third = center.addObserver("A", [&](const Notification& n) {
        calls.push_back("third " + std::to_string(std::any_cast<int>(n.userInfo.at("count"))));
    });

    center.post(Notification{"A", std::string("object"), {{"count", 3}}});
    center.post("B");

    EXPECT_EQ(calls, (std::vector<std::string>{"first A object", "any A", "third 3", "any B"}));
}

TEST(NotificationCenterTest, ObserversChangedFromInsideACallback) {
    NotificationCenter center;
    std::vector<std::string> calls;
    auto second = std::make_unique<Subscription>();
    Subscription self, added;
    self = center.addObserver("N", [&](const Notification&) {
        calls.push_back("first");
        second.reset();  // frees the other observer's token mid-post
        self.cancel();
        added = center.addObserver("N", [&](const Notification&) { calls.push_back("added"); });
    });
    *second = center.addObserver("N", [&](const Notification&) { calls.push_back("second"); });

    center.post("N");
    EXPECT_EQ(calls, (std::vector<std::string>{"first"}));

    center.post("N");
    EXPECT_EQ(calls, (std::vector<std::string>{"first", "added"}));
}

TEST(NotificationCenterTest, TheTokenEndsTheObserverWhenDestroyedOrMovedOver) {
    NotificationCenter center;
    int calls = 0;
    {
        Subscription outer = center.addObserver("N", [&](const Notification&) { calls += 10; });
        outer = center.addObserver("N", [&](const Notification&) { ++calls; });
        center.post("N");
        EXPECT_EQ(calls, 1);
    }
    center.post("N");
    EXPECT_EQ(calls, 1);
}

#if !defined(NDEBUG) || defined(ZELVANA_CHECKS)
TEST(NotificationCenterDeathTest, AThrowingObserverStopsTheProgramNamingWhatItObserves) {
    NotificationCenter center;
    const auto throwing =
        center.addObserver("N", [](const Notification&) { throw std::runtime_error("boom"); });
    EXPECT_DEATH(center.post("N"), "observer of \"N\" threw: boom");
}
#else
TEST(NotificationCenterTest, AThrowingObserverIsLoggedAndTheOthersStillHear) {
    NotificationCenter center;
    bool later = false;
    const auto throwing =
        center.addObserver("N", [](const Notification&) { throw std::runtime_error("boom"); });
    const auto next = center.addObserver("N", [&](const Notification&) { later = true; });

    testing::internal::CaptureStderr();
    center.post("N");

    EXPECT_EQ(testing::internal::GetCapturedStderr(), "zelvana: observer of \"N\" threw: boom\n");
    EXPECT_TRUE(later);
}
#endif

TEST(NotificationCenterTest, PostsAndRegistrationsFromManyThreads) {
    NotificationCenter center;
    std::atomic<int> delivered{0};
    const auto counting = center.addObserver("N", [&](const Notification&) { ++delivered; });

    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&] {
            for (int i = 0; i < 200; ++i) {
                const auto other = center.addObserver("other", [](const Notification&) {});
                center.post("N");
            }
        });
    }
    for (auto& thread : threads) thread.join();

    EXPECT_EQ(delivered, 800);
}

}  // namespace
}  // namespace zelvana::platform
