#pragma once

#include <string>

namespace zelvana::tools {

// The package's marker value; it carries nothing else.
struct Tools {
    std::string text = "Hello, World!";
};

}  // namespace zelvana::tools
