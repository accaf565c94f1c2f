// The program given a broken desktop file: it refuses to start, naming the
// entry at fault on standard error, and exits with status 1.
#include "Zelvana/tests/program/ProgramFixture.hpp"

namespace zelvana::core::test {
namespace {

std::string withDisplays(const std::string& displays, const std::string& rest = "") {
    return R"({"displays": [)" + displays + "]" + rest + "}";
}

const std::string kDisplay = R"({"number": 1, "frame": [0, 0, 800, 600]})";

std::string withWindow(const std::string& window) {
    return withDisplays(
        kDisplay, R"(, "applications": [{"pid": 1, "name": "A"}], "windows": [)" + window + "]");
}

TEST_F(ProgramTest, ABrokenDesktopFileIsRefusedNamingTheEntry) {
    const struct {
        std::string text;
        std::string message;
        int status;
    } rows[] = {
        {"{", "not valid JSON (at byte 2)", 1},
        {withDisplays(kDisplay) + std::string(1, '\0') + "garbage",
         "not valid JSON (at byte " + std::to_string(withDisplays(kDisplay).size() + 1) + ")", 1},
        {"{}", "displays is missing", 1},
        {withDisplays(""), "displays is empty; a desktop has at least one display", 1},
        {withDisplays(kDisplay, R"(, "mainDisplay": 2)"), "mainDisplay is 2, which no display has",
         1},
        {withDisplays(R"({"number": 1, "frame": [0, 0, 800, 20]})"),
         "displays[0].frame is no taller than the menu bar (24 points)", 1},
        {withDisplays(R"({"number": 1, "frame": [0, 0, 800, 600]},
                        {"number": 2, "frame": [799, 0, 800, 600]})"),
         "displays[1].frame overlaps displays[0].frame", 1},
        {withDisplays(R"({"number": 1, "frame": [0, 0, 800, 600]},
                        {"number": 1, "frame": [800, 0, 800, 600]})"),
         "displays[1].number is 1, as is displays[0].number", 1},
        {withDisplays(R"({"number": 1, "frame": [0, 0, 800, 600], "spaces": [1, 2]},
                        {"number": 2, "frame": [800, 0, 800, 600], "spaces": [3, 2]})"),
         "displays[1].spaces[1] is space 2, which displays[0] holds already", 1},
        {withDisplays(R"({"number": 1, "frame": [0, 0, 800, 600], "spaces": [1, "two"]})"),
         "displays[0].spaces[1] is not a whole number from 1 to 18446744073709551615", 1},
        {withDisplays(R"({"number": 1, "frame": [0, 0, 800, 600], "spaces": []})"),
         "displays[0].spaces is empty; a display has at least one space", 1},
        {withDisplays(kDisplay, R"(, "keyboardLayout": "French")"),
         R"(keyboardLayout is "French", not "U.S." or "German")", 1},
        {withDisplays(kDisplay, R"(, "keyboardLayout": 1)"), "keyboardLayout is not text", 1},
        {withDisplays(R"({"number": 1, "frame": [0, 0, 800, 600], "spaces": [1, 2],
                         "shownSpace": 3})"),
         "displays[0].shownSpace is not one of displays[0].spaces", 1},
        {withDisplays(R"({"number": 1})"), "displays[0].frame is missing", 1},
        {withWindow(R"({"pid": 1, "bounds": [0, 0, -5, 10]})"),
         "windows[0].bounds has a negative width or height", 1},
        {withWindow(R"({"pid": 1, "bounds": [0, 0, 20000000, 10]})"),
         "windows[0].bounds holds a number beyond ±10000000", 1},
        {withWindow(R"({"pid": 2, "bounds": [0, 0, 9, 9]})"),
         "windows[0].pid is 2, which no application has", 1},
        {withWindow(R"({"pid": 1, "bounds": [0, 0, 9, 9], "layer": 2.5})"),
         "windows[0].layer is not a whole number from -2147483648 to 2147483647", 1},
        {withDisplays(kDisplay, R"(, "permissions": {"inputMonitoring": "no"})"),
         "permissions.inputMonitoring is not true or false", 1},
    };
    for (const auto& [text, message, status] : rows) {
        const auto file = write("desktop.json", text);
        const auto ended = run({"--desktop", file.string()});
        EXPECT_EQ(ended.status, status) << text;
        EXPECT_EQ(ended.errors, "cannot load the desktop: " + file.string() + ": " + message + "\n")
            << text;
        EXPECT_EQ(ended.output, "") << text;
    }
    EXPECT_FALSE(fs::exists(folders.config() / "zelvana")) << "nothing stored";
}

}  // namespace
}  // namespace zelvana::core::test
