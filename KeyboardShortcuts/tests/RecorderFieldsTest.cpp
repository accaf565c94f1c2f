#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <vector>

#include "KeyboardShortcuts/AlertBuilder.hpp"
#include "KeyboardShortcuts/Recorder.hpp"
#include "KeyboardShortcuts/RecorderCocoa.hpp"
#include "KeyboardShortcuts/RecorderForPlayback.hpp"
#include "KeyboardShortcuts/RecorderModifierCocoa.hpp"
#include "KeyboardShortcuts/tests/ShortcutsTestSupport.hpp"
#include "platform/appkit/Alert.hpp"
#include "platform/appkit/Menu.hpp"
#include "platform/appkit/MenuItem.hpp"
#include "platform/appkit/Sound.hpp"
#include "platform/appkit/Window.hpp"
#include "platform/declarative/HostingView.hpp"
#include "platform/declarative/State.hpp"
#include "platform/dispatch/MainQueue.hpp"
#include "platform/system/SystemVersion.hpp"

namespace zelvana::keyboardshortcuts::test {
namespace {

using platform::Alert;
using platform::Event;
using platform::EventType;

constexpr std::uint16_t kA = 0, kK = 40, kQ = 12, kTab = 48, kDelete = 51, kEscape = 53;
constexpr std::uint16_t kF5 = 96, kF12 = 111;

Event key(std::uint16_t code, ModifierFlags flags = {}, EventType type = EventType::keyDown) {
    return Event::keyEvent(type, code, flags, "", "");
}
Event flags(ModifierFlags held) {
    Event event = key(0, held);
    event.type = EventType::flagsChanged;
    return event;
}

// A key window whose content holds the field at (10, 10), 130 by 22.
class RecorderTest : public ShortcutsTest {
protected:
    RecorderTest() {
        Alert::resetForTesting();
        platform::Sound::resetForTesting();
        window.setContentView(content);
        window.makeKeyWindow();
    }
    ~RecorderTest() override { Alert::resetForTesting(); }

    template <class Field>
    std::shared_ptr<Field> place(std::shared_ptr<Field> field) {
        field->setFrame(platform::Rect::make(10, 10, 130, 22));
        content->addSubview(field);
        window.makeFirstResponder(field.get());
        return field;
    }
    // What goes on past the application's monitors.
    static std::optional<Event> send(const Event& event) {
        return platform::EventMonitors::dispatchLocal(event);
    }
    static Alert::ModalResponse answerWith(Alert::ModalResponse response) {
        Alert::setResponderForTesting([response](const Alert::Record&) { return response; });
        return response;
    }

