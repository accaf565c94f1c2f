#include "platform/appkit/Alert.hpp"

#include <gtest/gtest.h>

#include "platform/appkit/AlertPanel.hpp"
#include "platform/appkit/Application.hpp"
#include "platform/appkit/Sound.hpp"
#include "platform/appkit/Window.hpp"
#include "platform/dispatch/Queue.hpp"
#include "platform/simulator/Keyboard.hpp"
#include "platform/testing/SimulatedInput.hpp"
#include "platform/testing/TwoDisplayTest.hpp"

namespace zelvana::platform {
namespace {

constexpr std::uint16_t kReturnKey = 36;
constexpr std::uint16_t kEscapeKey = 53;

class AlertTest : public testing::TwoDisplayTest {
protected:
    AlertTest() {
        Alert::resetForTesting();
        testing::resetSimulatedInput();
        Sound::resetForTesting();
        Application::shared().activate(true);
    }
    ~AlertTest() override {
        Alert::resetForTesting();
        testing::resetSimulatedInput();
    }

    static Alert saveAlert() {
        Alert alert;
        alert.setMessageText("Save?");
        alert.setInformativeText("Changes are lost otherwise.");
        alert.addButtonWithTitle("Save");
        alert.addButtonWithTitle("Cancel");
        alert.addButtonWithTitle("Discard");
        return alert;
    }
    // What the person will do once the alert is up.
    static void then(std::function<void(AlertPanel&)> act) {
        mainQueue().async([act = std::move(act)] {
            auto* shown = dynamic_cast<AlertPanel*>(Window::keyWindow());
            ASSERT_NE(shown, nullptr) << "the alert is the key window";
            act(*shown);
        });
    }
    static void press(std::uint16_t key) { Keyboard::shared().press(key, {}); }
};

TEST_F(AlertTest, APersonAnswersWithAClickOrTheKeysOfTheDefaultAndCancelButtons) {
    const Alert alert = saveAlert();
    then([](AlertPanel& shown) {
        EXPECT_EQ(shown.messageText(), "Save?");
        EXPECT_EQ(shown.informativeText(), "Changes are lost otherwise.");
        ASSERT_EQ(shown.buttons().size(), 3u);
        EXPECT_TRUE(shown.isVisible());
        const Rect content{{}, shown.contentRectForFrameRect(shown.frame()).size};
        for (const auto& button : shown.buttons()) {
            EXPECT_TRUE(content.contains(button->frame())) << button->title() << " is cut off";
        }
        testing::clickMiddleOf(*shown.buttons()[2]);
    });
    EXPECT_EQ(alert.runModal(), Alert::thirdButtonReturn);
    EXPECT_EQ(Window::keyWindow(), nullptr) << "the alert is gone";

    then([](AlertPanel&) { press(kReturnKey); });
    EXPECT_EQ(alert.runModal(), Alert::firstButtonReturn);
    then([](AlertPanel&) { press(kEscapeKey); });
    EXPECT_EQ(alert.runModal(), Alert::secondButtonReturn);
    EXPECT_EQ(Alert::ranAlerts().size(), 3u);
}

TEST_F(AlertTest, ASheetCoversItsWindowUntilAnsweredAndThenTellsItsCompletion) {
    Window parent(Rect::make(200, 200, 500, 400));
    parent.setContentView(std::make_shared<View>(Rect::make(0, 0, 500, 400)));
    parent.makeKeyAndOrderFront(nullptr);
    std::vector<Alert::ModalResponse> answers;
    saveAlert().beginSheetModalForWindow(parent,
                                         [&](auto response) { answers.push_back(response); });
    auto* sheet = dynamic_cast<AlertPanel*>(parent.attachedSheet());
    ASSERT_NE(sheet, nullptr);
    EXPECT_TRUE(sheet->isKeyWindow());
    EXPECT_EQ(sheet->frame().maxY(), parent.frame().maxY()) << "hung from the top of its window";

    // The window under the sheet takes no clicks; the person hears a beep.
    testing::clickOnScreen({parent.frame().minX() + 10, parent.frame().minY() + 10});
    EXPECT_EQ(Sound::beepCount(), 1);
    EXPECT_TRUE(answers.empty());

    testing::clickMiddleOf(*sheet->buttons()[0]);
    EXPECT_EQ(answers, std::vector<Alert::ModalResponse>{Alert::firstButtonReturn});
    EXPECT_EQ(parent.attachedSheet(), nullptr);
    EXPECT_TRUE(parent.isKeyWindow());
}

TEST_F(AlertTest, AResponderAnswersInsteadOfAPersonAndEveryRunIsRecorded) {
    Alert::setResponderForTesting([](const Alert::Record& shown) {
        return shown.buttonTitles.size() > 1 ? Alert::secondButtonReturn : Alert::firstButtonReturn;
    });
    Alert plain;
    plain.setMessageText("Title");
    EXPECT_EQ(plain.runModal(), Alert::firstButtonReturn);
    EXPECT_EQ(saveAlert().runModal(), Alert::secondButtonReturn);
    ASSERT_EQ(Alert::ranAlerts().size(), 2u);
    EXPECT_EQ(Alert::ranAlerts()[0].buttonTitles, std::vector<std::string>{"OK"});
    EXPECT_EQ(Alert::ranAlerts()[1], (Alert::Record{"Save?",
                                                    "Changes are lost otherwise.",
                                                    Alert::Style::warning,
                                                    {"Save", "Cancel", "Discard"}}));
}

}  // namespace
}  // namespace zelvana::platform
