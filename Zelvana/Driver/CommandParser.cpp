#include "Zelvana/Driver/CommandParser.hpp"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
#include <cmath>
#include <limits>
#include <nlohmann/json.hpp>
#include <utility>
#include <vector>

#include "Zelvana/Driver/KeyNames.hpp"
#include "platform/foundation/JSONText.hpp"
#include "platform/foundation/WholeNumber.hpp"

namespace zelvana::driver {

namespace {

using Kind = Command::Kind;
using Words = std::vector<std::string_view>;

bool isSpace(char c) {
    return std::isspace(static_cast<unsigned char>(c)) != 0;
}

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && isSpace(text.front())) text.remove_prefix(1);
    while (!text.empty() && isSpace(text.back())) text.remove_suffix(1);
    return text;
}

Words split(std::string_view text) {
    Words words;
    while (!(text = trimmed(text)).empty()) {
        const auto end = std::find_if(text.begin(), text.end(), isSpace) - text.begin();
        words.push_back(text.substr(0, static_cast<std::size_t>(end)));
        text.remove_prefix(static_cast<std::size_t>(end));
    }
    return words;
}

// What follows the first word, inner spaces kept.
std::string_view restAfterWord(std::string_view line) {
    const auto end = std::find_if(line.begin(), line.end(), isSpace) - line.begin();
    return trimmed(line.substr(static_cast<std::size_t>(end)));
}

std::string quoted(std::string_view text) {
    return "\"" + std::string(text) + "\"";
}

