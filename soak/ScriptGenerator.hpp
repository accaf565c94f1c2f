#pragma once

#include <array>
#include <cstdint>
#include <random>
#include <string>
#include <string_view>
#include <vector>

namespace zelvana::soak {

// A long random script for the running program, the same for the same seed:
// the user's switches, keys, typing, gestures, every menu item and setting,
// shortcut recording and pictures, the system's wake and displays coming and
// going, with short waits between. It ends with the status menu open, then
// quits in one of the ways a run can end. One thread.
class ScriptGenerator {
public:
    // Pictures go into `pictures`, a folder.
    ScriptGenerator(std::uint32_t seed, std::string pictures);

    // `count` lines, the ending among them.
    std::vector<std::string> lines(std::size_t count);
    // The milliseconds the lines made so far take in all: their waits and
    // gestures.
    double totalWait() const { return totalWait_; }

    // The picture taken right after each "Clear All Spaces", so that the
    // output tells where the program forgot every space.
    static constexpr std::string_view clearedPicture = "cleared.png";

private:
    using Group = std::vector<std::string>;

    Group nextGroup();
    Group ending();
    Group glanceAtMenu();
    std::string waitLine(int lowest, int highest);
    std::string switchLine();
    std::string chordLine();
    std::string gesture(std::string line);
    std::string pointerLine();
    std::string displayLine();
    Group settingLines();
    std::string recordLine(std::string shortcut);
    Group menuPick();
    Group advancedPick(std::string_view item);
    std::string snapshotLine(std::string_view name);
    int pick(int lowest, int highest);
    template <std::size_t size>
    std::string any(const std::array<const char*, size>& words);

    std::mt19937 random_;
    std::string pictures_;
    double totalWait_ = 0;
    // Where the script is. Pictures and clearing every space come in its
    // first half only: the second then fills the grid up to the anchor cap,
    // and the memory pictures take is in use before the memory is judged.
    std::size_t made_ = 0;
    std::size_t count_ = 0;
    std::string showShortcut_;
};

}  // namespace zelvana::soak
