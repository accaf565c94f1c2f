#pragma once

#include "platform/appkit/Appearance.hpp"

namespace zelvana::gridpanel {

// Whether an appearance is a dark one: its best match among dark Aqua and
// Aqua is dark Aqua. Cells and the translucent view choose colours by it.
bool isDarkAppearance(const platform::Appearance& appearance);

// Whether the user default "AppleInterfaceStyle" names a dark style. Nothing
// calls it; the appearance is what counts.
bool isSystemDark();

}  // namespace zelvana::gridpanel
