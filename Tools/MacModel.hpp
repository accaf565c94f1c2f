#pragma once

#include <optional>
#include <string>

namespace zelvana::tools {

// The machine's hardware model, from the I/O registry. Never instantiated; any thread.
class MacModel {
public:
    MacModel() = delete;

    // The platform expert's "model" as UTF-8 text without its trailing NUL
    // bytes; none when the property is missing, not data, not UTF-8 or empty.
    static std::optional<std::string> modelIdentifier();
    // The model's name contains "book", in any case.
    static bool isLaptop();
};

}  // namespace zelvana::tools
