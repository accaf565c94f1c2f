#include "KeyboardShortcuts/ObjectAssociation.hpp"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "platform/appkit/MenuItem.hpp"
#include "platform/appkit/View.hpp"

namespace zelvana::keyboardshortcuts::test {
namespace {

// Counts its own end, to see when an object lets go of it.
struct Tracked {
    explicit Tracked(int* ends) : ends(ends) {}
    Tracked(const Tracked&) = default;
    ~Tracked() { ++*ends; }
    int* ends;
    std::string text;
};

TEST(ObjectAssociationTest, EachSlotHoldsOneValuePerObject) {
    const ObjectAssociation<std::string> first;
    const ObjectAssociation<std::string> second;
    platform::MenuItem item;
    platform::View view;
    first.set(item, std::make_shared<std::string>("item"));
    first.set(view, std::make_shared<std::string>("view"));
    second.set(item, std::make_shared<std::string>("other slot"));

    EXPECT_EQ(*first.get(item), "item");
    EXPECT_EQ(*first.get(view), "view");
    EXPECT_EQ(*second.get(item), "other slot");
    EXPECT_EQ(second.get(view), nullptr);
    first.set(item, nullptr);
    EXPECT_EQ(first.get(item), nullptr);
    EXPECT_EQ(*second.get(item), "other slot");
}

TEST(ObjectAssociationTest, ARetainedValueLivesExactlyAsLongAsItsObject) {
    int ends = 0;
    const ObjectAssociation<Tracked> slot(AssociationPolicy::retainNonatomic);
    auto item = std::make_unique<platform::MenuItem>();
    slot.set(*item, std::make_shared<Tracked>(&ends));
    EXPECT_NE(slot.get(*item), nullptr) << "the caller's reference is gone; the item keeps it";
    EXPECT_EQ(ends, 0);
    item.reset();
    EXPECT_EQ(ends, 1);

    item = std::make_unique<platform::MenuItem>();
    slot.set(*item, std::make_shared<Tracked>(&ends));
    slot.set(*item, std::make_shared<Tracked>(&ends));
    EXPECT_EQ(ends, 2) << "replacing a value releases the old one";
}

TEST(ObjectAssociationTest, AssignHoldsNothingAndCopyKeepsItsOwn) {
    int ends = 0;
    platform::MenuItem item;
    const ObjectAssociation<Tracked> assigned(AssociationPolicy::assign);
    auto kept = std::make_shared<Tracked>(&ends);
    assigned.set(item, kept);
    EXPECT_EQ(assigned.get(item), kept);
    kept.reset();
    EXPECT_EQ(assigned.get(item), nullptr);

    const ObjectAssociation<Tracked> copied(AssociationPolicy::copy);
    auto original = std::make_shared<Tracked>(&ends);
    original->text = "before";
    copied.set(item, original);
    original->text = "after";
    EXPECT_EQ(copied.get(item)->text, "before");
}

}  // namespace
}  // namespace zelvana::keyboardshortcuts::test
