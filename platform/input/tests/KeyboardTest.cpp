#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/appkit/Application.hpp"
#include "platform/appkit/EventMonitors.hpp"
#include "platform/appkit/Menu.hpp"
#include "platform/appkit/Panel.hpp"
#include "platform/appkit/View.hpp"
#include "platform/appkit/Window.hpp"
#include "platform/dispatch/RunLoop.hpp"
#include "platform/input/HotKeyCenter.hpp"
#include "platform/input/KeyboardLayout.hpp"
#include "platform/input/SymbolicHotKeys.hpp"
#include "platform/simulator/Keyboard.hpp"
#include "platform/system/SystemVersion.hpp"

namespace zelvana::platform {
namespace {

constexpr std::uint16_t kKeyA = 0;
constexpr std::uint16_t kKeyY = 16;
constexpr std::uint16_t kKeyZ = 6;
constexpr std::uint16_t kKey1 = 18;
constexpr std::uint16_t kKey2 = 19;
constexpr std::uint16_t kKey3 = 20;
constexpr EventTypeSpec kPressed{kEventClassKeyboard, kEventHotKeyPressed};
constexpr EventTypeSpec kReleased{kEventClassKeyboard, kEventHotKeyReleased};
constexpr EventTypeSpec kRawDown{kEventClassKeyboard, kEventRawKeyDown};
constexpr EventTypeSpec kRawUp{kEventClassKeyboard, kEventRawKeyUp};

void resetAll() {
    Application::shared().resetForTesting();
    EventMonitors::resetForTesting();
    RunLoop::main().resetForTesting();
    HotKeyCenter::shared().resetForTesting();
    SymbolicHotKeys::shared().resetForTesting();
    KeyboardLayout::resetForTesting();
    SystemVersion::resetForTesting();
    Keyboard::shared().resetForTesting();
}

std::string describe(const Event& event) {
    const char* type = event.type == EventType::keyDown ? "down"
                       : event.type == EventType::keyUp ? "up"
                                                        : "flags";
    return std::string(type) + " " + std::to_string(event.keyCode) +
           (event.isARepeat ? " repeat" : "");
}

class KeyboardTest : public ::testing::Test {
protected:
    void SetUp() override {
        resetAll();
        global = Event::addGlobalMonitor(
            EventMask::any, [this](const Event& e) { calls.push_back("global " + describe(e)); });
        local = Event::addLocalMonitor(EventMask::any, [this](const Event& e) {
            calls.push_back("local " + describe(e));
            return std::optional<Event>(e);
        });
    }
    Subscription global, local;
    std::vector<Subscription> handlers;
    void TearDown() override { resetAll(); }

    // Installs a handler on the dispatcher that records hot keys of one
    // signature and passes on the rest, as each registry in the process does.
    void installHotKeyHandler(const char (&signature)[5]) {
        const FourCharCode code = fourCharCode(signature);
        const std::string name = signature;
        handlers.push_back(
            installEventHandler(
                eventDispatcherTarget(),
                [this, code, name](EventHandlerCallRef, EventRef event) {
                    EventHotKeyID id;
                    event->getParameter(kEventParamDirectObject, typeEventHotKeyID, id);
                    if (id.signature != code) return eventNotHandledErr;
                    const char* what =
                        event->kind() == kEventHotKeyPressed ? "pressed" : "released";
                    calls.push_back(name + " " + what + " " + std::to_string(id.id));
                    return noErr;
                },
                {kPressed, kReleased})
                .removal);
    }

