#pragma once

#include <optional>
#include <string>

#include "platform/appkit/Bundle.hpp"

namespace zelvana::tools {

// The main bundle's "CFBundleDisplayName" when it is text, else its "CFBundleName".
inline std::optional<std::string> mainBundleName() {
    const auto& bundle = platform::Bundle::main();
    if (auto name = bundle.infoString("CFBundleDisplayName")) return name;
    return bundle.infoString("CFBundleName");
}

}  // namespace zelvana::tools
