#include "soak/SoakCheck.hpp"

#include <sys/wait.h>

#include <algorithm>
#include <map>
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

std::optional<std::string> exitFault(int waitStatus, const std::string& output) {
    if (!WIFEXITED(waitStatus)) return "the program was ended by a signal";
    const int status = WEXITSTATUS(waitStatus);
    if (status == 0) return std::nullopt;
    if (status == 1 && output.find("script line ") != std::string::npos) return std::nullopt;
    return "the program ended with status " + std::to_string(status);
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

namespace {

struct ReportLine {
    std::string display;
    std::size_t shown = 0;  // 0: no space shown
    std::size_t count = 0;
};

// Follows each display's list of spaces through the reports. A list only
// grows: a removed display's spaces go to the end of the first remaining
// one. Where the reports cannot tell which space is which (several displays
// gone at once, or a list grown without a known cause), those spaces are
// not counted when shown, so the count never exceeds the truth.
class SpaceTracker {
public:
    void read(const std::vector<ReportLine>& report) {
        moveSpacesOfVanishedDisplays(report);
        for (const auto& line : report) {
            const bool isNew = !lists_.contains(line.display);
            auto& spaces = lists_[line.display];
            // Fewer than before: the display went and came back between reports.
            const bool unexplained = !isNew && spaces.size() != line.count;
            if (spaces.size() > line.count) spaces.clear();
            while (spaces.size() < line.count) spaces.push_back(fresh(unexplained));
            if (line.shown > 0 && line.shown <= spaces.size()) {
                const int space = spaces[line.shown - 1];
                if (!unsure_.contains(space)) seen_.insert(space);
            }
        }
        previous_.clear();
        for (const auto& line : report) previous_.push_back(line.display);
    }
    std::size_t seen() const { return seen_.size(); }
    void forgetSeen() { seen_.clear(); }

private:
    void moveSpacesOfVanishedDisplays(const std::vector<ReportLine>& report) {
        std::vector<std::string> vanished;
        for (const auto& display : previous_) {
            const bool stays = std::any_of(report.begin(), report.end(), [&](const auto& line) {
                return line.display == display;
            });
            if (!stays) vanished.push_back(display);
        }
        if (vanished.empty() || report.empty()) return;
        auto& first = lists_[report.front().display];
        for (const auto& display : vanished) {
            for (const int space : lists_[display]) {
                if (vanished.size() > 1) unsure_.insert(space);
                first.push_back(space);
            }
            lists_.erase(display);
        }
    }

    int fresh(bool unsure) {
        if (unsure) unsure_.insert(next_);
        return next_++;
    }

    std::map<std::string, std::vector<int>> lists_;
    std::vector<std::string> previous_;
    std::set<int> seen_;
    std::set<int> unsure_;
    int next_ = 0;
};

}  // namespace

std::size_t spacesSeen(const std::string& output, std::string_view forgetting) {
    static const std::regex pattern(
        R"(^display (\d+) ".*": (?:space (\d+) of (\d+)|no space shown)$)");
    std::istringstream lines(output);
    std::string line;
    SpaceTracker tracker;
    std::vector<ReportLine> report;
    const auto finish = [&] {
        if (!report.empty()) tracker.read(report);
        report.clear();
    };
    while (std::getline(lines, line)) {
        std::smatch match;
        if (!std::regex_match(line, match, pattern)) {
            finish();
            if (line.starts_with("snapshot: ") && line.ends_with(forgetting)) tracker.forgetSeen();
            continue;
        }
        // A display named again starts the next report.
        const bool again = std::any_of(report.begin(), report.end(), [&](const auto& seen) {
            return seen.display == match[1].str();
        });
        if (again) finish();
        ReportLine parsed{match[1].str()};
        if (match[2].matched) {
            parsed.shown = std::stoul(match[2].str());
            parsed.count = std::stoul(match[3].str());
        }
        report.push_back(parsed);
    }
    finish();
    return tracker.seen();
}

std::optional<std::string> gridFault(const std::optional<std::string>& storedGrid,
                                     std::size_t spaces, std::size_t anchorCap) {
    if (!storedGrid) return "no grid was stored";
    std::vector<core::CodableSpace> records;
    if (!storedGrid->empty()) {
        const auto json = platform::JSONText::parse(*storedGrid);
        if (!json) return "the stored grid is not JSON";
        try {
            records = json->get<std::vector<core::CodableSpace>>();
        } catch (const std::exception& failure) {
            return std::string("the stored grid does not decode: ") + failure.what();
        }
    }
    const std::size_t most = anchorCap + 1;
    const std::size_t least = std::min(spaces, most);
    if (records.size() >= least && records.size() <= most) return std::nullopt;
    return "the stored grid holds " + std::to_string(records.size()) + " spaces, not " +
           std::to_string(least) + " to " + std::to_string(most) + " (" + std::to_string(spaces) +
           " seen)";
}

}  // namespace zelvana::soak::SoakCheck
