#pragma once

#include <cstddef>
#include <source_location>
#include <string_view>

namespace zelvana::logging {

// Where a log call was made. Made from std::source_location at the call site
// while compiling, so a log call pays nothing for working out its signature.
struct CallSite {
    consteval CallSite(std::source_location here = std::source_location::current())
        : file(here.file_name()),
          function(signature(here.function_name())),
          line(static_cast<int>(here.line())) {}
    constexpr CallSite(std::string_view file, std::string_view function, int line)
        : file(file), function(function), line(line) {}

    // "void ns::Type::launch(int) const" -> "launch(int)": the unqualified
    // name and its parameter list, a view into the given text.
    static constexpr std::string_view signature(std::string_view name);

    std::string_view file;
    std::string_view function;
    int line;
};

constexpr std::string_view CallSite::signature(std::string_view name) {
    constexpr auto npos = std::string_view::npos;
    // " [with T = int]" names template arguments, not the call site.
    if (const auto with = name.rfind(" [with "); with != npos && name.ends_with(']')) {
        name = name.substr(0, with);
    }
    // A lambda reports as "outer(args)::<lambda()>"; the caller is the outer function.
    while (name.ends_with('>')) {
        const auto lambda = name.rfind("::<lambda");
        if (lambda == npos) break;
        name = name.substr(0, lambda);
    }
    const auto close = name.rfind(')');
    if (close == npos) return name;
    std::size_t open = close;
    for (int depth = 0; open != npos; --open) {
        if (name[open] == ')') ++depth;
        if (name[open] == '(' && --depth == 0) break;
    }
    if (open == npos) return name;
    std::size_t start = open;
    for (int angle = 0; start > 0; --start) {
        const char c = name[start - 1];
        if (c == '>') ++angle;
        if (c == '<' && angle > 0) --angle;
        if (angle == 0 && (c == ' ' || c == ':')) break;
    }
    return name.substr(start, close + 1 - start);
}

}  // namespace zelvana::logging