    Keyboard& keyboard = Keyboard::shared();
    Application& app = Application::shared();
    std::vector<std::string> calls;
};

TEST_F(KeyboardTest, SystemHotKeysComeFirstThenRegisteredHotKeysThenTheFrontmostApplication) {
    installHotKeyHandler("VQTB");
    installHotKeyHandler("QDLN");
    registerEventHotKey(kKey1, controlKey, {fourCharCode("VQTB"), 1}, eventDispatcherTarget());
    registerEventHotKey(kKey2, controlKey, {fourCharCode("QDLN"), 2}, eventDispatcherTarget());
    registerEventHotKey(kKey3, controlKey, {fourCharCode("VQTB"), 3}, eventDispatcherTarget());
    SymbolicHotKeys::shared().add(kKey1, controlKey);

    keyboard.press(kKey1, Event::control);
    keyboard.press(kKey2, Event::control);
    keyboard.press(kKey3, Event::control);
    EXPECT_EQ(calls, (std::vector<std::string>{"QDLN pressed 2", "QDLN released 2",
                                               "VQTB pressed 3", "VQTB released 3"}));
    EXPECT_EQ(SymbolicHotKeys::shared().presses(),
              (std::vector<SymbolicHotKeys::Press>{{kKey1, controlKey}}));

    // Without a hot key the frontmost application gets the key.
    calls.clear();
    keyboard.press(kKey3, Event::option);
    app.activate(false);
    keyboard.press(kKey3, Event::option);
    EXPECT_EQ(calls, (std::vector<std::string>{"global down 20", "global up 20", "local down 20",
                                               "local up 20"}));
    ASSERT_EQ(app.deliveredEvents().size(), 2u);
    EXPECT_TRUE(app.pendingEvents().empty());

    keyboard.flagsChanged(Event::shift, 56);
    EXPECT_EQ(calls.back(), "local flags 56");
    EXPECT_EQ(keyboard.modifierFlags(), Event::shift);
}

TEST_F(KeyboardTest, HotKeysIgnoreCapsLockDoNotRepeatAndReleaseWhatWasPressed) {
    installHotKeyHandler("VQTB");
    const auto hotKey = registerEventHotKey(kKeyA, cmdKey | shiftKey, {fourCharCode("VQTB"), 1},
                                            eventDispatcherTarget());

    keyboard.keyDown(kKeyA, Event::command | Event::shift | Event::capsLock);
    keyboard.keyDown(kKeyA, Event::command | Event::shift | Event::capsLock);
    EXPECT_TRUE(keyboard.isKeyDown(kKeyA));
    // Shift let go first: the release still belongs to the hot key.
    keyboard.keyUp(kKeyA, Event::command);
    EXPECT_EQ(calls, (std::vector<std::string>{"VQTB pressed 1", "VQTB released 1"}));

    // A hot key given up while held is not released.
    calls.clear();
    keyboard.keyDown(kKeyA, Event::command | Event::shift);
    unregisterEventHotKey(*hotKey.hotKey);
    keyboard.keyUp(kKeyA, Event::command | Event::shift);
    EXPECT_EQ(calls, (std::vector<std::string>{"VQTB pressed 1"}));

    // Keys of an application repeat.
    calls.clear();
    app.activate(false);
    keyboard.keyDown(kKeyA, Event::command | Event::shift);
    keyboard.keyDown(kKeyA, Event::command | Event::shift);
    keyboard.keyUp(kKeyA, Event::command | Event::shift);
    EXPECT_EQ(calls,
              (std::vector<std::string>{"local down 0", "local down 0 repeat", "local up 0"}));
}

TEST_F(KeyboardTest, OurEventsCarryTheLayoutsCharactersAndTheirCarbonEvent) {
    app.activate(false);
    KeyboardLayout::setCurrent(&KeyboardLayout::german());
    keyboard.keyDown(kKeyZ, Event::capsLock | Event::command);
    keyboard.keyDown(kKeyY, Event::shift);
    ASSERT_EQ(app.deliveredEvents().size(), 2u);
    const Event& first = app.deliveredEvents()[0];
    EXPECT_EQ(first.characters, "Y");
    EXPECT_EQ(first.charactersIgnoringModifiers, "y");
    EXPECT_EQ(app.deliveredEvents()[1].characters, "Z");

    ASSERT_NE(first.eventRef(), nullptr);
    EXPECT_EQ(first.eventRef()->kind(), kEventRawKeyDown);
    std::uint32_t value = 0;
    first.eventRef()->getParameter(kEventParamKeyCode, typeUInt32, value);
    EXPECT_EQ(value, kKeyZ);
    first.eventRef()->getParameter(kEventParamKeyModifiers, typeUInt32, value);
    EXPECT_EQ(value, cmdKey | alphaLock);

    KeyboardLayout::setTranslationFailure(paramErr);
    keyboard.keyUp(kKeyY, Event::shift);
    EXPECT_EQ(app.deliveredEvents().back().characters, "");
}

TEST_F(KeyboardTest, DeadKeysWaitForTheNextKeyDown) {
    app.activate(false);
    KeyboardLayout::setCurrent(&KeyboardLayout::german());
    const auto typed = [&](std::initializer_list<std::uint16_t> codes) {
        std::string text;
        for (std::uint16_t code : codes) {
            keyboard.keyDown(code);
            text += app.deliveredEvents().back().characters + "|";
            keyboard.keyUp(code);
        }
        return text;
    };
    EXPECT_EQ(typed({24, 14}), "|\u00E9|");  // ´ e
    EXPECT_EQ(typed({24, 49}), "|\u00B4|");  // ´ space: the accent alone
    EXPECT_EQ(typed({24, 7}), "|\u00B4x|");  // ´ x: no such letter
    EXPECT_EQ(typed({10, 0}), "|\u00E2|");   // ^ a
    EXPECT_EQ(typed({0}), "a|") << "the state was used up";
    KeyboardLayout::setCurrent(&KeyboardLayout::us());
    EXPECT_EQ(typed({24, 14}), "=|e|") << "´ is no key of the U.S. layout";
    keyboard.press(14, Event::option);
    EXPECT_EQ(typed({14}), "\u00E9|") << "Option-E waits, as on a Mac";
    keyboard.press(14, Event::option | Event::command);
    EXPECT_EQ(typed({14}), "e|") << "a shortcut leaves no accent waiting";
    KeyboardLayout::setCurrent(&KeyboardLayout::german());
    EXPECT_EQ(KeyboardLayout::german().translate(24, KeyAction::display, 0).characters, "\u00B4");
}

// Takes the keys that reach it as first responder.
class KeyTaker : public View {
public:
    bool acceptsFirstResponder() const override { return true; }
    void keyDown(const Event& event) override { downs += event.characters; }
    void keyUp(const Event& event) override { ups += event.characters; }
    std::string downs, ups;
};

TEST_F(KeyboardTest, KeysLeftByMonitorsReachTheKeyWindowsFirstResponder) {
    app.activate(false);
    Window window(Rect::make(0, 0, 100, 100));
    auto taker = std::make_shared<KeyTaker>();
    window.setContentView(taker);
    window.makeKeyWindow();
    ASSERT_TRUE(window.makeFirstResponder(taker.get()));
    keyboard.press(kKeyA);
    keyboard.press(kKeyZ, Event::shift);
    RunLoop::main().runPending();
    EXPECT_EQ(taker->downs, "aZ");
    EXPECT_EQ(taker->ups, "aZ");
    const auto swallow = Event::addLocalMonitor(
        EventMask::keyDown, [](const Event&) { return std::optional<Event>(); });
    keyboard.press(kKeyA);
    EXPECT_EQ(taker->downs, "aZ");
}

TEST_F(KeyboardTest, AKeyNonactivatingPanelGetsTheKeysWhileAnotherApplicationIsActive) {
    Panel panel(Rect::make(0, 0, 100, 100), Window::Style::nonactivatingPanel, 2, false);
    Panel activating(Rect::make(0, 0, 100, 100), Window::Style::titled, 2, false);
    panel.makeKeyWindow();
    keyboard.press(kKeyA);
    activating.makeKeyWindow();
    keyboard.press(kKeyY);
    RunLoop::main().runPending();
    EXPECT_EQ(calls, (std::vector<std::string>{"local down 0", "local up 0", "global down 16",
                                               "global up 16"}));
    EXPECT_FALSE(app.isActive());
}

// The menu's own key handling with a Carbon handler that takes key code A,
// as a registry does while a menu is open.
class MenuKeyboardTest : public KeyboardTest {
protected:
    Subscription rawKeys;
    void SetUp() override {
        KeyboardTest::SetUp();
        EventMonitors::resetForTesting();  // monitors are not the subject here
        rawKeys =
            installEventHandler(eventDispatcherTarget(),
                                [this](EventHandlerCallRef, EventRef event) {
                                    std::uint32_t keyCode = 0;
                                    event->getParameter(kEventParamKeyCode, typeUInt32, keyCode);
                                    calls.push_back("raw " + std::to_string(event->kind()) + " " +
                                                    std::to_string(keyCode));
                                    return keyCode == kKeyA ? noErr : eventNotHandledErr;
                                },
                                {kRawDown, kRawUp})
                .removal;
    }

