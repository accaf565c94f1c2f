// The soak run: the real program plays a long random script under the
// sanitizers. It must end by itself, cleanly, with flat memory after warm-up,
// and leave a stored grid that decodes and holds the spaces it showed, as
// many as the anchor cap allows.
// Usage: ZelvanaSoak [--seed N] [--lines N] [--program PATH] [--desktop FILE]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <limits>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "platform/foundation/PropertyListSerialization.hpp"
#include "platform/foundation/UserDefaults.hpp"
#include "platform/foundation/WholeNumber.hpp"
#include "platform/testing/ProgramRun.hpp"
#include "platform/testing/TemporaryFolders.hpp"
#include "soak/ScriptGenerator.hpp"
#include "soak/SoakCheck.hpp"

namespace {

namespace fs = std::filesystem;
using namespace zelvana;
using namespace std::chrono_literals;

struct Options {
    std::uint32_t seed = 22;
    std::size_t lines = 20000;
    fs::path program = fs::path(ZELVANA_APP_PATH) / "Contents/MacOS/Zelvana";
    fs::path desktop = fs::path(ZELVANA_EXAMPLES_DIR) / "desktop.json";
};

// A whole number from 0 to the largest the option holds.
template <typename T>
std::optional<T> optionNumber(const std::string& text) {
    const auto value = platform::wholeNumber(text);
    if (!value || *value < 0 ||
        static_cast<std::uint64_t>(*value) > std::numeric_limits<T>::max()) {
        return std::nullopt;
    }
    return static_cast<T>(*value);
}

std::optional<Options> parseOptions(int argc, char** argv) {
    Options options;
    for (int index = 1; index + 1 < argc; index += 2) {
        const std::string option = argv[index];
        const std::string value = argv[index + 1];
        if (option == "--seed") {
            const auto seed = optionNumber<std::uint32_t>(value);
            if (!seed) return std::nullopt;
            options.seed = *seed;
        } else if (option == "--lines") {
            const auto lines = optionNumber<std::size_t>(value);
            if (!lines) return std::nullopt;
            options.lines = *lines;
        } else if (option == "--program") {
            options.program = value;
        } else if (option == "--desktop") {
            options.desktop = value;
        } else {
            return std::nullopt;
        }
    }
    if (argc % 2 == 0) return std::nullopt;
    return options;
}

std::optional<std::size_t> residentKilobytes(pid_t pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0) return std::stoul(line.substr(6));
    }
    return std::nullopt;
}

std::optional<std::string> storedGrid(const platform::testing::TemporaryFolders& folders) {
    const auto root = platform::PropertyListSerialization::readFile(
        folders.path("config/zelvana/preferences/com.quorrim.Zelvana.plist"));
    const auto* grid = root ? root->find("grid") : nullptr;
    if (!grid || !grid->stringValue()) return std::nullopt;
    return *grid->stringValue();
}

// The cap the program starts with; the script's changes to it wait for a
// launch that never comes.
constexpr std::size_t kAnchorCap = 50;

// The first gesture kind is on, so that swipes switch spaces; the script
// itself chooses the keys, as a person would after the launch.
void chooseWaysOfSwitching() {
    platform::UserDefaults preferences("com.quorrim.Zelvana");
    preferences.set("gesture", 1);
    preferences.set("anchorCountCap", static_cast<std::int64_t>(kAnchorCap));
    preferences.synchronize();
}

int fail(const std::string& fault, const std::string& output) {
    std::fprintf(stderr, "%s\n--- last output ---\n%s\nsoak: FAILED: %s\n", fault.c_str(),
                 output.substr(output.size() > 4000 ? output.size() - 4000 : 0).c_str(),
                 fault.c_str());
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    const auto options = parseOptions(argc, argv);
    if (!options) {
        std::fprintf(stderr, "usage: %s [--seed N] [--lines N] [--program PATH] [--desktop FILE]\n",
                     argv[0]);
        return 2;
    }
    platform::testing::TemporaryFolders folders;
    chooseWaysOfSwitching();
    const auto pictures = folders.path("pictures");
    fs::create_directories(pictures);
    soak::ScriptGenerator generator(options->seed, pictures.string());
    {
        std::ofstream script(folders.path("soak.script"));
        for (const auto& line : generator.lines(options->lines)) script << line << '\n';
    }
    // A small quarantine, so that freed memory held for checking does not
    // pass for growth.
    ::setenv("ASAN_OPTIONS", "quarantine_size_mb=16:detect_leaks=1", 0);
    const auto started = std::chrono::steady_clock::now();
    platform::testing::ProgramRun run(
        options->program,
        {"--desktop", options->desktop.string(), "--script", folders.path("soak.script").string()},
        folders.path("output.txt"));
    if (!run.started()) return fail("cannot start " + options->program.string(), "");
    const auto limit =
        std::chrono::milliseconds(static_cast<long>(generator.totalWait())) * 3 + 60s;
    std::vector<std::size_t> resident;
    std::optional<int> waitStatus;
    while (!(waitStatus = run.waitForExit(200ms))) {
        if (const auto size = residentKilobytes(run.pid())) resident.push_back(*size);
        if (std::chrono::steady_clock::now() - started > limit) {
            run.killNow();
            return fail("the program hung", run.output());
        }
    }
    const auto output = run.output();
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    if (auto fault = soak::SoakCheck::exitFault(*waitStatus, output)) return fail(*fault, output);
    // Its waits alone take this long: a run that ended sooner quit early.
    if (seconds < generator.totalWait() / 1000) {
        return fail("the program quit after " + std::to_string(seconds) +
                        " s, before its script's waits were over",
                    output);
    }
    if (auto fault = soak::SoakCheck::outputFault(output)) return fail(*fault, output);
    if (auto fault = soak::SoakCheck::memoryFault(resident)) return fail(*fault, output);
    const auto spaces = soak::SoakCheck::spacesSeen(output, soak::ScriptGenerator::clearedPicture);
    if (auto fault = soak::SoakCheck::gridFault(storedGrid(folders), spaces, kAnchorCap)) {
        return fail(*fault, output);
    }
    std::printf(
        "soak: seed %u, %zu lines in %.1f s; resident %zu kB at the end (peak %zu kB); "
        "%zu spaces seen since the last clearing, the stored grid as the cap of %zu allows\n",
        options->seed, options->lines, seconds, resident.empty() ? 0 : resident.back(),
        resident.empty() ? 0 : *std::max_element(resident.begin(), resident.end()), spaces,
        kAnchorCap);
    return 0;
}
