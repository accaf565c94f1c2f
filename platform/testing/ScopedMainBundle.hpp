#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "platform/appkit/Bundle.hpp"
#include "platform/foundation/PropertyList.hpp"

namespace zelvana::platform::testing {

// Makes a temporary "<name>.app" with Contents/Info.plist from `info` (and
// Contents/Resources/en.lproj/InfoPlist.plist from `localizedInfo`), and makes
// it the main bundle. The destructor puts the previous main bundle back and
// deletes the folder. Use it while no other thread reads the main bundle.
class ScopedMainBundle {
public:
    explicit ScopedMainBundle(const PropertyDictionary& info,
                              const std::optional<PropertyDictionary>& localizedInfo = std::nullopt,
                              const std::string& name = "Test");
    ~ScopedMainBundle();
    ScopedMainBundle(const ScopedMainBundle&) = delete;
    ScopedMainBundle& operator=(const ScopedMainBundle&) = delete;

    const std::filesystem::path& bundlePath() const { return bundlePath_; }
    // Contents/Resources, created empty, for resources a test adds.
    std::filesystem::path resourcePath() const { return bundlePath_ / "Contents" / "Resources"; }

private:
    std::filesystem::path root_;
    std::filesystem::path bundlePath_;
    std::unique_ptr<Bundle> previous_;
};

}  // namespace zelvana::platform::testing
