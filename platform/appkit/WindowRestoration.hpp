#pragma once

#include <functional>
#include <optional>
#include <string>

#include "platform/appkit/Coder.hpp"

namespace zelvana::platform {

class Window;

// Restoration classes by name: a window names its class (setRestorationClass),
// and at the next launch the class's restorer rebuilds it from the saved
// identifier and state. Main thread only.
class WindowRestoration {
public:
    // Hands back the rebuilt window (non-owning: the restorer's side keeps
    // it) or an error; exactly one of the two.
    using Completion = std::function<void(Window* window, const std::optional<std::string>& error)>;
    using Restorer = std::function<void(const std::string& identifier, const Coder& state,
                                        const Completion& completion)>;

    // Registers (or replaces) the restorer of a class; an empty one removes it.
    static void registerClass(const std::string& className, Restorer restorer);
    // Null when the class has no restorer.
    static const Restorer* restorer(const std::string& className);
    static void removeAllForTesting();
};

}  // namespace zelvana::platform