    std::string menuKeys() const {
        std::string keys;
        for (const auto& event : menu.receivedEvents()) keys += describe(event) + ";";
        return keys;
    }

    Menu menu{"status"};
};

TEST_F(MenuKeyboardTest, BeforeSystem14RawKeyEventsReachCarbonHandlersWhileAMenuIsOpen) {
    SystemVersion::setMajorVersion(13);
    menu.beginTracking();  // our application need not be active
    keyboard.press(kKeyA);
    keyboard.press(kKey1);
    menu.endTracking();
    EXPECT_EQ(calls, (std::vector<std::string>{"raw 1 0", "raw 3 0", "raw 1 18", "raw 3 18"}));
    EXPECT_EQ(menuKeys(), "down 18;up 18;");
}

TEST_F(MenuKeyboardTest, From14AnOpenMenuKeepsRawKeysFromHandlersButTrackingObserversSeeThem) {
    // What a registry does from 14 on: drain the queue before the menu's turn
    // and drop the events its Carbon handler takes.
    auto drain = RunLoopObserver::create(
        RunLoopActivity::beforeSources, true, 0, [this](RunLoopObserver&, RunLoopActivity) {
            std::vector<Event> taken;
            while (auto event =
                       app.nextEvent(EventMask::any, std::nullopt, kCFRunLoopDefaultMode, true)) {
                taken.push_back(*event);
            }
            const EventTargetRef target = eventDispatcherTarget();
            for (const auto& event : taken) {
                const bool handled =
                    event.eventRef() && sendEventToEventTarget(event.eventRef(), target) == noErr;
                if (!handled) app.postEvent(event, false);
            }
        });
    const auto draining = RunLoop::main().addObserver(drain, kEventTrackingRunLoopMode);

    menu.beginTracking();
    keyboard.press(kKeyA);
    keyboard.press(kKey1);
    menu.endTracking();
    EXPECT_EQ(menuKeys(), "down 18;up 18;");
    EXPECT_EQ(calls, (std::vector<std::string>{"raw 1 0", "raw 3 0", "raw 1 18", "raw 3 18"}));

    // With the menu closed the dispatcher sends raw keys to the handler again.
    calls.clear();
    app.activate(false);
    keyboard.press(kKey1);
    EXPECT_EQ(calls, (std::vector<std::string>{"raw 1 18", "raw 3 18"}));
    EXPECT_EQ(app.deliveredEvents().size(), 2u);
}

}  // namespace
}  // namespace zelvana::platform
