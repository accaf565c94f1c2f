#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "GridPanel/GridElement.hpp"
#include "GridPanel/GridPanelDelegate.hpp"
#include "platform/appkit/Color.hpp"
#include "platform/appkit/Font.hpp"
#include "platform/appkit/Image.hpp"
#include "platform/appkit/Rect.hpp"
#include "platform/appkit/StackView.hpp"
#include "platform/core/Weak.hpp"

namespace zelvana::platform {
class Menu;
}

namespace zelvana::gridpanel {

// How the host configures the panel: plain fields with fixed defaults, read
// when the panel's controllers are made. Several fields have no reader in
// the panel and are carried as they are. The delegates may go before the
// options, so they are held weakly. Main thread only.
class GridPanelOptions {
public:
    GridPanelOptions();

    bool searchField = false;
    // Nothing reads it; the platform's fonts have no weights, so the light
    // weight it would have is not kept.
    platform::Font font;
    // Corner radius of the panel.
    double radius = 7.0;
    double width = 400.0;
    double relativeWidth = 0.0;
    double height = 44.0;
    // The window title when there is no windowTitle.
    std::string placeholder = "Search";
    bool persistMatches = false;
    bool persistPosition = false;
    bool lowerPosition = false;
    platform::EdgeInsets edgeInsets{10.0, 10.0, 10.0, 10.0};
    // The visual-effect material; 6 is the popover's.
    std::int64_t material = 6;
    // Seconds.
    double debounceTime = 0.1;
    // Key codes whose key-downs go to the delegate first.
    std::vector<std::uint16_t> handledKeys;
    platform::WeakRef<GridPanelDelegate> delegate;
    platform::WeakRef<GridSearchDelegate> searchDelegate;
    std::optional<std::string> windowTitle;
    std::optional<platform::Image> buttonImage;
    double searchStackSpacing = 0.0;
    bool clearOnShow = true;
    bool highlightFirst = true;
    bool enterSelectsMatch = true;
    std::shared_ptr<platform::Menu> searchButtonMenu;
    bool matchesListFirstResponder = true;
    std::shared_ptr<platform::StackView> trailingStackView;
    bool showTitles = true;
    ElementRows grid;
    platform::Size unitSize{40.0, 40.0};
    std::optional<platform::Color> tintColor;
    platform::Size padding{0.0, 0.0};
    platform::Size unitPadding{0.0, 0.0};
    bool textFieldTypeMatch = false;
};

}  // namespace zelvana::gridpanel
