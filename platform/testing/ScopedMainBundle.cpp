#include "platform/testing/ScopedMainBundle.hpp"

#include <gtest/gtest.h>
#include <stdlib.h>

#include "platform/foundation/PropertyListSerialization.hpp"

namespace zelvana::platform::testing {

namespace fs = std::filesystem;

namespace {

fs::path makeTemporaryFolder() {
    std::string pattern = fs::temp_directory_path() / "zelvana-bundle-XXXXXX";
    if (!::mkdtemp(pattern.data())) ADD_FAILURE() << "cannot make " << pattern;
    return pattern;
}

void writeDictionary(const fs::path& path, const PropertyDictionary& dictionary) {
    std::error_code ignored;
    fs::create_directories(path.parent_path(), ignored);
    std::string error;
    if (!PropertyListSerialization::writeXmlFile(path, PropertyValue(dictionary), &error)) {
        ADD_FAILURE() << "cannot write " << path << ": " << error;
    }
}

}  // namespace

ScopedMainBundle::ScopedMainBundle(const PropertyDictionary& info,
                                   const std::optional<PropertyDictionary>& localizedInfo,
                                   const std::string& name)
    : root_(makeTemporaryFolder()),
      bundlePath_(root_ / (name + ".app")),
      previous_(std::make_unique<Bundle>(Bundle::main())) {
    std::error_code ignored;
    fs::create_directories(bundlePath_ / "Contents" / "MacOS", ignored);
    fs::create_directories(resourcePath(), ignored);
    writeDictionary(bundlePath_ / "Contents" / "Info.plist", info);
    if (localizedInfo) {
        writeDictionary(resourcePath() / "en.lproj" / "InfoPlist.plist", *localizedInfo);
    }
    Bundle::setMainBundlePathForTesting(bundlePath_);
}

ScopedMainBundle::~ScopedMainBundle() {
    Bundle::setMainBundleForTesting(*previous_);
    std::error_code ignored;
    fs::remove_all(root_, ignored);
}

}  // namespace zelvana::platform::testing
