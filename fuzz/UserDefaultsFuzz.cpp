// User-defaults files: after a change, the file read back holds every value
// the original held, and a file that could not be read is kept aside byte for
// byte instead of being overwritten.
#include <filesystem>
#include <fstream>
#include <iterator>

#include "fuzz/FuzzSupport.hpp"
#include "platform/foundation/PropertyListSerialization.hpp"
#include "platform/foundation/SystemFolders.hpp"
#include "platform/foundation/UserDefaults.hpp"

using namespace zelvana;
namespace fs = std::filesystem;

namespace {

const char* const kSuite = "com.quorrim.ZelvanaFuzz";
const char* const kProbe = "zelvanaFuzzProbe";

std::string contents(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), {});
}

bool someFileAsideHolds(const fs::path& folder, const std::string& bytes) {
    for (const auto& entry : fs::directory_iterator(folder)) {
        const auto name = entry.path().filename().string();
        if (name.find(".corrupt-") != std::string::npos && contents(entry.path()) == bytes) {
            return true;
        }
    }
    return false;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::useTemporaryHome();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const fs::path folder = *platform::SystemFolders::preferences();
    fs::remove_all(folder);
    fs::create_directories(folder);
    const std::string bytes = fuzz::text(data, size);
    std::ofstream(folder / (std::string(kSuite) + ".plist"), std::ios::binary) << bytes;

    platform::UserDefaults defaults(kSuite);
    defaults.reloadFromDisk();
    auto before = defaults.dictionaryRepresentation();
    defaults.set(kProbe, 1);
    defaults.reloadFromDisk();
    auto after = defaults.dictionaryRepresentation();

    fuzz::require(after.contains(kProbe) && after.at(kProbe) == platform::PropertyValue(1),
                  "a change survives a reload");
    before.erase(kProbe);
    after.erase(kProbe);
    const bool kept =
        fuzz::sameValue(platform::PropertyValue(before), platform::PropertyValue(after));
    fuzz::require(kept, "a change keeps every other stored value");
    const auto root = platform::PropertyListSerialization::fromData(bytes);
    if (!root || !root->isDictionary()) {
        fuzz::require(someFileAsideHolds(folder, bytes), "an unreadable file is kept aside whole");
    }
    return 0;
}
