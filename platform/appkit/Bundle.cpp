#include "platform/appkit/Bundle.hpp"

#include <array>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <mutex>
#include <system_error>

#include "platform/appkit/StringsTable.hpp"
#include "platform/foundation/PropertyListSerialization.hpp"

namespace zelvana::platform {

namespace fs = std::filesystem;
using StringsMap = std::map<std::string, std::string>;

namespace {

PropertyDictionary readDictionary(const fs::path& path) {
    std::error_code ignored;
    if (!fs::is_regular_file(path, ignored)) return {};
    auto value = PropertyListSerialization::readXmlFile(path);
    if (!value || !value->isDictionary()) return {};
    return *value->dictionaryValue();
}

bool isDirectory(const fs::path& path) {
    std::error_code ignored;
    return fs::is_directory(path, ignored);
}

bool isFile(const fs::path& path) {
    std::error_code ignored;
    return fs::exists(path, ignored) && !fs::is_directory(path, ignored);
}

// X.app when the executable sits at X.app/Contents/MacOS/<exe>.
std::optional<fs::path> enclosingApp(const fs::path& executable) {
    const fs::path macOS = executable.parent_path();
    const fs::path contents = macOS.parent_path();
    const fs::path app = contents.parent_path();
    if (macOS.filename() != "MacOS" || contents.filename() != "Contents") return std::nullopt;
    if (app.extension() != ".app") return std::nullopt;
    return app;
}

}  // namespace

struct Bundle::StringsCache {
    std::mutex mutex;
    std::map<std::string, std::map<std::string, std::string>> tables;
};

Bundle::Bundle(fs::path path, PropertyDictionary info, PropertyDictionary localized)
    : path_(std::move(path)),
      info_(std::move(info)),
      localizedInfo_(std::move(localized)),
      flat_(!isDirectory(path_ / "Contents")),
      strings_(std::make_shared<StringsCache>()) {}

std::string Bundle::localizedString(const std::string& key, const std::string& table) const {
    std::lock_guard lock(strings_->mutex);
    auto cached = strings_->tables.find(table);
    if (cached == strings_->tables.end()) {
        const auto path = pathForResource(table, "strings");
        cached =
            strings_->tables.emplace(table, path ? readStringsFile(*path) : StringsMap{}).first;
    }
    const auto found = cached->second.find(key);
    return found == cached->second.end() ? key : found->second;
}

Bundle Bundle::discoverMain() {
    std::error_code error;
    const fs::path executable = fs::read_symlink("/proc/self/exe", error);
    if (error) return Bundle(fs::current_path(error), {}, {});
    if (auto app = enclosingApp(executable)) {
        if (auto bundle = open(*app)) return *bundle;
    }
    return Bundle(executable.parent_path(), {}, {});
}

Bundle& Bundle::main() {
    static Bundle bundle = discoverMain();
    return bundle;
}

void Bundle::setMainBundlePathForTesting(const fs::path& path) {
    if (path.empty()) {
        main() = discoverMain();
        return;
    }
    auto bundle = open(path);
    main() = bundle ? *bundle : Bundle(path, {}, {});
}

void Bundle::setMainBundleForTesting(const Bundle& bundle) {
    main() = bundle;
}

std::optional<Bundle> Bundle::open(const fs::path& path) {
    std::error_code error;
    const fs::path absolute = fs::absolute(path, error).lexically_normal();
    if (error || !isDirectory(absolute)) return std::nullopt;
    Bundle bundle(absolute, {}, {});
    bundle.info_ = readDictionary(bundle.contentsPath() / "Info.plist");
    bundle.localizedInfo_ = readDictionary(bundle.resourcePath() / "en.lproj" / "InfoPlist.plist");
    return bundle;
}

fs::path Bundle::contentsPath() const {
    return flat_ ? path_ : path_ / "Contents";
}

fs::path Bundle::resourcePath() const {
    return flat_ ? path_ : path_ / "Contents" / "Resources";
}

std::optional<fs::path> Bundle::executablePath() const {
    auto name = infoString("CFBundleExecutable");
    if (!name || name->empty()) return std::nullopt;
    return flat_ ? path_ / *name : path_ / "Contents" / "MacOS" / *name;
}

std::optional<std::string> Bundle::bundleIdentifier() const {
    auto it = info_.find("CFBundleIdentifier");
    if (it == info_.end() || !it->second.isString()) return std::nullopt;
    return *it->second.stringValue();
}

const PropertyValue* Bundle::objectForInfoDictionaryKey(const std::string& key) const {
    if (auto it = localizedInfo_.find(key); it != localizedInfo_.end()) return &it->second;
    if (auto it = info_.find(key); it != info_.end()) return &it->second;
    return nullptr;
}

std::optional<std::string> Bundle::infoString(const std::string& key) const {
    const PropertyValue* value = objectForInfoDictionaryKey(key);
    if (!value || !value->isString()) return std::nullopt;
    return *value->stringValue();
}

std::optional<fs::path> Bundle::pathForResource(const std::string& name,
                                                const std::string& extension) const {
    const std::string file = extension.empty() ? name : name + "." + extension;
    const fs::path resources = resourcePath();
    for (const fs::path& folder : {resources, resources / "Base.lproj", resources / "en.lproj"}) {
        if (isFile(folder / file)) return folder / file;
    }
    return std::nullopt;
}

std::vector<std::filesystem::path> Bundle::packageBundleFolders() {
    const auto& main = Bundle::main();
    std::vector<std::filesystem::path> folders{main.resourcePath()};
    std::error_code error;
    const auto executable = std::filesystem::read_symlink("/proc/self/exe", error);
    if (!error) folders.push_back(executable.parent_path());
    folders.push_back(main.bundlePath());
    return folders;
}

std::optional<Bundle> Bundle::findIn(const std::vector<std::filesystem::path>& folders,
                                     const std::string& name) {
    for (const auto& folder : folders) {
        if (folder.empty()) continue;
        if (auto bundle = open(folder / name)) return bundle;
    }
    return std::nullopt;
}

const Bundle& Bundle::packageResourceBundle(const std::string& package) {
    static std::mutex mutex;
    // Nodes never move, so the references handed out stay valid.
    static std::map<std::string, Bundle> kept;
    std::lock_guard lock(mutex);
    if (const auto found = kept.find(package); found != kept.end()) return found->second;
    const std::string name = package + "_" + package;
    auto bundle = findIn(packageBundleFolders(), name + ".bundle");
    if (!bundle) {
        // A package without its resources cannot show its windows: a packaging fault.
        std::fprintf(stderr, "Fatal error: unable to find bundle named %s\n", name.c_str());
        std::abort();
    }
    return kept.emplace(package, std::move(*bundle)).first->second;
}

}  // namespace zelvana::platform
