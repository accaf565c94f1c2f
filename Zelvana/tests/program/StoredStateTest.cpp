// What a run leaves behind: only files in the XDG folders it was given, the
// simulated machine's login items among them, and a word on the terminal
// when what was stored cannot be read.
#include <algorithm>
#include <iterator>

#include "Zelvana/tests/program/ProgramFixture.hpp"
#include "platform/appkit/RunningApplication.hpp"
#include "platform/foundation/PropertyListSerialization.hpp"
#include "platform/foundation/UserDefaults.hpp"

namespace zelvana::core::test {
namespace {

using namespace std::chrono_literals;

bool anyProgramRunning() {
    return !platform::RunningApplication::runningApplications("com.quorrim.Zelvana").empty() ||
           !platform::RunningApplication::runningApplications("com.quorrim.Zelvana-Helper").empty();
}

TEST_F(ProgramTest, ARunWritesOnlyInsideItsFolders) {
    const auto ended = play(
        "wait 1500\nswitch 1 2\nwait 300\nswitch 1 1\nwait 2500\n"
        "set launchOnLogin true\nset gesture 1\nset autoRestartOnWake true\n"
        "record show f5\npress f5\nwait 300\npress escape\nmenu\nwake\nwait 5000\n");
    EXPECT_EQ(ended.status, 0) << ended.errors;
    // The helper and the copy it starts write too, after the run has ended.
    EXPECT_TRUE(waitUntil([] { return !anyProgramRunning(); }, 30s));

    EXPECT_TRUE(
        fs::exists(folders.data() / "zelvana/LoginItems/com.quorrim.Zelvana.desktop") ||
        fs::exists(folders.data() / "zelvana/LoginItems/com.quorrim.Zelvana-Helper.desktop"))
        << "the simulated machine keeps its login items";
    const std::vector<fs::path> allowed{folders.config() / "zelvana", folders.data(),
                                        folders.cache() / "zelvana", folders.runtime() / "zelvana",
                                        workFolder()};
    for (const auto& item : fs::recursive_directory_iterator(folders.root())) {
        if (item.is_directory()) continue;
        const auto inside = [&](const fs::path& folder) {
            const auto relative = item.path().lexically_relative(folder);
            return !relative.empty() && *relative.begin() != "..";
        };
        EXPECT_TRUE(std::ranges::any_of(allowed, inside)) << item.path();
    }
    const auto work = std::distance(fs::directory_iterator(workFolder()), fs::directory_iterator());
    EXPECT_EQ(work, 3) << "the script and the program's output and errors";
}

std::string contents(const fs::path& file) {
    std::ifstream in(file);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void storeSetting(const std::string& key, platform::PropertyValue value) {
    platform::UserDefaults preferences("com.quorrim.Zelvana");
    preferences.set(key, std::move(value));
    ASSERT_TRUE(preferences.synchronize());
}

// What a launch finds stored that it cannot read: the word it says on
// standard error, and the file that keeps what was stored.
struct Unreadable {
    const char* name;
    std::function<void()> store;
    std::string said;      // the line up to the kept file's path
    std::string keptName;  // how the kept file's name starts and ends
    std::string keptEnding;
    std::function<void(const std::string&)> checkKept;
};

const fs::path kSavedDesktop = "zelvana/desktop.json";

TEST_F(ProgramTest, WhatCannotBeReadIsSaidAndKept) {
    const std::string grid = "[{\"id\": 12";
    const platform::PropertyDictionary gridAsDictionary{{"spaces", 3}};
    // An escape character, which an XML property list cannot carry.
    const platform::PropertyDictionary gridWithEscape{{"title", "\x1b[1mDesk"}};
    const std::string desktop = R"({"displays": [)";
    const Unreadable rows[] = {
        {"grid", [&] { storeSetting("grid", grid); },
         "zelvana: the stored grid cannot be read; its text is kept in ", "grid.corrupt-", ".json",
         [&](const std::string& kept) { EXPECT_EQ(kept, grid); }},
        {"grid as a dictionary", [&] { storeSetting("grid", gridAsDictionary); },
         "zelvana: the stored grid cannot be read; its text is kept in ", "grid.corrupt-", ".plist",
         [&](const std::string& kept) {
             EXPECT_EQ(platform::PropertyListSerialization::fromData(kept),
                       platform::PropertyValue(gridAsDictionary));
         }},
        {"grid with what XML cannot carry", [&] { storeSetting("grid", gridWithEscape); },
         "zelvana: the stored grid cannot be read; its text is kept in ", "grid.corrupt-", ".plist",
         [&](const std::string& kept) {
             EXPECT_EQ(platform::PropertyListSerialization::fromData(kept),
                       platform::PropertyValue(gridWithEscape));
         }},
        {"screens", [] { storeSetting("screens", "[1, {"); },
         "zelvana: the stored screens cannot be read; their text is kept in ", "screens.corrupt-",
         ".json", [](const std::string& kept) { EXPECT_EQ(kept, "[1, {"); }},
        {"saved desktop",
         [&] {
             fs::create_directories(folders.data() / "zelvana");
             std::ofstream(folders.data() / kSavedDesktop) << desktop;
         },
         "zelvana: the saved desktop cannot be read (", "desktop.corrupt-", ".json",
         [&](const std::string& kept) { EXPECT_EQ(kept, desktop); }},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        fs::remove_all(folders.config());
        fs::remove_all(folders.data());
        row.store();
        // No desktop given: the saved one, else a first launch's.
        const auto ended = run({"--script", write("test.script", "wait 10\n").string()});
        EXPECT_EQ(ended.status, 0) << ended.errors;
        const auto line = ended.errors.substr(0, ended.errors.find('\n'));
        ASSERT_TRUE(line.starts_with(row.said)) << ended.errors;
        const fs::path kept = line.substr(line.rfind(' ') + 1);
        EXPECT_EQ(kept.parent_path(), folders.data() / "zelvana");
        EXPECT_TRUE(kept.filename().string().starts_with(row.keptName)) << kept;
        EXPECT_EQ(kept.extension(), row.keptEnding);
        row.checkKept(contents(kept));
        EXPECT_EQ(ended.errors, line + "\n") << "said once, and nothing else";
        EXPECT_NE(contents(folders.data() / kSavedDesktop), desktop) << "the quit saved anew";
    }
}

}  // namespace
}  // namespace zelvana::core::test
