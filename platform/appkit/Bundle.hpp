#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/foundation/PropertyList.hpp"

namespace zelvana::platform {

// An application or resource bundle: a folder with Contents/Info.plist,
// Contents/Resources and, for programs, Contents/MacOS/<executable>. A folder
// without Contents is a flat bundle: Info.plist and resources at its top.
// Localised Info values come from Resources/en.lproj/InfoPlist.plist, an XML
// property-list dictionary. A value type: copies are independent.
class Bundle {
public:
    // The bundle of the running program: the X.app that holds the executable
    // (found from /proc/self/exe); outside a bundle, the executable's folder
    // with an empty Info dictionary. The reference stays valid for the
    // process; reading it from several threads is safe.
    static Bundle& main();
    // Tests point the main bundle at a bundle folder of their own; an empty
    // path restores the real one. For tests only: call it while no other
    // thread reads the main bundle.
    static void setMainBundlePathForTesting(const std::filesystem::path& path);
    // Puts back a main bundle saved earlier; same rules as above.
    static void setMainBundleForTesting(const Bundle& bundle);
    // Opens the bundle at `path`; absent when no folder is there. A missing or
    // unreadable Info.plist gives an empty Info dictionary.
    static std::optional<Bundle> open(const std::filesystem::path& path);
    // Where a package's resource bundle may be, in order: the main bundle's
    // resource folder, the folder of the code holding the package (the running
    // executable's) and the main bundle's own folder.
    static std::vector<std::filesystem::path> packageBundleFolders();
    // The resource bundle of `package`, "<package>_<package>.bundle", from the
    // first of packageBundleFolders() where it opens. Looked up once and kept
    // for the process; stops the process with "unable to find bundle named
    // <package>_<package>" when none has it. Safe from several threads.
    static const Bundle& packageResourceBundle(const std::string& package);

    const std::filesystem::path& bundlePath() const { return path_; }
    // <bundle>/Contents/Resources, or the bundle folder when it is flat.
    std::filesystem::path resourcePath() const;
    // <bundle>/Contents/MacOS/<CFBundleExecutable>, when the key is there.
    std::optional<std::filesystem::path> executablePath() const;
    std::optional<std::string> bundleIdentifier() const;

    const PropertyDictionary& infoDictionary() const { return info_; }
    const PropertyDictionary& localizedInfoDictionary() const { return localizedInfo_; }
    // The Info value, localised where the bundle has a localised one.
    const PropertyValue* objectForInfoDictionaryKey(const std::string& key) const;
    // The Info value when it is text.
    std::optional<std::string> infoString(const std::string& key) const;
    // A file in the resource folder (or its Base.lproj or en.lproj), when it exists.
    std::optional<std::filesystem::path> pathForResource(const std::string& name,
                                                         const std::string& extension) const;
    // The text for `key` in the resource table <table>.strings, or the key
    // itself when the table lacks it. Each table is read once and kept; safe
    // from several threads.
    std::string localizedString(const std::string& key, const std::string& table) const;

private:
    Bundle(std::filesystem::path path, PropertyDictionary info, PropertyDictionary localized);
    static Bundle discoverMain();
    // The bundle `name` in the first of `folders` where one opens; empty and
    // missing folders are skipped.
    static std::optional<Bundle> findIn(const std::vector<std::filesystem::path>& folders,
                                        const std::string& name);
    std::filesystem::path contentsPath() const;

    std::filesystem::path path_;
    PropertyDictionary info_;
    PropertyDictionary localizedInfo_;
    bool flat_ = false;
    // Shared by copies of this bundle: the same folder has the same tables.
    struct StringsCache;
    std::shared_ptr<StringsCache> strings_;
};

}  // namespace zelvana::platform
