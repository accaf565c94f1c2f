#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/appkit/Button.hpp"
#include "platform/appkit/ViewController.hpp"
#include "platform/appkit/Window.hpp"
#include "platform/appkit/WindowController.hpp"
#include "platform/appkit/WindowDelegate.hpp"

namespace zelvana::platform {
namespace {

struct RecordingDelegate : WindowDelegate {
    Window* window = nullptr;
    std::vector<bool> visibleWhenClosing;
    void windowWillClose() override { visibleWhenClosing.push_back(window->isVisible()); }
};

struct CountingViewController : ViewController {
    int loads = 0;
    std::vector<std::string> actions;
    void viewDidLoad() override { ++loads; }
    bool performAction(const std::string& action, const void*) override {
        if (action != "tap:") return false;
        actions.push_back(action);
        return true;
    }
};

struct ActionWindowController : WindowController {
    using WindowController::WindowController;
    std::vector<std::string> actions;
    bool performAction(const std::string& action, const void*) override {
        actions.push_back(action);
        return action == "other:";
    }
};

TEST(WindowTest, ShowHideAndCloseTellTheDelegateBeforeLeavingTheScreen) {
    WindowController controller(std::make_unique<Window>(Rect::make(10, 20, 300, 200)));
    Window& window = *controller.window();
    RecordingDelegate delegate;
    delegate.window = &window;
    window.setDelegate(&delegate);
    EXPECT_EQ(window.windowController(), &controller);
    EXPECT_FALSE(window.isVisible());

    controller.showWindow(nullptr);
    EXPECT_TRUE(window.isVisible());
    EXPECT_TRUE(window.isKeyWindow());
    window.orderOut(nullptr);
    EXPECT_FALSE(window.isVisible());
    EXPECT_TRUE(delegate.visibleWhenClosing.empty());  // hiding is not closing

    controller.showWindow(nullptr);
    controller.close();
    EXPECT_EQ(delegate.visibleWhenClosing, std::vector<bool>{true});
    EXPECT_FALSE(window.isVisible());
    controller.showWindow(nullptr);  // a closed window can be shown again
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(window.orderFrontCount(), 3);
}

TEST(WindowTest, ContentViewControllerLoadsItsViewOnceAndViewsFindTheirWindow) {
    auto content = std::make_shared<CountingViewController>();
    auto button = std::make_shared<Button>("Tap", "tap:");
    auto root = std::make_shared<View>();
    root->addSubview(button);
    content->setView(root);
    EXPECT_EQ(content->loads, 0);

    Window window;
    window.setContentViewController(content);
    EXPECT_EQ(content->loads, 1);
    EXPECT_EQ(window.contentView(), root.get());
    EXPECT_EQ(button->window(), &window);
    content->view();
    EXPECT_EQ(content->loads, 1);

    EXPECT_TRUE(button->performClick());
    EXPECT_EQ(content->actions, std::vector<std::string>{"tap:"});

    button->removeFromSuperview();
    EXPECT_EQ(button->window(), nullptr);
    EXPECT_FALSE(button->performClick());
    window.setContentViewController(nullptr);
    EXPECT_EQ(root->window(), nullptr);
}

TEST(WindowTest, ActionsGoToTheContentControllerThenTheWindowController) {
    ActionWindowController controller(std::make_unique<Window>());
    auto content = std::make_shared<CountingViewController>();
    controller.window()->setContentViewController(content);
    EXPECT_EQ(controller.contentViewController(), content.get());

    EXPECT_TRUE(controller.window()->sendAction("tap:", nullptr));
    EXPECT_TRUE(controller.actions.empty());
    EXPECT_TRUE(controller.window()->sendAction("other:", nullptr));
    EXPECT_FALSE(controller.window()->sendAction("unknown:", nullptr));
    EXPECT_EQ(controller.actions, (std::vector<std::string>{"other:", "unknown:"}));
}

TEST(WindowTest, FindsViewsByIdentifier) {
    auto root = std::make_shared<View>();
    auto inner = std::make_shared<View>();
    auto leaf = std::make_shared<View>(Rect::make(1, 2, 3, 4));
    leaf->setIdentifier("leaf");
    inner->addSubview(leaf);
    root->addSubview(inner);
    EXPECT_EQ(root->findView("leaf"), leaf.get());
    EXPECT_EQ(root->findView("none"), nullptr);
    EXPECT_EQ(leaf->bounds(), Rect::make(0, 0, 3, 4));

    root->addSubview(leaf);  // moving a view takes it from its old superview
    EXPECT_TRUE(inner->subviews().empty());
    EXPECT_EQ(leaf->superview(), root.get());
}

}  // namespace
}  // namespace zelvana::platform
