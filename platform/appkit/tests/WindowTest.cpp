#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/appkit/Button.hpp"
#include "platform/appkit/Coder.hpp"
#include "platform/appkit/Panel.hpp"
#include "platform/appkit/ViewController.hpp"
#include "platform/appkit/Window.hpp"
#include "platform/appkit/WindowController.hpp"
#include "platform/appkit/WindowDelegate.hpp"
#include "platform/appkit/WindowServer.hpp"

namespace zelvana::platform {
namespace {

struct RecordingDelegate : WindowDelegate {
    Window* window = nullptr;
    std::vector<bool> visibleWhenClosing;
    std::vector<std::string> calls;
    void windowWillClose() override {
        if (window) visibleWhenClosing.push_back(window->isVisible());
        calls.push_back("close");
    }
    void windowDidBecomeKey() override { calls.push_back("key"); }
    void windowDidResignKey() override { calls.push_back("resign"); }
    void windowWillMove() override { calls.push_back("willMove"); }
    void windowDidMove() override { calls.push_back("didMove"); }
};

struct CountingViewController : ViewController {
    int loads = 0;
    std::vector<std::string> actions;
    void viewDidLoad() override { ++loads; }
    bool performAction(const std::string& action, const ActionSender*) override {
        if (action != "tap:") return false;
        actions.push_back(action);
        return true;
    }
};

struct AppearanceRecorder : ViewController {
    std::vector<std::string> calls;
    bool visibleAtWillAppear = true;
    void viewWillAppear() override {
        calls.push_back("willAppear");
        visibleAtWillAppear = view()->window() && view()->window()->isVisible();
    }
    void viewDidAppear() override { calls.push_back("didAppear"); }
    void viewWillDisappear() override { calls.push_back("willDisappear"); }
    void viewDidDisappear() override { calls.push_back("didDisappear"); }
};

struct ActionWindowController : WindowController {
    using WindowController::WindowController;
    std::vector<std::string> actions;
    bool performAction(const std::string& action, const ActionSender*) override {
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

TEST(WindowTest, ShowingAndHidingTheWindowTellTheContentControllerOnce) {
    using Calls = std::vector<std::string>;
    Window window;
    auto recorder = std::make_shared<AppearanceRecorder>();
    window.setContentViewController(recorder);
    EXPECT_TRUE(recorder->calls.empty()) << "a hidden window shows nothing";
    window.makeKeyAndOrderFront(nullptr);
    EXPECT_FALSE(recorder->visibleAtWillAppear) << "told before it appears";
    window.orderFront(nullptr);  // already shown
    window.close();
    window.orderOut(nullptr);  // already hidden
    window.setIsVisible(true);
    EXPECT_EQ(recorder->calls, (Calls{"willAppear", "didAppear", "willDisappear", "didDisappear",
                                      "willAppear", "didAppear"}));

    auto next = std::make_shared<AppearanceRecorder>();
    window.setContentViewController(next);
    EXPECT_EQ(recorder->calls.back(), "didDisappear");
    EXPECT_EQ(next->calls, (Calls{"willAppear", "didAppear"}));
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

// Records the key and main hooks; `passesKey` gives key status up at once.
struct HookWindow : Window {
    using Window::Window;
    std::vector<std::string>* log = nullptr;
    std::string name;
    bool keyable = true;
    bool passesKey = false;
    bool canBecomeKeyWindow() const override { return keyable; }
    bool canBecomeMainWindow() const override { return keyable; }
    void becomeKeyWindow() override {
        Window::becomeKeyWindow();
        log->push_back(name + " key");
        if (passesKey) resignKeyWindow();
    }
    void resignKeyWindow() override {
        Window::resignKeyWindow();
        log->push_back(name + " resigns key");
    }
    void becomeMainWindow() override {
        Window::becomeMainWindow();
        log->push_back(name + " main");
    }
};

TEST(WindowTest, KeyAndMainStatusMoveBetweenWindowsThroughTheHooks) {
    std::vector<std::string> log;
    HookWindow first;
    first.log = &log;
    first.name = "first";
    HookWindow second;
    second.log = &log;
    second.name = "second";

    first.makeKeyAndOrderFront(nullptr);
    second.makeKeyAndOrderFront(nullptr);
    EXPECT_EQ(log, (std::vector<std::string>{"first key", "first main", "first resigns key",
                                             "second key", "second main"}));
    EXPECT_EQ(Window::keyWindow(), &second);
    EXPECT_EQ(Window::mainWindow(), &second);
    EXPECT_FALSE(first.isMainWindow());

    log.clear();
    first.keyable = false;
    first.makeKeyAndOrderFront(nullptr);  // shown, but the status stays
    EXPECT_TRUE(log.empty());
    EXPECT_TRUE(first.isVisible());
    EXPECT_TRUE(second.isKeyWindow());

    second.passesKey = true;
    second.orderOut(nullptr);
    EXPECT_EQ(Window::keyWindow(), nullptr);
    EXPECT_EQ(Window::mainWindow(), nullptr);
    second.makeKeyAndOrderFront(nullptr);
    EXPECT_FALSE(second.isKeyWindow());
    EXPECT_EQ(Window::keyWindow(), nullptr);
    EXPECT_TRUE(second.isMainWindow());
}

// No window server for the test's length, whatever tests before it installed.
class NoWindowServer {
public:
    NoWindowServer() : previous_(WindowServer::install(nullptr)) {}
    ~NoWindowServer() { WindowServer::install(previous_); }
    NoWindowServer(const NoWindowServer&) = delete;
    NoWindowServer& operator=(const NoWindowServer&) = delete;

private:
    WindowServer* previous_;
};

TEST(WindowTest, StyleRestorationStateAndSizeChanges) {
    const NoWindowServer noServer;
    Panel panel(Rect::make(10, 20, 1, 1), Window::Style::nonactivatingPanel,
                Window::BackingStore::buffered, false);
    EXPECT_EQ(panel.frame(), Rect::make(10, 20, 1, 1));
    EXPECT_TRUE(panel.isNonactivating());
    EXPECT_TRUE(panel.isOpaque());
    EXPECT_EQ(panel.backgroundColor(), Color::windowBackgroundColor());
    panel.setFloatingPanel(true);
    EXPECT_EQ(panel.level(), Window::Level::floating);
    EXPECT_NE(panel.windowNumber(), Window().windowNumber());

    auto content = std::make_shared<View>();
    panel.setContentView(content);
    panel.setContentSize({200, 30});
    EXPECT_EQ(panel.frame(), Rect::make(10, 20, 200, 30));
    EXPECT_EQ(content->frame().size, (Size{200, 30}));
    panel.setFrameOrigin({5, 6});
    EXPECT_EQ(panel.frame(), Rect::make(5, 6, 200, 30));

    Coder coder;
    panel.encodeRestorableStateWithCoder(coder);
    Window restored;
    restored.restoreStateWithCoder(coder);
    EXPECT_EQ(restored.frame(), Rect::make(5, 6, 200, 30));
    Coder broken;
    broken.encode(Coder::frameKey, PropertyArray{1.0, "two", 3.0, 4.0});
    restored.restoreStateWithCoder(broken);  // unreadable: the frame stays
    EXPECT_EQ(restored.frame(), Rect::make(5, 6, 200, 30));

    // Without a window server there are no screens and a shown window is on
    // the only space.
    EXPECT_FALSE(panel.screen().has_value());
    EXPECT_FALSE(panel.isOnActiveSpace());
    panel.orderFront(nullptr);
    EXPECT_TRUE(panel.isOnActiveSpace());
    EXPECT_FALSE(panel.isKeyWindow());
    panel.close();
    EXPECT_TRUE(panel.isClosed());
    panel.setIsVisible(true);
    EXPECT_FALSE(panel.isClosed());
}

TEST(WindowTest, MadeForAControllerItConvertsToTheScreenAndReportsKeyMovesAndCloses) {
    auto controller = std::make_shared<ViewController>();
    controller->setView(std::make_shared<View>(Rect::make(0, 0, 120, 80)));
    auto window = Window::withContentViewController<Panel>(controller);
    // Titled: the title bar sits above the content.
    EXPECT_EQ(window->frame().size, (Size{120, 80 + 28}));
    EXPECT_EQ(window->contentViewController(), controller);
    EXPECT_EQ(window->styleMask().rawValue(), 15u);
    RecordingDelegate delegate;
    window->setDelegate(&delegate);

    window->setFrameOrigin({10, 20});
    window->setContentSize({100, 50});  // the size alone: no move
    EXPECT_EQ(window->frame(), Rect::make(10, 20, 100, 50 + 28));
    EXPECT_EQ(window->convertRectToScreen(Rect::make(5, 10, 20, 30)), Rect::make(15, 30, 20, 30));
    EXPECT_EQ(window->convertPointFromScreen(window->convertPointToScreen({3, 4})), (Point{3, 4}));
    window->makeKeyAndOrderFront(nullptr);
    window->close();
    EXPECT_EQ(delegate.calls,
              (std::vector<std::string>{"willMove", "didMove", "key", "close", "resign"}));
}

TEST(WindowTest, ATitleBarTakesTheTopOfTheFrameUnlessTheContentReachesUnderIt) {
    Window window(Rect::make(100, 100, 400, 300), Window::Style::titled,
                  Window::BackingStore::buffered, false);
    EXPECT_EQ(window.frame(), Rect::make(100, 100, 400, 328));
    auto content = std::make_shared<View>(Rect::make(0, 0, 400, 300));
    window.setContentView(content);
    EXPECT_EQ(window.convertPointToScreen({0, 0}), (Point{100, 400})) << "the content's top-left";

    window.setStyleMask(Window::Style::titled | Window::Style::fullSizeContentView);
    EXPECT_EQ(window.frame(), Rect::make(100, 100, 400, 328)) << "the frame stays";
    EXPECT_EQ(content->frame().size, (Size{400, 328}));
    EXPECT_EQ(window.convertPointToScreen({0, 0}), (Point{100, 428}));
    window.setStyleMask(Window::Style::borderless);
    EXPECT_EQ(window.contentRectForFrameRect(window.frame()), window.frame());
}

}  // namespace
}  // namespace zelvana::platform
