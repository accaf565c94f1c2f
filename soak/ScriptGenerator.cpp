#include "soak/ScriptGenerator.hpp"

#include <array>

namespace zelvana::soak {

namespace {

constexpr std::array kModifiers{"cmd", "shift", "opt", "ctrl"};
constexpr std::array kKeys{"space",  "left",   "right", "up", "down",
                           "return", "escape", "tab",   "a",  "1"};
// The stored "show" shortcut, the arrows with the stored arrow modifiers, and
// keys the panel takes.
constexpr std::array kChords{"opt+space",   "opt+shift+space", "ctrl+opt+left", "ctrl+opt+right",
                             "ctrl+opt+up", "ctrl+opt+down",   "left",          "right",
                             "return",      "escape"};
constexpr std::array kDirections{"left", "right", "up", "down"};
constexpr std::array kSteerings{"left", "right", "up", "down", "up-left", "down-right"};
constexpr std::array kSettings{"gridWidth 2",         "gridWidth 4",  "spaceSizeFactor 0.2",
                               "spaceSizeFactor 0.1", "gesture 0",    "gesture 1",
                               "arrowFlags 786432",   "arrowFlags 0", "hideMenuBarIcon false"};

}  // namespace

ScriptGenerator::ScriptGenerator(std::uint32_t seed) : random_(seed) {}

std::vector<std::string> ScriptGenerator::lines(std::size_t count) {
    std::vector<std::string> script;
    script.reserve(count);
    // The launch's one-second steps run first.
    script.push_back("wait 1500");
    totalWait_ += 1500;
    while (script.size() + 1 < count) script.push_back(nextLine());
    script.push_back("quit");
    return script;
}

int ScriptGenerator::pick(int lowest, int highest) {
    return std::uniform_int_distribution<int>(lowest, highest)(random_);
}

template <std::size_t size>
std::string ScriptGenerator::any(const std::array<const char*, size>& words) {
    return words[static_cast<std::size_t>(pick(0, static_cast<int>(size) - 1))];
}

std::string ScriptGenerator::nextLine() {
    const int roll = pick(1, 100);
    if (roll <= 32) return waitLine();
    if (roll <= 48) return switchLine();
    if (roll <= 63) return "press " + any(kChords);
    if (roll <= 69) return (pick(0, 1) ? "down " : "up ") + any(kModifiers);
    if (roll <= 73) return "press " + any(kModifiers) + "+" + any(kKeys);
    if (roll <= 75) return gesture("swipe " + std::to_string(pick(2, 4)) + " " + any(kDirections));
    if (roll <= 77) return pick(0, 1) ? gesture("rest " + std::to_string(pick(2, 4))) : "lift";
    if (roll <= 79) return "steer " + any(kSteerings);
    if (roll <= 83) return pointerLine();
    if (roll <= 86) return "activate-other";
    if (roll <= 88) return "wake";
    if (roll <= 91) return pick(0, 1) ? "menu" : "panel";
    if (roll <= 94) return "set " + any(kSettings);
    if (roll <= 98) return displayLine();
    return "permission " + std::string(pick(0, 1) ? "accessibility" : "input-monitoring") +
           (pick(0, 3) ? " on" : " off");
}

// Swipes and rests take their time before the next line.
std::string ScriptGenerator::gesture(std::string line) {
    totalWait_ += 200;
    return line;
}

std::string ScriptGenerator::waitLine() {
    const int milliseconds = pick(1, 30);
    totalWait_ += milliseconds;
    return "wait " + std::to_string(milliseconds);
}

// Mostly displays and spaces that exist, now and then ones that do not.
std::string ScriptGenerator::switchLine() {
    return "switch " + std::to_string(pick(1, 5)) + " " + std::to_string(pick(1, 5));
}

// Over the example desktop's two displays, the menu bar among them.
std::string ScriptGenerator::pointerLine() {
    const auto point = [this] {
        return std::to_string(pick(0, 4000)) + " " + std::to_string(pick(0, 1400));
    };
    const int roll = pick(1, 3);
    if (roll == 1) return "move " + point();
    if (roll == 2) return "click " + point();
    return "drag " + point() + " " + point();
}

// Displays 3 to 5 come and go; now and then one of the example's own goes.
std::string ScriptGenerator::displayLine() {
    const int number = pick(1, 10) <= 8 ? pick(3, 5) : pick(1, 2);
    return (pick(0, 1) ? "display add " : "display remove ") + std::to_string(number);
}

}  // namespace zelvana::soak
