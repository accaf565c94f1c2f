#pragma once

#include <array>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace zelvana::soak {

// A long random script for the running program, the same for the same seed:
// the user's switches, keys, gestures, menu picks and settings changes, the
// system's wake and displays coming and going, with short waits between.
// One thread.
class ScriptGenerator {
public:
    explicit ScriptGenerator(std::uint32_t seed);

    // `count` lines, ending with "quit".
    std::vector<std::string> lines(std::size_t count);
    // The milliseconds the lines made so far take in all: their waits and
    // gestures.
    double totalWait() const { return totalWait_; }

private:
    std::string nextLine();
    std::string waitLine();
    std::string switchLine();
    std::string gesture(std::string line);
    std::string pointerLine();
    std::string displayLine();
    int pick(int lowest, int highest);
    template <std::size_t size>
    std::string any(const std::array<const char*, size>& words);

    std::mt19937 random_;
    double totalWait_ = 0;
};

}  // namespace zelvana::soak
