#include "platform/declarative/HostingView.hpp"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/appkit/TextField.hpp"
#include "platform/declarative/State.hpp"
#include "platform/dispatch/Clock.hpp"

namespace zelvana::platform {
namespace {

using Description = ViewDescription;

// The frame of the text field showing `text`, in the host's coordinates.
Rect frameOf(HostingView& host, const std::string& text) {
    std::vector<View*> pending{&host};
    while (!pending.empty()) {
        View* view = pending.back();
        pending.pop_back();
        const auto* field = dynamic_cast<TextField*>(view);
        if (field && field->stringValue() == text)
            return view->convertRectToView(view->bounds(), &host);
        for (const auto& subview : view->subviews()) pending.push_back(subview.get());
    }
    ADD_FAILURE() << "nothing shows " << text;
    return {};
}

// A field of a fixed width, as a control would be.
Description control(std::string text) {
    return Description::platformView<TextField>(
        [] {
            auto field = std::make_shared<TextField>();
            field->constrainWidth(View::SizeRelation::equal, 120);
            return field;
        },
        [text](TextField& field) { field.setStringValue(text); });
}

TEST(HostingViewTest, StacksPlaceTheirViewsByAlignmentAndSpacing) {
    HostingView host([] {
        return Description::vStack({Description::text("a"), Description::text("wide text")},
                                   HorizontalAlignment::trailing(), 4);
    });
    const Rect a = frameOf(host, "a");
    const Rect wide = frameOf(host, "wide text");
    EXPECT_EQ(a.maxX(), wide.maxX()) << "trailing edges lined up";
    EXPECT_EQ(wide.minY(), a.maxY() + 4);
    EXPECT_EQ(host.intrinsicContentSize(), (Size{wide.width(), wide.maxY()}));

    host.setBody([] {
        return Description::hStack({Description::text("a"), Description::text("b")});
    });
    EXPECT_EQ(frameOf(host, "b").minX(), frameOf(host, "a").maxX() + HostingView::defaultSpacing);
}

TEST(HostingViewTest, AFormLinesUpItsControlsOnOneColumn) {
    HostingView host([] {
        return Description::form(
            {Description::labeledContent(Description::text("Name:"), control("Ada")),
             Description::labeledContent(Description::text("Longer label:"), control("Lovelace")),
             control("unlabelled")});
    });
    const double column = frameOf(host, "Lovelace").minX();
    EXPECT_EQ(frameOf(host, "Ada").minX(), column);
    EXPECT_EQ(frameOf(host, "unlabelled").minX(), column);
    EXPECT_EQ(frameOf(host, "Name:").maxX(), column - HostingView::defaultSpacing)
        << "labels end before the column";
    EXPECT_EQ(frameOf(host, "Longer label:").minX(), 0);
    EXPECT_EQ(frameOf(host, "Lovelace").minY(),
              frameOf(host, "Ada").maxY() + HostingView::formRowSpacing);

    host.setBody([] {
        return Description::form(
            {Description::labeledContent(Description::text("Name:"), control("Ada"))
                 .labelsHidden()});
    });
    EXPECT_EQ(frameOf(host, "Ada").minX(), 0) << "a hidden label takes no room";
}

TEST(HostingViewTest, AStateChangeUpdatesTheSameViewsOnTheNextTurn) {
    VirtualClock clock;
    State<std::string> title("first");
    State<bool> asRow(false);
    int tasksRunning = 0;
    const auto counted = [&tasksRunning] {
        ++tasksRunning;
        return Subscription([&tasksRunning] { --tasksRunning; });
    };
    HostingView host([&] {
        auto shown = control(title.value()).task(counted);
        if (asRow.value()) return Description::hStack({Description::text("row")});
        return Description::vStack({shown});
    });
    const auto* field = host.subviews().at(0)->subviews().at(0).get();
    EXPECT_EQ(tasksRunning, 1);

    title.set("second");
    EXPECT_EQ(frameOf(host, "first").width(), 120) << "nothing changes before the main queue runs";
    clock.runPending();
    EXPECT_EQ(host.subviews().at(0)->subviews().at(0).get(), field) << "the same field, updated";
    EXPECT_EQ(frameOf(host, "second").width(), 120);
    EXPECT_EQ(tasksRunning, 1) << "the task goes on with its view";

    asRow.set(true);
    clock.runPending();
    frameOf(host, "row");
    EXPECT_EQ(tasksRunning, 0) << "its view went";
}

}  // namespace
}  // namespace zelvana::platform
