#include "soak/ScriptGenerator.hpp"

#include <array>

namespace zelvana::soak {

namespace {

constexpr std::array kModifiers{"cmd", "shift", "opt", "ctrl"};
constexpr std::array kKeys{"space",  "left",   "right", "up", "down",
                           "return", "escape", "tab",   "a",  "1"};
// The arrows with the stored arrow modifiers, and keys the panel and its
// rename popover take.
constexpr std::array kChords{"ctrl+opt+left", "ctrl+opt+right", "ctrl+opt+up", "ctrl+opt+down",
                             "left",          "right",          "return",      "escape",
                             "opt+return",    "space"};
// Shortcuts the recorder takes for the panel.
constexpr std::array kShowShortcuts{"opt+space", "ctrl+opt+p", "f6", "cmd+shift+k"};
constexpr std::array kTexts{"1", "3", "a", "mail", "Work 2", "zz"};
constexpr std::array kDirections{"left", "right", "up", "down"};
constexpr std::array kSteerings{"left", "right", "up", "down", "up-left", "down-right"};
// Every setting; the restart on wake is chosen apart.
constexpr std::array kSettings{"repetitionMode true",
                               "repetitionMode false",
                               "gesture 0",
                               "gesture 1",
                               "gesture 4",
                               "gesture 8",
                               "gridWidth 1",
                               "gridWidth 2",
                               "gridWidth 4",
                               "menuBarSpaceNumber true",
                               "menuBarSpaceNumber false",
                               "launchOnLogin true",
                               "launchOnLogin false",
                               "hideMenuBarIcon true",
                               "hideMenuBarIcon false",
                               "arrowFlags 786432",
                               "arrowFlags 524288",
                               "arrowFlags 0",
                               "relaunchOpensMenu true",
                               "relaunchOpensMenu false",
                               "spaceSizeFactor 0.2",
                               "spaceSizeFactor 0.1",
                               "anchorCountCap 50",
                               "anchorCountCap 20",
                               "anchorVisibility 1",
                               "anchorVisibility 2",
                               "anchorVisibility 3",
                               "restartOnWakeDelay 1",
                               "restartOnWakeDelay 0.5"};
// The status menu's own items; the spaces' items are their numbers.
constexpr std::array kMenuItems{"Show Zelvana", "Settings…", "About"};

}  // namespace

ScriptGenerator::ScriptGenerator(std::uint32_t seed, std::string pictures)
    : random_(seed), pictures_(std::move(pictures)) {}

std::vector<std::string> ScriptGenerator::lines(std::size_t count) {
    count_ = count;
    std::vector<std::string> script;
    script.reserve(count);
    // The launch's one-second steps run first; then the person chooses the
    // panel's shortcut and the arrows' modifiers, control-option.
    script.push_back(waitLine(1500, 1500));
    script.push_back(recordLine("opt+space"));
    script.push_back("set arrowFlags 786432");
    const Group last = ending();
    while (script.size() + last.size() < count) {
        made_ = script.size();
        Group group = nextGroup();
        if (script.size() + group.size() + last.size() > count) group = {waitLine(1, 30)};
        script.insert(script.end(), group.begin(), group.end());
    }
    script.insert(script.end(), last.begin(), last.end());
    return script;
}

int ScriptGenerator::pick(int lowest, int highest) {
    return std::uniform_int_distribution<int>(lowest, highest)(random_);
}

template <std::size_t size>
std::string ScriptGenerator::any(const std::array<const char*, size>& words) {
    return words[static_cast<std::size_t>(pick(0, static_cast<int>(size) - 1))];
}

// Chances in ten thousandths.
ScriptGenerator::Group ScriptGenerator::nextGroup() {
    int roll = pick(1, 10000);
    const auto within = [&roll](int chance) { return (roll -= chance) <= 0; };
    if (within(2986)) return {waitLine(1, 30)};
    if (within(1600)) return {switchLine()};
    if (within(1400)) return {chordLine()};
    if (within(550)) return {(pick(0, 1) ? "down " : "up ") + any(kModifiers)};
    if (within(400)) return {"press " + any(kModifiers) + "+" + any(kKeys)};
    if (within(200))
        return {gesture("swipe " + std::to_string(pick(2, 4)) + " " + any(kDirections))};
    if (within(200)) return {pick(0, 1) ? gesture("rest " + std::to_string(pick(2, 4))) : "lift"};
    if (within(200)) return {"steer " + any(kSteerings)};
    if (within(400)) return {pointerLine()};
    if (within(300)) return {"activate-other"};
    if (within(150)) return {"wake"};
    if (within(300)) return pick(0, 1) ? glanceAtMenu() : Group{"panel"};
    if (within(250)) return menuPick();
    if (within(350)) return settingLines();
    if (within(400)) return {displayLine()};
    if (within(150)) {
        return {"permission " + std::string(pick(0, 1) ? "accessibility" : "input-monitoring") +
                (pick(0, 3) ? " on" : " off")};
    }
    if (within(100)) return {"type " + any(kTexts)};
    if (within(40)) return {recordLine(any(kShowShortcuts))};
    const bool firstHalf = made_ * 2 < count_;
    if (within(20) && firstHalf) return {snapshotLine("soak.png") + (pick(0, 1) ? "" : " 2")};
    if (firstHalf) return advancedPick("Clear All Spaces");
    return {waitLine(1, 30)};
}

// With the status item shown and everything settled, the status menu opens
// (with its alternate items when option is held) and the run ends: by the
// script's own end, `quit`, a power-off or the menu's "Quit Zelvana".
ScriptGenerator::Group ScriptGenerator::ending() {
    Group group{waitLine(1500, 1500), "set hideMenuBarIcon false"};
    if (pick(0, 1)) group.push_back("down opt");
    group.push_back("menu");
    group.push_back(waitLine(100, 100));
    switch (pick(1, 4)) {
        case 1:
            group.push_back("quit");
            break;
        case 2:
            group.push_back("power-off");
            break;
        case 3:
            group.push_back("menu Quit Zelvana");
            break;
        default:
            break;
    }
    return group;
}

// The status menu opens, the up and down arrows walk its items (scrolling
// a menu taller than the screen), something that takes no keys or clicks
// happens while it is open, and Escape closes it: Return, the space bar or a
// click would choose an item, "Quit Zelvana" among them.
ScriptGenerator::Group ScriptGenerator::glanceAtMenu() {
    Group group{"menu"};
    for (int arrows = pick(0, 6); arrows > 0; --arrows) {
        group.push_back(pick(0, 1) ? "press up" : "press down");
    }
    const int roll = pick(1, 4);
    group.push_back(roll == 1   ? displayLine()
                    : roll == 2 ? switchLine()
                    : roll == 3 ? std::string("activate-other")
                                : waitLine(1, 30));
    group.push_back("press escape");
    return group;
}

std::string ScriptGenerator::waitLine(int lowest, int highest) {
    const int milliseconds = pick(lowest, highest);
    totalWait_ += milliseconds;
    return "wait " + std::to_string(milliseconds);
}

// Mostly displays and spaces that exist, now and then ones that do not.
std::string ScriptGenerator::switchLine() {
    return "switch " + std::to_string(pick(1, 5)) + " " + std::to_string(pick(1, 5));
}

// The recorded panel shortcut now and then, with shift for the way back.
std::string ScriptGenerator::chordLine() {
    if (pick(1, 5) > 1) return "press " + any(kChords);
    const bool back = pick(0, 1) && showShortcut_.find("shift") == std::string::npos;
    return "press " + std::string(back ? "shift+" : "") + showShortcut_;
}

// Swipes and rests take their time before the next line.
std::string ScriptGenerator::gesture(std::string line) {
    totalWait_ += 200;
    return line;
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

// Restart on wake goes off again before anything runs in between: a wake
// then would end the run in a relaunch.
ScriptGenerator::Group ScriptGenerator::settingLines() {
    if (pick(1, 15) == 1) return {"set autoRestartOnWake true", "set autoRestartOnWake false"};
    return {"set " + any(kSettings)};
}

std::string ScriptGenerator::recordLine(std::string shortcut) {
    showShortcut_ = std::move(shortcut);
    return "record show " + showShortcut_;
}

ScriptGenerator::Group ScriptGenerator::menuPick() {
    const int roll = pick(1, 10);
    if (roll <= 4) return {"menu " + std::to_string(pick(1, 5))};
    if (roll <= 9) return {"menu " + any(kMenuItems)};
    return advancedPick("Show Space Anchor Windows");
}

// The submenu shows while option is held. A picture after clearing marks
// the moment in the output.
ScriptGenerator::Group ScriptGenerator::advancedPick(std::string_view item) {
    Group group{"down opt", "menu Advanced > " + std::string(item), "up opt"};
    if (item == "Clear All Spaces") group.push_back(snapshotLine(clearedPicture));
    return group;
}

std::string ScriptGenerator::snapshotLine(std::string_view name) {
    return "snapshot " + pictures_ + "/" + std::string(name);
}

}  // namespace zelvana::soak
