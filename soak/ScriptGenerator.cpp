#include "soak/ScriptGenerator.hpp"

namespace zelvana::soak {

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

std::string ScriptGenerator::nextLine() {
    const int roll = pick(1, 100);
    if (roll <= 40) return waitLine();
    if (roll <= 85) return switchLine();
    if (roll <= 93) return "activate-other";
    return "wake";
}

std::string ScriptGenerator::waitLine() {
    const int milliseconds = pick(1, 30);
    totalWait_ += milliseconds;
    return "wait " + std::to_string(milliseconds);
}

// Mostly displays and spaces that exist, now and then ones that do not.
std::string ScriptGenerator::switchLine() {
    return "switch " + std::to_string(pick(1, 3)) + " " + std::to_string(pick(1, 4));
}

}  // namespace zelvana::soak
