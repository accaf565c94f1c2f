#include <gtest/gtest.h>

#include <memory>
#include <thread>
#include <vector>

#include "platform/core/Flags.hpp"
#include "platform/core/MainThread.hpp"
#include "platform/core/SubscriberList.hpp"
#include "platform/core/Weak.hpp"

namespace zelvana::platform {
namespace {

TEST(SubscriberListTest, AnEntryRemovedByAnEarlierCallbackIsNotCalled) {
    SubscriberList<int> list;
    std::vector<std::string> calls;
    auto second = std::make_unique<Subscription>();
    Subscription first = list.add([&](int) {
        calls.push_back("first");
        second.reset();  // frees the other entry's owner mid-emission
    });
    *second = list.add([&](int) { calls.push_back("second"); });
    list.emit(1);
    EXPECT_EQ(calls, std::vector<std::string>{"first"});
    EXPECT_EQ(list.size(), 1u);
}

TEST(SubscriberListTest, ACallbackMayRemoveItselfAndAddsWaitForTheNextEmission) {
    SubscriberList<> list;
    int selfCalls = 0, addedCalls = 0;
    Subscription self, added;
    self = list.add([&] {
        ++selfCalls;
        self.cancel();
        added = list.add([&] { ++addedCalls; });
    });
    list.emit();
    EXPECT_EQ(selfCalls, 1);
    EXPECT_EQ(addedCalls, 0);
    list.emit();
    EXPECT_EQ(selfCalls, 1);
    EXPECT_EQ(addedCalls, 1);
}

TEST(SubscriberListTest, ATokenMayOutliveItsListAndMovingEndsTheOldRegistration) {
    Subscription token;
    int calls = 0;
    {
        SubscriberList<> list;
        token = list.add([&] { ++calls; });
        Subscription other = list.add([&] { calls += 10; });
        other = list.add([&] { calls += 100; });  // ends the +10 entry
        list.emit();
    }
    EXPECT_EQ(calls, 101);
    token.cancel();  // the list is gone: nothing happens
    EXPECT_FALSE(token.isActive());
}

TEST(WeakRefTest, GoesEmptyWhenTheObjectIsDestroyedOrInvalidated) {
    struct Owner {
        WeakFactory<Owner> weak{this};
    };
    auto owner = std::make_unique<Owner>();
    auto ref = owner->weak.ref();
    EXPECT_EQ(ref.get(), owner.get());
    owner->weak.invalidate();
    EXPECT_EQ(ref.get(), nullptr);
    auto later = owner->weak.ref();
    EXPECT_EQ(later.get(), owner.get());
    owner.reset();
    EXPECT_FALSE(later);
}

TEST(WeakRefTest, ConvertsToABaseThatGoesEmptyWithTheObject) {
    struct Listener {
        virtual ~Listener() = default;
        int heard = 0;
    };
    struct Other {
        virtual ~Other() = default;
        int unused = 0;
    };
    // The listener is the second base, so its pointer differs from the owner's.
    struct Owner : Other, Listener {
        WeakFactory<Owner> weak{this};
    };
    auto owner = std::make_unique<Owner>();
    WeakRef<Listener> listener = owner->weak.ref();
    ASSERT_EQ(listener.get(), static_cast<Listener*>(owner.get()));
    listener.get()->heard = 1;
    EXPECT_EQ(owner->heard, 1);
    owner->weak.invalidate();
    EXPECT_FALSE(listener);
    WeakRef<Listener> again = owner->weak.ref();
    owner.reset();
    EXPECT_FALSE(again);
    EXPECT_FALSE(WeakRef<Listener>(WeakRef<Owner>()));
}

enum class Bits : unsigned { a = 1, b = 4, c = 64 };
ZELVANA_FLAGS(Bits)

TEST(FlagsTest, KeepsTheRawValueAndAnswersMembership) {
    const Flags<Bits> ab = Bits::a | Bits::b;
    EXPECT_EQ(ab.rawValue(), 5u);
    EXPECT_TRUE(ab.contains(Bits::b));
    EXPECT_FALSE(ab.contains(Bits::a | Bits::c));
    EXPECT_TRUE(ab.intersects(Bits::a | Bits::c));
    EXPECT_EQ(ab.without(Bits::a), Flags<Bits>(Bits::b));
    EXPECT_EQ(Flags<Bits>::fromRaw(68), Bits::b | Bits::c);
}

#if !defined(NDEBUG) || defined(ZELVANA_CHECKS)
TEST(MainThreadDeathTest, AnotherThreadAtAMainThreadEntryPointStops) {
    EXPECT_DEATH(
        {
            std::thread worker([] { assertMainThread(); });
            worker.join();
        },
        "must run on the main thread");
}

TEST(MainThreadDeathTest, AWeakRefReadOnAnotherThreadStops) {
    struct Owner {
        WeakFactory<Owner> weak{this};
    } owner;
    const auto ref = owner.weak.ref();
    EXPECT_DEATH(
        {
            std::thread worker([&] { (void)ref.get(); });
            worker.join();
        },
        "must run on the main thread");
}
#endif

}  // namespace
}  // namespace zelvana::platform
