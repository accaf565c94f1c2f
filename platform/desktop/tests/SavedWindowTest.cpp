#include "platform/simulator/SavedWindow.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace zelvana::platform {
namespace {

// What a window of `members` reads as, or none when the list is refused.
std::optional<std::vector<std::string>> identifiersOf(const std::string& members) {
    const auto windows = SavedWindow::fromJsonText("[{" + members + "}]");
    if (!windows) return std::nullopt;
    std::vector<std::string> identifiers;
    for (const auto& window : *windows) {
        identifiers.push_back(window.identifier + " " + std::to_string(window.space));
    }
    return identifiers;
}

using Read = std::optional<std::vector<std::string>>;

TEST(SavedWindowTest, EveryFormOfTheListReadsAsTheParserReadsIt) {
    SavedWindow window{"A", "SpaceSwitcher", Coder(), 3, true};
    window.state.encodeRect(Coder::frameKey, Rect::make(0.5, -2, 1, 1));
    const auto saved = SavedWindow::fromJsonText(SavedWindow::toJsonText({window, window}));
    ASSERT_TRUE(saved);
    ASSERT_EQ(saved->size(), 1u) << "one window per identifier";
    EXPECT_EQ((*saved)[0].state.decodeRect(Coder::frameKey), Rect::make(0.5, -2, 1, 1));
    EXPECT_TRUE((*saved)[0].visible);

    const std::string rest = R"("restorationClass":"C","visible":false,"state":{})";
    EXPECT_EQ(identifiersOf(R"("identifier":"A","space":2,)" + rest), Read({"A 2"}));
    // Forms saves never write: the parser's reading holds.
    EXPECT_EQ(identifiersOf(R"("identifier":"\u0041","space":2.0,"extra":[1],)" + rest),
              Read({"A 2"}));
    EXPECT_EQ(identifiersOf(R"("identifier":"A","identifier":"B","space":1e1,)" + rest),
              Read({"B 10"}));
    EXPECT_EQ(identifiersOf(R"("identifier":"A","space":2.5,)" + rest), std::nullopt);
    EXPECT_EQ(identifiersOf(R"("identifier":"A",)" + rest), std::nullopt);
    EXPECT_EQ(identifiersOf(R"("identifier":"A","space":2,"state":{"a":null},)"
                            R"("restorationClass":"C","visible":false)"),
              std::nullopt);
}

}  // namespace
}  // namespace zelvana::platform
