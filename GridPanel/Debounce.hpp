#pragma once

namespace zelvana::gridpanel {

// A placeholder of the module's kit, without fields or operations; kept so
// that a host built against the kit finds it.
template <class T>
class Debounce {};

}  // namespace zelvana::gridpanel
