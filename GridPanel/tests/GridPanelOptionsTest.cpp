#include "GridPanel/GridPanelOptions.hpp"

#include <gtest/gtest.h>

namespace zelvana::gridpanel {
namespace {

TEST(GridPanelOptionsTest, StartsWithTheDocumentedDefaults) {
    const GridPanelOptions options;
    EXPECT_EQ(options.radius, 7.0);
    EXPECT_EQ(options.width, 400.0);
    EXPECT_EQ(options.height, 44.0);
    EXPECT_EQ(options.edgeInsets, (platform::EdgeInsets{10.0, 10.0, 10.0, 10.0}));
    EXPECT_EQ(options.material, 6);
    EXPECT_EQ(options.debounceTime, 0.1);
    EXPECT_EQ(options.unitSize, (platform::Size{40.0, 40.0}));
    EXPECT_EQ(options.placeholder, "Search");
    EXPECT_TRUE(options.showTitles);
    EXPECT_FALSE(options.textFieldTypeMatch);
    EXPECT_TRUE(options.handledKeys.empty());
    EXPECT_FALSE(options.delegate);
    EXPECT_FALSE(options.windowTitle);
    EXPECT_EQ(options.font.pointSize(), 20.0);
    EXPECT_TRUE(options.clearOnShow);
    EXPECT_TRUE(options.highlightFirst);
    EXPECT_TRUE(options.enterSelectsMatch);
    EXPECT_TRUE(options.matchesListFirstResponder);
    EXPECT_EQ(options.padding, (platform::Size{0.0, 0.0}));
}

}  // namespace
}  // namespace zelvana::gridpanel
