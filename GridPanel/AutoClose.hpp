#pragma once

namespace zelvana::gridpanel {

// Whether a shown grid panel closes by itself after a while.
enum class AutoClose { off, on };

}  // namespace zelvana::gridpanel
