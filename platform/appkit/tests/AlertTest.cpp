#include "platform/appkit/Alert.hpp"

#include <gtest/gtest.h>

namespace zelvana::platform {
namespace {

class AlertTest : public ::testing::Test {
protected:
    AlertTest() { Alert::resetForTesting(); }
    ~AlertTest() override { Alert::resetForTesting(); }
};

TEST_F(AlertTest, RunningRecordsWhatWasShownAndAnswersWithTheFirstButtonUnlessScripted) {
    Alert plain;
    plain.setMessageText("Title");
    EXPECT_EQ(plain.runModal(), Alert::firstButtonReturn);
    ASSERT_EQ(Alert::ranAlerts().size(), 1u);
    EXPECT_EQ(Alert::ranAlerts()[0].buttonTitles, std::vector<std::string>{"OK"});
    EXPECT_EQ(Alert::ranAlerts()[0].style, Alert::Style::warning);

    Alert choice;
    choice.setMessageText("Save?");
    choice.setInformativeText("Changes are lost otherwise.");
    choice.setAlertStyle(Alert::Style::critical);
    choice.addButtonWithTitle("Save");
    choice.addButtonWithTitle("Discard");
    Alert::setResponderForTesting([](const Alert::Record& shown) {
        return shown.buttonTitles.size() > 1 ? Alert::secondButtonReturn : Alert::firstButtonReturn;
    });
    EXPECT_EQ(choice.runModal(), Alert::secondButtonReturn);
    ASSERT_EQ(Alert::ranAlerts().size(), 2u);
    EXPECT_EQ(
        Alert::ranAlerts()[1],
        (Alert::Record{
            "Save?", "Changes are lost otherwise.", Alert::Style::critical, {"Save", "Discard"}}));
}

}  // namespace
}  // namespace zelvana::platform