std::optional<double> number(std::string_view text) {
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

// Script numbers take no plus sign.
std::optional<std::int64_t> wholeNumber(std::string_view text) {
    if (text.starts_with('+')) return std::nullopt;
    return platform::wholeNumber(text);
}

Command command(Kind kind) {
    Command made;
    made.kind = kind;
    return made;
}

// A longer wait is a slip of the finger, and would hold the run up for good.
constexpr double kLongestWait = 3600000;

ParsedLine parseWait(const Words& words) {
    const auto delay = words.size() == 2 ? number(words[1]) : std::nullopt;
    if (!delay || *delay < 0) return "\"wait\" needs a number of milliseconds, 0 or more";
    if (*delay > kLongestWait) return "\"wait\" waits an hour (3600000 ms) at most";
    auto made = command(Kind::wait);
    made.milliseconds = *delay;
    return made;
}

ParsedLine parseSwitch(const Words& words) {
    const auto display = words.size() == 3 ? wholeNumber(words[1]) : std::nullopt;
    const auto position = words.size() == 3 ? wholeNumber(words[2]) : std::nullopt;
    if (!display || !position || *display <= 0 ||
        *display > std::numeric_limits<std::uint32_t>::max() || *position <= 0) {
        return "\"switch\" needs a display number and a space position from 1, as in "
               "\"switch 1 2\"";
    }
    auto made = command(Kind::switchSpace);
    made.display = static_cast<std::uint32_t>(*display);
    made.position = static_cast<std::size_t>(*position);
    return made;
}

ParsedLine parseChordWord(const Words& words, Kind kind) {
    if (words.size() != 2) {
        return quoted(words[0]) + " needs one chord, as in \"" + std::string(words[0]) +
               " ctrl+opt+right\"";
    }
    auto chord = parseChord(words[1]);
    if (auto* refusal = std::get_if<std::string>(&chord)) return std::move(*refusal);
    auto made = command(kind);
    made.chord = std::get<Chord>(std::move(chord));
    return made;
}

ParsedLine parseType(std::string_view line) {
    const auto text = restAfterWord(line);
    if (text.empty()) return "\"type\" needs the text to type";
    auto made = command(Kind::type);
    made.text = std::string(text);
    return made;
}

std::optional<Direction> directionNamed(std::string_view name) {
    static constexpr std::array kNames{
        std::pair{std::string_view("left"), Direction::left},
        std::pair{std::string_view("right"), Direction::right},
        std::pair{std::string_view("up"), Direction::up},
        std::pair{std::string_view("down"), Direction::down},
        std::pair{std::string_view("up-left"), Direction::upLeft},
        std::pair{std::string_view("up-right"), Direction::upRight},
        std::pair{std::string_view("down-left"), Direction::downLeft},
        std::pair{std::string_view("down-right"), Direction::downRight},
    };
    for (const auto& [word, direction] : kNames) {
        if (word == name) return direction;
    }
    return std::nullopt;
}

bool isStraight(Direction direction) {
    return direction == Direction::left || direction == Direction::right ||
           direction == Direction::up || direction == Direction::down;
}

// A hand has five fingers.
std::optional<int> fingers(std::string_view text, int fewest) {
    const auto count = wholeNumber(text);
    if (!count || *count < fewest || *count > 5) return std::nullopt;
    return static_cast<int>(*count);
}

ParsedLine parseSwipe(const Words& words) {
    const auto count = words.size() == 3 ? fingers(words[1], 1) : std::nullopt;
    const auto direction = words.size() == 3 ? directionNamed(words[2]) : std::nullopt;
    if (!count || !direction || !isStraight(*direction)) {
        return "\"swipe\" needs 1 to 5 fingers and left, right, up or down, as in \"swipe 3 "
               "left\"";
    }
    auto made = command(Kind::swipe);
    made.fingers = *count;
    made.direction = *direction;
    return made;
}

ParsedLine parseRest(const Words& words) {
    const auto count = words.size() == 2 ? fingers(words[1], 2) : std::nullopt;
    if (!count) return "\"rest\" needs 2 to 5 fingers, as in \"rest 3\"";
    auto made = command(Kind::rest);
    made.fingers = *count;
    return made;
}

ParsedLine parseSteer(const Words& words) {
    const auto direction = words.size() == 2 ? directionNamed(words[1]) : std::nullopt;
    if (!direction) {
        return "\"steer\" needs a direction: left, right, up, down, up-left, up-right, "
               "down-left or down-right";
    }
    auto made = command(Kind::steer);
    made.direction = *direction;
    return made;
}

ParsedLine parsePermission(const Words& words) {
    const bool known = words.size() == 3 &&
                       (words[1] == "accessibility" || words[1] == "input-monitoring") &&
                       (words[2] == "on" || words[2] == "off");
    if (!known) {
        return "\"permission\" needs accessibility or input-monitoring, then on or off";
    }
    auto made = command(Kind::permission);
    made.permission =
        words[1] == "accessibility" ? Permission::accessibility : Permission::inputMonitoring;
    made.toggle = words[2] == "on" ? Toggle::on : Toggle::off;
    return made;
}

ParsedLine parsePoints(const Words& words, Kind kind, std::size_t count) {
    std::vector<platform::Point> points;
    for (std::size_t index = 1; words.size() == 1 + 2 * count && index < words.size(); index += 2) {
        const auto x = number(words[index]);
        const auto y = number(words[index + 1]);
        if (!x || !y) break;
        points.push_back({*x, *y});
    }
    if (points.size() != count) {
        return count == 1 ? quoted(words[0]) + " needs x and y, as in \"" + std::string(words[0]) +
                                " 100 200\""
                          : "\"drag\" needs x1 y1 x2 y2, as in \"drag 100 200 300 200\"";
    }
    auto made = command(kind);
    made.points = std::move(points);
    return made;
}

// "mouse down <x> <y>" or "mouse up".
ParsedLine parseMouse(const Words& words) {
    if (words.size() == 2 && words[1] == "up") return command(Kind::mouseUp);
    if (words.size() == 4 && words[1] == "down") {
        const auto x = number(words[2]);
        const auto y = number(words[3]);
        if (x && y) {
            auto made = command(Kind::mouseDown);
            made.points = {{*x, *y}};
            return made;
        }
    }
    return "\"mouse\" needs down and x and y, or up, as in \"mouse down 100 200\"";
}

ParsedLine parseMenu(std::string_view line) {
    auto made = command(Kind::menu);
    made.text = std::string(restAfterWord(line));
    return made;
}

ParsedLine parseAnswer(std::string_view line) {
    const auto title = restAfterWord(line);
    if (title.empty()) return "\"answer\" needs a button's title, as in \"answer OK\"";
    auto made = command(Kind::answer);
    made.text = std::string(title);
    return made;
}

ParsedLine parseSet(std::string_view line, const Words& words) {
    const auto value = words.size() >= 3 ? restAfterWord(restAfterWord(line)) : std::string_view{};
    if (value.empty()) return "\"set\" needs a key and a JSON value, as in \"set gridWidth 4\"";
    if (!platform::JSONText::isParsable(value) || !nlohmann::json::accept(value)) {
        return quoted(value) + " is no JSON value";
    }
    auto made = command(Kind::set);
    made.text = std::string(words[1]);
    made.value = std::string(value);
    return made;
}

ParsedLine parseRecord(const Words& words) {
    if (words.size() != 3)
        return "\"record\" needs a shortcut and a chord, as in \"record show cmd+space\"";
    auto chord = parseChord(words[2]);
    if (auto* refusal = std::get_if<std::string>(&chord)) return std::move(*refusal);
    auto made = command(Kind::record);
    made.text = std::string(words[1]);
    made.chord = std::get<Chord>(std::move(chord));
    return made;
}

ParsedLine parseSnapshot(const Words& words) {
    const bool png =
        words.size() >= 2 && words[1].size() > 4 && words[1].substr(words[1].size() - 4) == ".png";
    const auto display = words.size() == 3 ? wholeNumber(words[2]) : std::optional<std::int64_t>(0);
    if (!png || words.size() > 3 || !display || *display < 0 ||
        *display > std::numeric_limits<std::uint32_t>::max()) {
        return "\"snapshot\" needs a .png file and may name a display, as in \"snapshot "
               "screen.png 1\"";
    }
    auto made = command(Kind::snapshot);
    made.text = std::string(words[1]);
    made.display = static_cast<std::uint32_t>(*display);
    return made;
}

// "display add <number>" or "display remove <number>".
ParsedLine parseDisplay(const Words& words) {
    const auto number = words.size() == 3 ? wholeNumber(words[2]) : std::nullopt;
    const bool known = words.size() == 3 && (words[1] == "add" || words[1] == "remove");
    if (!known || !number || *number <= 0 || *number > std::numeric_limits<std::uint32_t>::max()) {
        return "\"display\" needs add or remove and a display number, as in \"display add 3\"";
    }
    auto made = command(words[1] == "add" ? Kind::addDisplay : Kind::removeDisplay);
    made.display = static_cast<std::uint32_t>(*number);
    return made;
}

// The words that take nothing after them.
std::optional<Kind> bareWord(std::string_view word) {
    static constexpr std::array kWords{
        std::pair{std::string_view("quit"), Kind::quit},
        std::pair{std::string_view("wake"), Kind::wake},
        std::pair{std::string_view("power-off"), Kind::powerOff},
        std::pair{std::string_view("activate-other"), Kind::activateOther},
        std::pair{std::string_view("lift"), Kind::lift},
        std::pair{std::string_view("panel"), Kind::panel},
        std::pair{std::string_view("controls"), Kind::controls},
        std::pair{std::string_view("close"), Kind::close},
    };
    for (const auto& [name, kind] : kWords) {
        if (name == word) return kind;
    }
    return std::nullopt;
}

ParsedLine parseWords(std::string_view line, const Words& words) {
    const auto word = words[0];
    if (const auto kind = bareWord(word)) {
        if (words.size() == 1) return command(*kind);
        return quoted(word) + " takes nothing after it";
    }
    if (word == "wait") return parseWait(words);
    if (word == "switch") return parseSwitch(words);
    if (word == "down") return parseChordWord(words, Kind::keyDown);
    if (word == "up") return parseChordWord(words, Kind::keyUp);
    if (word == "press") return parseChordWord(words, Kind::keyPress);
    if (word == "type") return parseType(line);
    if (word == "swipe") return parseSwipe(words);
    if (word == "rest") return parseRest(words);
    if (word == "steer") return parseSteer(words);
    if (word == "permission") return parsePermission(words);
    if (word == "move") return parsePoints(words, Kind::move, 1);
    if (word == "click") return parsePoints(words, Kind::click, 1);
    if (word == "drag") return parsePoints(words, Kind::drag, 2);
    if (word == "mouse") return parseMouse(words);
    if (word == "menu") return parseMenu(line);
    if (word == "answer") return parseAnswer(line);
    if (word == "set") return parseSet(line, words);
    if (word == "record") return parseRecord(words);
    if (word == "snapshot") return parseSnapshot(words);
    if (word == "display") return parseDisplay(words);
    return "unknown command " + quoted(line);
}

}  // namespace

ParsedLine parseCommandLine(std::string_view line) {
    line = trimmed(line);
    if (line.empty() || line.front() == '#') return std::monostate{};
    return parseWords(line, split(line));
}

std::variant<Chord, std::string> parseChord(std::string_view text) {
    Chord chord;
    std::string_view rest = text;
    while (true) {
        const auto end = rest.find('+');
        const auto name = rest.substr(0, end);
        if (name.empty()) return "a key is missing in " + quoted(text);
        if (const auto modifier = modifierNamed(name)) {
            if (std::ranges::find(chord.modifiers, *modifier) != chord.modifiers.end()) {
                return quoted(name) + " comes twice in " + quoted(text);
            }
            chord.modifiers.push_back(*modifier);
        } else if (const auto key = keyCodeNamed(name)) {
            if (chord.key) return quoted(text) + " holds two keys that are no modifiers";
            chord.key = key;
        } else {
            return "unknown key " + quoted(name) + " in " + quoted(text);
        }
        if (end == std::string_view::npos) return chord;
        rest.remove_prefix(end + 1);
    }
}

}  // namespace zelvana::driver
