#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/appkit/Button.hpp"
#include "platform/appkit/Slider.hpp"
#include "platform/appkit/StackView.hpp"
#include "platform/appkit/View.hpp"
#include "platform/appkit/Window.hpp"

namespace zelvana::platform {
namespace {

// Records the tracking and click events it is sent.
struct RecordingView : View {
    using View::View;
    std::vector<std::string>* log = nullptr;
    std::string name;
    void note(const std::string& what) {
        if (log) log->push_back(name + " " + what);
    }
    void mouseEntered(const Event&) override { note("entered"); }
    void mouseExited(const Event&) override { note("exited"); }
    void mouseMoved(const Event&) override { note("moved"); }
    void mouseDown(const Event&) override { note("down"); }
    void mouseDragged(const Event&) override { note("dragged"); }
    void mouseUp(const Event&) override { note("up"); }
};

std::shared_ptr<RecordingView> recording(Rect frame, std::string name,
                                         std::vector<std::string>& log) {
    auto view = std::make_shared<RecordingView>(frame);
    view->name = std::move(name);
    view->log = &log;
    return view;
}

TEST(ViewTest, ConvertsBetweenNestedViewsAndTheWindowAndHitsTheFrontmostShownView) {
    auto root = std::make_shared<View>(Rect::make(0, 0, 300, 200));
    auto middle = std::make_shared<View>(Rect::make(10, 20, 100, 100));
    auto leaf = std::make_shared<View>(Rect::make(5, 7, 30, 30));
    root->addSubview(middle);
    middle->addSubview(leaf);
    EXPECT_EQ(leaf->convertPointToView({1, 2}, nullptr), (Point{16, 29}));
    EXPECT_EQ(leaf->convertPointToView({1, 2}, middle.get()), (Point{6, 9}));
    EXPECT_EQ(root->convertPointToView({16, 29}, leaf.get()), (Point{1, 2}));
    EXPECT_EQ(leaf->convertPointFromView({16, 29}, nullptr), (Point{1, 2}));
    EXPECT_EQ(leaf->convertRectToView(Rect::make(0, 0, 4, 4), nullptr), Rect::make(15, 27, 4, 4));

    EXPECT_EQ(root->hitTest({20, 30}), leaf.get());
    EXPECT_EQ(root->hitTest({12, 22}), middle.get());
    EXPECT_EQ(root->hitTest({301, 0}), nullptr);
    auto cover = std::make_shared<View>(Rect::make(0, 0, 300, 200));
    root->addSubview(cover);  // in front of the others
    EXPECT_EQ(root->hitTest({20, 30}), cover.get());
    cover->setHidden(true);
    EXPECT_EQ(root->hitTest({20, 30}), leaf.get());

    middle->setHidden(true);
    EXPECT_TRUE(leaf->isHiddenOrHasHiddenAncestor());
    EXPECT_FALSE(leaf->isHidden());
    leaf->setAlphaValue(3);
    EXPECT_EQ(leaf->alphaValue(), 1);
    leaf->setAlphaValue(-1);
    EXPECT_EQ(leaf->alphaValue(), 0);
    root->addSubview(root);  // a view never contains itself or an ancestor
    middle->addSubview(root);
    EXPECT_EQ(root->superview(), nullptr);
    EXPECT_EQ(root->subviews().size(), 2u);
}

TEST(ViewTest, SubviewsGoInFrontOrBelowASibling) {
    View root;
    auto a = std::make_shared<View>();
    auto b = std::make_shared<View>();
    auto c = std::make_shared<View>();
    root.addSubview(a);
    root.addSubview(b);
    root.addSubviewBelow(c, b.get());
    EXPECT_EQ(root.subviews(), (std::vector<std::shared_ptr<View>>{a, c, b}));
    root.addSubview(a);  // moves it to the front
    EXPECT_EQ(root.subviews(), (std::vector<std::shared_ptr<View>>{c, b, a}));
}

TEST(ViewTest, TrackingAreasReportCrossingsInOrderWhileTheirSubscriptionLives) {
    std::vector<std::string> log;
    Window window(Rect::make(0, 0, 200, 100));
    auto root = std::make_shared<View>(Rect::make(0, 0, 200, 100));
    auto left = recording(Rect::make(0, 0, 100, 100), "left", log);
    auto right = recording(Rect::make(100, 0, 100, 100), "right", log);
    root->addSubview(left);
    root->addSubview(right);
    window.setContentView(root);
    const auto keyOnly = TrackingOption::mouseEnteredAndExited | TrackingOption::activeInKeyWindow;
    Subscription leftArea = left->addTrackingArea(left->bounds(), keyOnly);
    Subscription rightArea =
        right->addTrackingArea(right->bounds(), keyOnly | TrackingOption::mouseMoved);
    const auto move = [&](double x) {
        window.sendEvent(Event::mouseEvent(EventType::mouseMoved, {x, 50}, &window));
    };

    move(10);  // not key: nothing
    EXPECT_TRUE(log.empty());
    window.makeKeyWindow();
    move(10);
    move(150);
    EXPECT_EQ(log, (std::vector<std::string>{"left entered", "left exited", "right entered",
                                             "right moved"}));
    log.clear();
    rightArea.cancel();
    move(20);
    EXPECT_EQ(log, (std::vector<std::string>{"left entered"}));

    log.clear();  // presses go to the view under them, drags and release follow it
    window.sendEvent(Event::mouseEvent(EventType::leftMouseDown, {20, 20}, &window));
    window.sendEvent(Event::mouseEvent(EventType::leftMouseDragged, {150, 20}, &window));
    window.sendEvent(Event::mouseEvent(EventType::leftMouseUp, {150, 20}, &window));
    EXPECT_EQ(log,
              (std::vector<std::string>{"left down", "left dragged", "left up", "left exited"}));
}

TEST(ViewTest, AViewRemovedDuringItsOwnPressStaysAliveUntilTheHandlerReturns) {
    struct SelfRemoving : View {
        using View::View;
        void mouseDown(const Event&) override {
            removeFromSuperview();
            setIdentifier("still here");  // would touch freed memory if not kept alive
        }
    };
    Window window(Rect::make(0, 0, 50, 50));
    auto root = std::make_shared<View>(Rect::make(0, 0, 50, 50));
    root->addSubview(std::make_shared<SelfRemoving>(Rect::make(0, 0, 50, 50)));
    window.setContentView(root);
    window.sendEvent(Event::mouseEvent(EventType::leftMouseDown, {5, 5}, &window));
    EXPECT_TRUE(root->subviews().empty());
}

// A view whose content asks for a size, whatever its frame.
struct Sized : View {
    explicit Sized(Size size) : size(size) {}
    Size size;
    Size intrinsicContentSize() const override { return size; }
};

TEST(ViewTest, StackLayoutPlacesViewsByDistributionGravityAndAlignment) {
    StackView stack(Rect::make(0, 0, 100, 40));
    stack.setSpacing(10);
    stack.setEdgeInsets({5, 5, 5, 5});
    auto a = std::make_shared<Sized>(Size{20, 10});
    auto b = std::make_shared<Sized>(Size{30, 20});
    stack.addArrangedSubview(a);
    stack.addArrangedSubview(b);
    stack.layout();  // packed from the leading edge, centred across
    EXPECT_EQ(a->frame(), Rect::make(5, 15, 20, 10));
    EXPECT_EQ(b->frame(), Rect::make(35, 10, 30, 20));

    stack.setDistribution(StackView::Distribution::fillEqually);
    stack.setAlignment(StackView::Alignment::top);
    stack.layout();
    EXPECT_EQ(a->frame(), Rect::make(5, 5, 40, 10));
    EXPECT_EQ(b->frame(), Rect::make(55, 5, 40, 20));

    stack.setDistribution(StackView::Distribution::fill);
    stack.setOrientation(StackView::Orientation::vertical);
    stack.setFrameSize({40, 100});
    stack.setAlignment(StackView::Alignment::centerX);
    a->setHidden(true);
    stack.addView(std::make_shared<Sized>(Size{10, 10}), StackView::Gravity::center);
    stack.layout();  // 20 + 10 + 10 of 90: centred along
    EXPECT_EQ(b->frame(), Rect::make(5, 30, 30, 20));
    EXPECT_EQ(stack.arrangedSubviews()[2]->frame(), Rect::make(15, 60, 10, 10));
}

TEST(ViewTest, ASliderTracksThePointerWithinItsRangeUnlessDisabled) {
    struct Target : StoryboardObject {
        std::vector<double> values;
        bool performAction(const std::string& action, const void* sender) override {
            values.push_back(action == "slid:" ? static_cast<const Slider*>(sender)->doubleValue()
                                               : -1);
            return true;
        }
    };
    Window window(Rect::make(0, 0, 100, 20));
    auto slider = std::make_shared<Slider>(Rect::make(0, 0, 100, 20));
    window.setContentView(slider);
    auto target = std::make_shared<Target>();
    slider->setTarget(target->actionTarget());
    slider->setAction("slid:");
    slider->setMaxValue(360);
    const auto mouse = [&](EventType type, double x) {
        window.sendEvent(Event::mouseEvent(type, {x, 10}, &window));
    };
    mouse(EventType::leftMouseDown, 25);
    mouse(EventType::leftMouseDragged, 150);  // past the end: the maximum
    mouse(EventType::leftMouseUp, 150);
    EXPECT_EQ(target->values, (std::vector<double>{90, 360}));

    slider->setContinuous(false);
    mouse(EventType::leftMouseDown, 50);
    mouse(EventType::leftMouseUp, 50);
    slider->setEnabled(false);
    mouse(EventType::leftMouseDown, 0);
    mouse(EventType::leftMouseUp, 0);
    EXPECT_EQ(target->values, (std::vector<double>{90, 360, 180}));
    slider->setDoubleValue(-5);
    EXPECT_EQ(slider->doubleValue(), 0);
}

TEST(ViewTest, ButtonsAndSlidersDoNotCallATargetDestroyedBeforeTheActionFires) {
    struct Counter : StoryboardObject {
        explicit Counter(int& calls) : calls(calls) {}
        int& calls;
        bool performAction(const std::string& /*action*/, const void* /*sender*/) override {
            ++calls;
            return true;
        }
    };
    Window window(Rect::make(0, 0, 100, 20));
    auto button = std::make_shared<Button>("Go", "go:");
    auto slider = std::make_shared<Slider>(Rect::make(0, 0, 100, 20));
    slider->setAction("slid:");
    auto content = std::make_shared<View>(Rect::make(0, 0, 100, 20));
    content->addSubview(button);
    content->addSubview(slider);
    window.setContentView(content);
    int calls = 0;
    auto target = std::make_shared<Counter>(calls);
    button->setTarget(target->actionTarget());
    slider->setTarget(target->actionTarget());
    EXPECT_TRUE(button->performClick());
    EXPECT_TRUE(slider->sendAction());
    EXPECT_EQ(calls, 2);

    target.reset();  // the window has no controller to take the action instead
    EXPECT_FALSE(button->performClick());
    EXPECT_FALSE(slider->sendAction());
    EXPECT_EQ(calls, 2);
}

}  // namespace
}  // namespace zelvana::platform