    const Name name{"recorded"};
    platform::Window window{platform::Rect::make(0, 0, 400, 200)};
    std::shared_ptr<platform::View> content = std::make_shared<platform::View>();
    std::vector<std::optional<Shortcut>> changes;
    RecorderCocoa::OnChange record = [this](const auto& shortcut) { changes.push_back(shortcut); };
};

TEST_F(RecorderTest, CommandKIsStoredShownReportedAndEndsRecording) {
    auto field = place(RecorderCocoa::create(name, record));
    EXPECT_TRUE(field->isRecording());
    EXPECT_TRUE(handlingPaused());
    EXPECT_EQ(field->placeholderString(), "Press Shortcut");

    EXPECT_FALSE(send(key(kK, kCommand)));
    const Shortcut commandK(Key(kK), kCommand);
    EXPECT_EQ(getShortcut(name), commandK);
    EXPECT_EQ(field->stringValue(), "\u2318K");
    EXPECT_EQ(changes, std::vector<std::optional<Shortcut>>{commandK});
    EXPECT_FALSE(field->isRecording());
    EXPECT_FALSE(handlingPaused());
    EXPECT_EQ(field->placeholderString(), "Record Shortcut");
    EXPECT_TRUE(field->cancelButtonCell());
}

TEST_F(RecorderTest, KeysThatNeedAModifierBeepAndKeepRecording) {
    auto field = place(RecorderCocoa::create(name, record));
    for (const auto& [event, beeps] :
         {std::pair{key(kA), 1}, {key(kA, kShift), 2}, {key(kEscape, kShift), 3}}) {
        EXPECT_FALSE(send(event));
        EXPECT_EQ(platform::Sound::beepCount(), beeps);
        EXPECT_TRUE(field->isRecording());
    }
    EXPECT_FALSE(getShortcut(name));
    EXPECT_TRUE(changes.empty());
    send(key(kF5, kShift));
    EXPECT_EQ(getShortcut(name), Shortcut(Key(kF5), kShift));
}

TEST_F(RecorderTest, EscapeAndTabEndRecordingAndOnlyTabReachesTheWindow) {
    setShortcut(Shortcut(Key(kK), kCommand), name);
    auto field = place(RecorderCocoa::create(name, record));
    EXPECT_FALSE(send(key(kEscape)));
    EXPECT_FALSE(field->isRecording());
    window.makeFirstResponder(field.get());
    EXPECT_TRUE(send(key(kTab)));
    EXPECT_FALSE(field->isRecording());
    EXPECT_EQ(getShortcut(name), Shortcut(Key(kK), kCommand));
    EXPECT_TRUE(changes.empty());
}

TEST_F(RecorderTest, DeleteClearsTheShortcutAndRecordingGoesOn) {
    setShortcut(Shortcut(Key(kK), kCommand), name);
    auto field = place(RecorderCocoa::create(name, record));
    send(key(kDelete));
    EXPECT_FALSE(getShortcut(name));
    EXPECT_EQ(changes, std::vector<std::optional<Shortcut>>{std::nullopt});
    EXPECT_EQ(field->stringValue(), "");
    EXPECT_FALSE(field->cancelButtonCell());
    EXPECT_TRUE(field->isRecording());
    EXPECT_TRUE(handlingPaused());
}

TEST_F(RecorderTest, AMenuItemsCombinationIsRefusedWithOneAlertNamingIt) {
    auto menu = std::make_shared<platform::Menu>();
    auto quit = std::make_shared<platform::MenuItem>("Quit Zelvana", "terminate:", "q");
    menu->addItem(quit);
    platform::Application::shared().setMainMenu(menu);
    // The system uses it too: the menu alert alone comes.
    platform::SymbolicHotKeys::shared().add(kQ, 0x100);
    auto field = place(RecorderCocoa::create(name, record));

    send(key(kQ, kCommand));
    ASSERT_EQ(Alert::ranAlerts().size(), 1u);
    const auto& shown = Alert::ranAlerts()[0];
    EXPECT_NE(shown.messageText.find("Quit Zelvana"), std::string::npos);
    EXPECT_EQ(shown.buttonTitles, std::vector<std::string>{"OK"});
    EXPECT_EQ(shown.sheetParent, &window);
    EXPECT_FALSE(getShortcut(name));
    EXPECT_TRUE(field->isRecording());
    EXPECT_TRUE(handlingPaused());
}

TEST_F(RecorderTest, ASystemCombinationIsStoredOnlyWhenTheUserInsists) {
    platform::SymbolicHotKeys::shared().add(kK, 0x100 | 0x800);
    auto field = place(RecorderCocoa::create(name, record));
    const Shortcut optionCommandK(Key(kK), kCommand | kOption);

    answerWith(1000);
    send(key(kK, kCommand | kOption));
    EXPECT_FALSE(getShortcut(name));
    EXPECT_TRUE(field->isRecording());
    ASSERT_EQ(Alert::ranAlerts().size(), 1u);
    EXPECT_EQ(Alert::ranAlerts()[0].buttonTitles, (std::vector<std::string>{"OK", "Use Anyway"}));
    EXPECT_EQ(Alert::ranAlerts()[0].style, Alert::Style::warning);

    answerWith(1001);
    send(key(kK, kCommand | kOption));
    EXPECT_EQ(getShortcut(name), optionCommandK);
    EXPECT_FALSE(field->isRecording());
    EXPECT_FALSE(handlingPaused());
}

TEST_F(RecorderTest, F12AloneIsNeverCheckedAgainstTheSystem) {
    platform::SymbolicHotKeys::shared().add(kF12, 0);
    place(RecorderCocoa::create(name, record));
    send(key(kF12));
    EXPECT_TRUE(Alert::ranAlerts().empty());
    EXPECT_EQ(getShortcut(name), Shortcut(Key(kF12), {}));
}

TEST_F(RecorderTest, AClickEndsRecordingOnlyMoreThanThreePointsOutside) {
    auto field = place(RecorderCocoa::create(name, record));
    const auto click = [&](double x) {
        return send(Event::mouseEvent(EventType::leftMouseUp, {x, 20}, &window));
    };
    EXPECT_FALSE(click(10 + 130 + 2));
    EXPECT_TRUE(field->isRecording());
    EXPECT_TRUE(click(10 + 130 + 4));
    EXPECT_FALSE(field->isRecording());
}

TEST_F(RecorderTest, EveryWayOfLeavingEndsRecordingAndUnpausesTheShortcuts) {
    const std::vector<std::function<void(platform::Window&, std::shared_ptr<RecorderField>&)>>
        leaves{
            [](auto& window, auto&) { window.resignKeyWindow(); },
            [](auto& window, auto&) { window.close(); },
            [](auto&, auto& field) { field->removeFromSuperview(); },
            [](auto& window, auto&) { window.setContentView(nullptr); },
            [](auto& window, auto&) {
                auto other = std::make_shared<platform::TextField>();
                window.contentView()->addSubview(other);
                window.makeFirstResponder(other.get());
            },
        };
    for (std::size_t i = 0; i < leaves.size(); ++i) {
        for (auto make : {+[](const Name& n) -> std::shared_ptr<RecorderField> {
                              return RecorderCocoa::create(n);
                          },
                          +[](const Name&) -> std::shared_ptr<RecorderField> {
                              return RecorderModifierCocoa::create(std::nullopt);
                          },
                          +[](const Name&) -> std::shared_ptr<RecorderField> {
                              return RecorderForPlayback::create(std::nullopt, [](const auto&) {});
                          }}) {
            window.setContentView(content);
            window.makeKeyAndOrderFront(nullptr);
            auto field = place(make(name));
            ASSERT_TRUE(handlingPaused());
            leaves[i](window, field);
            EXPECT_FALSE(handlingPaused()) << "way " << i;
            EXPECT_FALSE(field->isRecording()) << "way " << i;
            EXPECT_EQ(platform::EventMonitors::installedCount(), 0u) << "way " << i;
            field->removeFromSuperview();
        }
    }
}

TEST_F(RecorderTest, AnIdleFieldLeavingItsWindowKeepsAnotherOnesPause) {
    auto idle = place(RecorderModifierCocoa::create(std::nullopt));
    auto recording = place(RecorderCocoa::create(name));
    ASSERT_FALSE(idle->isRecording());
    idle->removeFromSuperview();
    EXPECT_TRUE(recording->isRecording());
    EXPECT_TRUE(handlingPaused());
}

TEST_F(RecorderTest, TheFieldFollowsItsNameAndChangesMadeElsewhere) {
    const Name other{"other"};
    setShortcut(Shortcut(Key(kK), kCommand), other);
    auto field = RecorderCocoa::create(name);
    EXPECT_EQ(field->stringValue(), "");
    setShortcut(Shortcut(Key(kA), kCommand), name);
    EXPECT_EQ(field->stringValue(), "\u2318A");
    field->setShortcutName(other);
    EXPECT_EQ(field->stringValue(), "\u2318K");
}

TEST_F(RecorderTest, BeforeSystem12ANameChangeEndsRecordingOnceTheTurnIsOver) {
    platform::SystemVersion::setMajorVersion(11);
    auto field = place(RecorderCocoa::create(name));
    field->setShortcutName(Name("other"));
    EXPECT_TRUE(field->isRecording());
    clock.advance(0);
    EXPECT_FALSE(field->isRecording());
    EXPECT_FALSE(handlingPaused());
}

TEST_F(RecorderTest, ModifiersAreCommittedAtTheFirstRelease) {
    std::vector<std::optional<ModifierFlags>> committed;
    auto field = place(RecorderModifierCocoa::create(
        ModifierFlags{}, [&](const auto& flags) { committed.push_back(flags); }));
    EXPECT_EQ(field->placeholderString(), "Press Modifiers");
    send(flags(kControl));
    send(flags(kControl | kOption));
    EXPECT_FALSE(send(key(kK, kControl | kOption)));
    EXPECT_TRUE(committed.empty());
    send(flags(kControl));
    EXPECT_EQ(committed, std::vector<std::optional<ModifierFlags>>{kControl | kOption});
    EXPECT_EQ(field->stringValue(), "\u2303\u2325");
    EXPECT_FALSE(field->isRecording());
    EXPECT_EQ(field->placeholderString(), "Record Modifiers");
}

TEST_F(RecorderTest, CapsLockAloneIsNeverCommittedAndDeleteClears) {
    std::vector<std::optional<ModifierFlags>> committed;
    auto field = place(RecorderModifierCocoa::create(
        kCommand, [&](const auto& flags) { committed.push_back(flags); }));
    send(flags(kCapsLock));
    send(flags({}));
    EXPECT_TRUE(committed.empty());
    EXPECT_EQ(field->stringValue(), "");
    field->setFlags(kCommand);
    send(key(kDelete));
    EXPECT_EQ(committed, std::vector<std::optional<ModifierFlags>>{std::nullopt});
    EXPECT_FALSE(field->flags());
}

TEST_F(RecorderTest, PlaybackRecordsOnlyIntoItselfWithoutChecks) {
    auto menu = std::make_shared<platform::Menu>();
    menu->addItem(std::make_shared<platform::MenuItem>("Quit", "terminate:", "q"));
    platform::Application::shared().setMainMenu(menu);
    auto field = place(RecorderForPlayback::create(std::nullopt, record));
    send(key(kQ, kCommand));
    const Shortcut commandQ(Key(kQ), kCommand);
    EXPECT_EQ(field->shortcut(), commandQ);
    EXPECT_EQ(changes, std::vector<std::optional<Shortcut>>{commandQ});
    EXPECT_TRUE(Alert::ranAlerts().empty());
    EXPECT_TRUE(activeShortcuts().empty());
    field->setShortcut(std::nullopt);
    EXPECT_EQ(field->stringValue(), "");
    EXPECT_EQ(changes.size(), 1u);
}

TEST_F(RecorderTest, AnAttachedAlertReturnsThePressedButtonOnceTheSheetIsAnswered) {
    const auto alert = makeAlert("message", std::nullopt, Alert::Style::critical, std::nullopt,
                                 {"First", "Second"});
    answerWith(1001);
    EXPECT_EQ(runModalAttached(alert, &window), 1001);
    EXPECT_EQ(Alert::ranAlerts().back().informativeText, "");
    EXPECT_EQ(platform::Application::shared().modalSessionCount(), 0u);
    EXPECT_EQ(
        runModalAttached(makeAlert("m", "more", Alert::Style::warning, std::nullopt, {}), nullptr),
        1001);
}

// The recorder field shown in `host`, and where it sits there.
RecorderCocoa* shownField(platform::View& host) {
    std::vector<platform::View*> pending{&host};
    while (!pending.empty()) {
        platform::View* view = pending.back();
        pending.pop_back();
        if (auto* field = dynamic_cast<RecorderCocoa*>(view)) return field;
        for (const auto& subview : view->subviews()) pending.push_back(subview.get());
    }
    return nullptr;
}

platform::Rect frameIn(platform::View& host, const platform::View& view) {
    return view.convertRectToView(view.bounds(), &host);
}

TEST_F(RecorderTest, TheDeclarativeRecorderSitsOnTheFormsControlColumnOnEverySystem) {
    using platform::ViewDescription;
    for (const int system : {12, 13}) {
        platform::SystemVersion::setMajorVersion(system);
        auto other = std::make_shared<platform::TextField>("other control");
        platform::HostingView host([&] {
            return ViewDescription::form(
                {Recorder("Show grid:", name).body(),
                 ViewDescription::labeledContent(ViewDescription::text("A much longer label:"),
                                                 ViewDescription::platformView<platform::TextField>(
                                                     [other] { return other; }, [](auto&) {}))});
        });
        RecorderCocoa* field = shownField(host);
        ASSERT_TRUE(field);
        EXPECT_EQ(frameIn(host, *field).minX(), frameIn(host, *other).minX())
            << "system " << system;
        const auto* label =
            dynamic_cast<platform::TextField*>(field->superview()->subviews()[0].get());
        ASSERT_TRUE(label);
        EXPECT_EQ(label->stringValue(), "Show grid:");
        EXPECT_LT(frameIn(host, *label).maxX(), frameIn(host, *field).minX())
            << "system " << system;
    }
    platform::SystemVersion::resetForTesting();

    platform::HostingView plain([&] { return Recorder(name).body(); });
    EXPECT_EQ(plain.subviews().at(0).get(), shownField(plain)) << "the field alone";
}

TEST_F(RecorderTest, ANewNameShowsInTheSameField) {
    platform::State<Name> shown(name);
    platform::HostingView host([&] { return Recorder(shown.value()).body(); });
    RecorderCocoa* field = shownField(host);
    setShortcut(Shortcut(Key(kK), kCommand), Name("other"));
    shown.set(Name("other"));
    clock.advance(0);
    EXPECT_EQ(shownField(host), field);
    EXPECT_EQ(field->stringValue(), "\u2318K");
}

TEST_F(RecorderTest, AShownViewHearsEachReleaseOfItsShortcut) {
    int releases = 0;
    platform::HostingView host([&] {
        return onShortcutEvent(platform::ViewDescription::text("x"), name,
                               keyboardshortcuts::EventType::keyUp, [&] { ++releases; });
    });
    setShortcut(Shortcut(Key(kK), kCommand), name);
    clock.advance(0);
    const auto pressAndRelease = [this] {
        handleShortcutKeyDown(Shortcut(Key(kK), kCommand));
        handleShortcutKeyUp(Shortcut(Key(kK), kCommand));
        clock.advance(0);
    };
    pressAndRelease();
    EXPECT_EQ(releases, 1);
    host.setBody([] { return platform::ViewDescription::hStack({}); });
    clock.advance(0);
    pressAndRelease();
    EXPECT_EQ(releases, 1) << "the view went, and with it the task";
}

}  // namespace
}  // namespace zelvana::keyboardshortcuts::test
