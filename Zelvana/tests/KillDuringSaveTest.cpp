// Saves that survive a kill: the real program, switching spaces and so saving
// its settings and the grid, is killed with SIGKILL at random moments. Every
// restart must find whole stored values, never a cut-short or empty file, and
// start normally.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "Zelvana/CodableScreen.hpp"
#include "Zelvana/CodableSpace.hpp"
#include "platform/foundation/JSONText.hpp"
#include "platform/foundation/PropertyListSerialization.hpp"
#include "platform/testing/ProgramRun.hpp"
#include "platform/testing/TemporaryFolders.hpp"

namespace zelvana::core::test {
namespace {

namespace fs = std::filesystem;
using platform::testing::ProgramRun;
using namespace std::chrono_literals;
using platform::PropertyListSerialization::readFile;

const fs::path kProgram = fs::path(ZELVANA_APP_PATH) / "Contents/MacOS/Zelvana";
const fs::path kDesktop = fs::path(ZELVANA_EXAMPLES_DIR) / "desktop.json";

// Switches back and forth on both displays, each a save of the grid.
std::string busyScript() {
    std::string script = "wait 200\n";
    for (int round = 0; round < 40; ++round) {
        script += "switch 1 " + std::to_string(round % 3 + 1) + "\nwait 40\n";
        script += "switch 2 " + std::to_string(round % 2 + 1) + "\nwait 40\n";
    }
    return script + "quit\n";
}

template <typename T>
::testing::AssertionResult decodes(const platform::PropertyDictionary& stored, const char* key) {
    const auto found = stored.find(key);
    if (found == stored.end()) return ::testing::AssertionSuccess();
    const auto* text = found->second.stringValue();
    if (!text) return ::testing::AssertionFailure() << key << " is not text";
    // Cleared, as a reset stores it.
    if (text->empty() || *text == "null") return ::testing::AssertionSuccess();
    const auto json = platform::JSONText::parse(*text);
    if (!json) return ::testing::AssertionFailure() << key << " is not JSON: " << *text;
    try {
        json->get<T>();
    } catch (const std::exception& failure) {
        return ::testing::AssertionFailure() << key << " does not decode: " << failure.what();
    }
    return ::testing::AssertionSuccess();
}

class KillDuringSaveTest : public ::testing::Test {
protected:
    fs::path preferences() const { return folders_.path("config/zelvana/preferences"); }
    fs::path settingsFile() const { return preferences() / "com.quorrim.Zelvana.plist"; }

    ProgramRun start(const std::string& script) {
        const fs::path file = folders_.path("busy.script");
        std::ofstream(file) << script;
        return ProgramRun(kProgram, {"--desktop", kDesktop.string(), "--script", file.string()},
                          folders_.path("output.txt"));
    }

    // Whole files only: the settings read as a dictionary whose grid and
    // screens decode. Beside them at most one half-written file, of a killed
    // run: each save removes those of ended writers first, so none pile up.
    // (A run killed before its first save leaves the one before it.)
    void expectWholeStoredValues(int attempt) {
        if (!fs::exists(preferences())) return;
        int strays = 0;
        for (const auto& entry : fs::directory_iterator(preferences())) {
            if (entry.path() == settingsFile()) continue;
            const auto name = entry.path().filename().string();
            ++strays;
            EXPECT_TRUE(writtenByAKilledRun(name))
                << "after kill " << attempt << " a stray file " << name;
        }
        EXPECT_LE(strays, 1) << "after kill " << attempt;
        if (!fs::exists(settingsFile())) return;
        std::string error;
        const auto root = readFile(settingsFile(), &error);
        ASSERT_TRUE(root && root->isDictionary()) << "after kill " << attempt << ": " << error;
        const auto& stored = *root->dictionaryValue();
        EXPECT_TRUE(decodes<std::vector<CodableSpace>>(stored, "grid")) << "kill " << attempt;
        EXPECT_TRUE(decodes<CodableScreenMap>(stored, "screens")) << "kill " << attempt;
        EXPECT_TRUE(stored.contains("grid") || !sawGrid_) << "the grid went after kill " << attempt;
        sawGrid_ = sawGrid_ || stored.contains("grid");
    }

    bool writtenByAKilledRun(const std::string& name) const {
        return std::ranges::any_of(killed_, [&](pid_t pid) {
            return name.starts_with(".com.quorrim.Zelvana.plist." + std::to_string(pid) + ".");
        });
    }

    platform::testing::TemporaryFolders folders_;
    bool sawGrid_ = false;
    std::vector<pid_t> killed_;
};

TEST_F(KillDuringSaveTest, EveryRestartFindsWholeValuesAndStarts) {
    ASSERT_TRUE(fs::exists(kProgram)) << kProgram;
    std::mt19937 random(22);
    std::uniform_int_distribution<int> moment(100, 2500);
    for (int attempt = 1; attempt <= 24; ++attempt) {
        auto run = start(busyScript());
        ASSERT_TRUE(run.started());
        std::this_thread::sleep_for(std::chrono::milliseconds(moment(random)));
        run.killNow();
        killed_.push_back(run.pid());
        expectWholeStoredValues(attempt);
        if (HasFatalFailure()) return;
    }
    EXPECT_TRUE(sawGrid_) << "no kill came after a save of the grid";

    auto last = start("wait 300\nswitch 1 2\nwait 400\nquit\n");
    ASSERT_TRUE(last.waitForExit(20s)) << last.output();
    EXPECT_TRUE(last.exitedCleanly()) << last.output();
    EXPECT_NE(last.output().find("running"), std::string::npos) << last.output();
    EXPECT_NE(last.output().find("display 1"), std::string::npos) << last.output();
    killed_.clear();
    expectWholeStoredValues(0);
}

}  // namespace
}  // namespace zelvana::core::test
