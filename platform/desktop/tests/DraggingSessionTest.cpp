#include "platform/appkit/DraggingSession.hpp"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/appkit/View.hpp"
#include "platform/appkit/Window.hpp"
#include "platform/desktop/tests/DesktopFixture.hpp"

namespace zelvana::platform {
namespace {

using Heard = std::vector<std::string>;

// A destination view that records what it hears, with the points in its window.
class DropView : public View, public DraggingDestination {
public:
    explicit DropView(Rect frame, Heard& heard) : View(frame), heard_(heard) {}
    DragOperations draggingEntered(const DraggingInfo& info) override {
        note("entered", info);
        return answer;
    }
    DragOperations draggingUpdated(const DraggingInfo& info) override {
        note("updated", info);
        return answer;
    }
    void draggingExited(const DraggingInfo*) override { heard_.push_back("exited"); }
    bool prepareForDragOperation(const DraggingInfo&) override {
        heard_.push_back("prepare");
        return true;
    }
    bool performDragOperation(const DraggingInfo& info) override {
        note("perform", info);
        return true;
    }
    void concludeDragOperation(const DraggingInfo&) override { heard_.push_back("conclude"); }
    void draggingEnded(const DraggingInfo&) override { heard_.push_back("ended"); }

    DragOperations answer = DragOperation::move;
    Point last;

private:
    void note(const char* what, const DraggingInfo& info) {
        heard_.push_back(what);
        last = info.draggingLocation;
    }
    Heard& heard_;
};

// A source that allows a generic drag and records how the drag ended.
class Source : public View, public DraggingSource {
public:
    DragOperations sourceOperationMask(DraggingSession&, DraggingContext context) override {
        return context == DraggingContext::withinApplication ? DragOperation::generic
                                                             : DragOperation::none;
    }
    void draggingSessionEnded(DraggingSession&, Point, DragOperations operation) override {
        ended.push_back(operation);
    }
    std::vector<DragOperations> ended;
};

class DraggingSessionTest : public DesktopFixture {
protected:
    DraggingSessionTest() {
        DraggingSession::resetForTesting();
        window.setContentView(view);
        view->registerForDraggedTypes({"com.example.cell"});
        window.orderFront(nullptr);
        item.item.setString("move", "com.example.cell");
    }
    ~DraggingSessionTest() override { DraggingSession::resetForTesting(); }

    DraggingSession* begin(Point at = {5, 5}) {
        Event event;
        event.location = at;
        return source->beginDraggingSession({item}, event, source);
    }
    // From the top-left corner of the window's content on the desktop (y down).
    Point at(double x, double y) {
        const Rect bounds = desktop.boundsFromFrame(window.contentRectForFrameRect(window.frame()));
        return {bounds.minX() + x, bounds.minY() + y};
    }

    Heard heard;
    Window window{Rect::make(100, 100, 200, 200)};
    std::shared_ptr<DropView> view = std::make_shared<DropView>(Rect::make(0, 0, 200, 200), heard);
    std::shared_ptr<Source> source = std::make_shared<Source>();
    DraggingItem item;
};

TEST_F(DraggingSessionTest, FollowsThePointerInAndOutAndDropsOnTheViewUnderIt) {
    DraggingSession* session = begin();
    ASSERT_NE(session, nullptr);
    EXPECT_EQ(begin(), nullptr) << "one drag at a time";
    EXPECT_TRUE(session->draggingPasteboard().hasAnyType({"com.example.cell"}));

    session->moveTo(at(10, 20));
    session->moveTo(at(30, 40));
    EXPECT_EQ(view->last, (Point{30, 40}));
    session->moveTo({5000, 5000});  // off every window
    session->moveTo(at(50, 60));
    EXPECT_TRUE(session->drop());
    EXPECT_EQ(heard, (Heard{"entered", "updated", "updated", "exited", "entered", "updated",
                            "prepare", "perform", "conclude", "ended"}))
        << "each entry is followed by an update at once";
    EXPECT_EQ(source->ended, (std::vector<DragOperations>{DragOperation::move}));
    EXPECT_EQ(DraggingSession::current(), nullptr);
}

TEST_F(DraggingSessionTest, CancelledRefusedOrOutsideDropsEndWithNoOperation) {
    begin()->moveTo(at(10, 10));
    DraggingSession::current()->cancel();  // Escape
    EXPECT_EQ(heard, (Heard{"entered", "updated", "exited", "ended"}));

    heard.clear();
    begin()->moveTo(at(10, 10));
    DraggingSession::current()->moveTo({5000, 5000});
    EXPECT_FALSE(DraggingSession::current()->drop());
    EXPECT_EQ(heard, (Heard{"entered", "updated", "exited", "ended"}))
        << "the last one entered hears the end";

    heard.clear();
    view->answer = DragOperation::none;
    begin()->moveTo(at(10, 10));
    EXPECT_FALSE(DraggingSession::current()->drop());
    EXPECT_EQ(heard, (Heard{"entered", "updated", "exited", "ended"}));
    EXPECT_EQ(source->ended, (std::vector<DragOperations>(3, DragOperations{})));
}

TEST_F(DraggingSessionTest, ADragBegunOverADestinationIsOverItFromTheStart) {
    begin(at(10, 20));
    EXPECT_EQ(heard, (Heard{"entered", "updated"}));
    EXPECT_EQ(view->last, (Point{10, 20}));
    EXPECT_TRUE(DraggingSession::current()->drop()) << "a release without a move drops there";
}

TEST_F(DraggingSessionTest, ViewsWithoutTheDraggedTypeHearNothing) {
    view->registerForDraggedTypes({"public.image"});
    begin()->moveTo(at(10, 10));
    EXPECT_FALSE(DraggingSession::current()->drop());
    EXPECT_TRUE(heard.empty());
    EXPECT_EQ(source->beginDraggingSession({}, Event{}, source), nullptr) << "nothing to drag";
}

}  // namespace
}  // namespace zelvana::platform
