#pragma once

#include <array>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "KeyboardShortcuts/Name.hpp"
#include "Zelvana/BoundedDefault.hpp"
#include "Zelvana/CodableScreen.hpp"
#include "Zelvana/CodableSpace.hpp"
#include "platform/appkit/Event.hpp"
#include "platform/foundation/PropertyList.hpp"
#include "settings/BoolDefault.hpp"
#include "settings/FloatDefault.hpp"
#include "settings/IntDefault.hpp"
#include "settings/IntEnumDefault.hpp"
#include "settings/JSONDefault.hpp"
#include "settings/OptionalBoolDefault.hpp"
#include "switcher/SpaceAnchorVisibility.hpp"

namespace zelvana::settings {

template <>
struct EnumCases<switcher::SpaceAnchorVisibility> {
    static constexpr auto all = switcher::kAllSpaceAnchorVisibilities;
};

}  // namespace zelvana::settings

namespace zelvana::core {

// The application's settings, one shared object per user-defaults key, named
// like the key. Each is made on its first access (from any thread) and lives
// until the process ends, so its value is read from the defaults then and
// changes only through its own setter. Never instantiated.
class GlobalDefaults {
public:
    using Grid = settings::JSONDefault<std::vector<CodableSpace>, StoredGridReading>;
    using Screens = settings::JSONDefault<CodableScreenMap>;
    using AnchorVisibility = settings::IntEnumDefault<switcher::SpaceAnchorVisibility>;

    GlobalDefaults() = delete;

    // The shortcut that opens the grid panel; none by default.
    static const keyboardshortcuts::Name& show();
    // Steps backwards in repetition mode; none by default.
    static const keyboardshortcuts::Name& cycleReverse();
    static settings::BoolDefault& hideMenuBarIcon();
    static settings::BoolDefault& launchOnLogin();
    static settings::BoolDefault& relaunchOpensMenu();
    // Every known space; clearing it writes the empty text.
    static Grid& grid();
    // The displays seen so far; clearing it writes the empty text.
    static Screens& screens();
    // Modifier flags that, held with an arrow key, move to the next space.
    static settings::IntDefault& arrowFlags();
    // arrowFlags as modifier flags; a negative value, which the recorder never
    // writes, counts as none (with a warning) and stays stored.
    static platform::ModifierFlags storedArrowFlags();
    // 0 off, 1 to 8 the gesture kind.
    static settings::IntDefault& gesture();
    // Columns of a display's grid; 3, and a stored value below 1 reads 3.
    static PositiveIntDefault& gridWidth();
    // A cell's share of the display; 0.13, and a stored value outside
    // (0, 1] reads 0.13.
    static BoundedDoubleDefault& spaceSizeFactor();
    static settings::OptionalBoolDefault& repetitionMode();
    static settings::OptionalBoolDefault& menuBarSpaceNumber();
    // The switcher keeps at most this many anchors plus one; 50, and a stored
    // value below 1 reads 50.
    static PositiveIntDefault& anchorCountCap();
    static AnchorVisibility& anchorVisibility();
    static settings::OptionalBoolDefault& autoRestartOnWake();
    // Seconds between waking and the relaunch; 1.0.
    static settings::FloatDefault& restartOnWakeDelay();

    // The value of `key` among the user's global defaults, of any type.
    static std::optional<platform::PropertyValue> globalDomainValue(const std::string& key);

    // For tests: forgets every setting object, so the next access reads the
    // defaults again, as at a new launch. References handed out before become
    // invalid. Reset the settings module's state with it.
    static void resetForTesting();
};

// Tidies the setting `screens` after the spaces were saved: prunes it against
// `spaces`, or, when none are given, against the setting `grid`. Writes only
// when a record went; an absent or unreadable setting is left as it is.
void pruneStoredScreens(const std::optional<std::vector<CodableSpace>>& spaces);
// The same against the displays that the saved spaces have cells on.
void pruneStoredScreens(const std::set<DisplayNumber>& referenced);

}  // namespace zelvana::core
