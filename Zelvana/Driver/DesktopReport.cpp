#include "Zelvana/Driver/DesktopReport.hpp"

#include <algorithm>

#include "platform/desktop/Desktop.hpp"

namespace zelvana::driver {

std::vector<std::string> describeShownSpaces() {
    std::vector<std::string> lines;
    for (const auto& display : platform::Desktop::shared().displays()) {
        const auto shown =
            std::find(display.spaces.begin(), display.spaces.end(), display.shownSpace);
        std::string line =
            "display " + std::to_string(display.number) + " \"" + display.name + "\": ";
        if (shown == display.spaces.end()) {
            line += "no space shown";
        } else {
            line += "space " + std::to_string(shown - display.spaces.begin() + 1) + " of " +
                    std::to_string(display.spaces.size());
        }
        lines.push_back(std::move(line));
    }
    return lines;
}

}  // namespace zelvana::driver
