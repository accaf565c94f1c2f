#include "soak/SoakCheck.hpp"

#include <algorithm>
#include <regex>
#include <set>
#include <sstream>

#include "Zelvana/CodableSpace.hpp"
#include "platform/foundation/JSONText.hpp"

namespace zelvana::soak::SoakCheck {

std::optional<std::string> outputFault(const std::string& output) {
    for (const char* sign : {"ERROR: AddressSanitizer", "ERROR: LeakSanitizer",
                             "runtime error:", "terminate called", "Segmentation fault"}) {
        if (output.find(sign) != std::string::npos)
            return std::string("the output holds \"") + sign + "\"";
    }
    return std::nullopt;
}

std::optional<std::string> memoryFault(const std::vector<std::size_t>& resident) {
    if (resident.size() < 8) return std::nullopt;
    const auto quarter = resident.size() / 4;
    const auto warm = *std::max_element(resident.begin() + quarter, resident.begin() + 2 * quarter);
    const auto last = *std::max_element(resident.end() - quarter, resident.end());
    const std::size_t allowed = warm + warm / 4 + 16 * 1024;
    if (last <= allowed) return std::nullopt;
    return "memory grew from " + std::to_string(warm) + " kB after warm-up to " +
           std::to_string(last) + " kB";
}

std::size_t spacesSeen(const std::string& output) {
    static const std::regex report(
        R"(^display (\d+) ".*": (?:space \d+ of (\d+)|no space shown)$)");
    std::istringstream lines(output);
    std::string line;
    std::size_t most = 0;
    std::size_t current = 0;
    // The displays of the report being read; one seen again starts the next.
    std::set<std::string> displays;
    while (std::getline(lines, line)) {
        std::smatch match;
        if (!std::regex_match(line, match, report)) {
            displays.clear();
            continue;
        }
        if (!displays.insert(match[1].str()).second) {
            displays = {match[1].str()};
        }
        if (displays.size() == 1) current = 0;
        if (match[2].matched) current += std::stoul(match[2].str());
        most = std::max(most, current);
    }
    return most;
}

std::optional<std::string> gridFault(const std::optional<std::string>& storedGrid,
                                     std::size_t spaces) {
    if (!storedGrid) return "no grid was stored";
    const auto json = platform::JSONText::parse(*storedGrid);
    if (!json) return "the stored grid is not JSON";
    std::vector<core::CodableSpace> records;
    try {
        records = json->get<std::vector<core::CodableSpace>>();
    } catch (const std::exception& failure) {
        return std::string("the stored grid does not decode: ") + failure.what();
    }
    if (records.size() >= spaces) return std::nullopt;
    return "the stored grid holds " + std::to_string(records.size()) + " spaces of the " +
           std::to_string(spaces) + " seen";
}

}  // namespace zelvana::soak::SoakCheck
