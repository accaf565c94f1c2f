#include "platform/system/LoginItems.hpp"

#include <fstream>
#include <map>
#include <mutex>
#include <system_error>

#include "platform/foundation/PropertyListSerialization.hpp"
#include "platform/foundation/SystemFolders.hpp"

namespace zelvana::platform {

namespace fs = std::filesystem;

namespace {

std::mutex& injectorMutex() {
    static std::mutex mutex;
    return mutex;
}

LoginItems::FailureInjector& installedInjector() {
    static LoginItems::FailureInjector instance;
    return instance;
}

std::optional<std::string> injectedFailure(LoginItems::Operation operation, const LoginItem& item) {
    LoginItems::FailureInjector current;
    {
        std::lock_guard lock(injectorMutex());
        current = installedInjector();
    }
    return current ? current(operation, item) : std::nullopt;
}

bool isUsableIdentifier(const std::string& identifier) {
    return !identifier.empty() && identifier != "." && identifier != ".." &&
           identifier.find('/') == std::string::npos;
}

// The general escapes of a desktop-entry string value.
std::string escapeValue(const std::string& text) {
    std::string escaped;
    for (const char c : text) {
        switch (c) {
            case '\\':
                escaped += "\\\\";
                break;
            case '\n':
                escaped += "\\n";
                break;
            case '\t':
                escaped += "\\t";
                break;
            case '\r':
                escaped += "\\r";
                break;
            default:
                escaped += c;
        }
    }
    return escaped;
}

// One quoted Exec argument: quotes, backquotes, dollars and backslashes are
// escaped inside the quotes, and '%' is doubled so it is no field code.
std::string execArgument(const fs::path& program) {
    std::string quoted = "\"";
    for (const char c : program.string()) {
        if (c == '"' || c == '`' || c == '$' || c == '\\') quoted += '\\';
        quoted += c;
        if (c == '%') quoted += '%';
    }
    return escapeValue(quoted + "\"");
}

std::string entryText(const LoginItem& item) {
    return "[Desktop Entry]\n"
           "Type=Application\n"
           "Name=" +
           escapeValue(item.name.empty() ? item.bundleIdentifier : item.name) +
           "\n"
           "Exec=" +
           execArgument(item.executablePath) +
           "\n"
           "X-Zelvana-BundleIdentifier=" +
           escapeValue(item.bundleIdentifier) +
           "\n"
           "X-GNOME-Autostart-enabled=true\n";
}

// The keys of the [Desktop Entry] group.
std::optional<std::map<std::string, std::string>> readEntry(const fs::path& file) {
    std::ifstream in(file);
    if (!in) return std::nullopt;
    std::map<std::string, std::string> keys;
    std::string line;
    bool inEntryGroup = false;
    while (std::getline(in, line)) {
        if (line.starts_with("[")) {
            inEntryGroup = line == "[Desktop Entry]";
            continue;
        }
        const auto equals = line.find('=');
        if (!inEntryGroup || line.starts_with("#") || equals == std::string::npos) continue;
        keys[line.substr(0, equals)] = line.substr(equals + 1);
    }
    return keys;
}

bool isSwitchedOff(const std::map<std::string, std::string>& keys) {
    const auto hidden = keys.find("Hidden");
    const auto enabled = keys.find("X-GNOME-Autostart-enabled");
    return (hidden != keys.end() && hidden->second == "true") ||
           (enabled != keys.end() && enabled->second == "false");
}

// Writers share an entry's temporary file, so changes go one at a time.
std::mutex& entryMutex() {
    static std::mutex mutex;
    return mutex;
}

std::optional<LoginItemError> writeEntry(const LoginItem& item) {
    const auto file = LoginItems::entryPath(item.bundleIdentifier);
    if (!file) return LoginItemError{"There is no login items folder for " + item.bundleIdentifier};
    std::lock_guard lock(entryMutex());
    std::error_code error;
    fs::create_directories(file->parent_path(), error);
    const fs::path temporary = file->string() + ".tmp";
    {
        std::ofstream out(temporary, std::ios::trunc);
        out << entryText(item);
        if (!out.flush()) return LoginItemError{"Cannot write " + temporary.string()};
    }
    fs::rename(temporary, *file, error);
    if (error) return LoginItemError{"Cannot write " + file->string() + ": " + error.message()};
    return std::nullopt;
}

std::optional<LoginItemError> removeEntry(const std::string& bundleIdentifier) {
    const auto file = LoginItems::entryPath(bundleIdentifier);
    if (!file) return LoginItemError{"There is no login items folder for " + bundleIdentifier};
    std::lock_guard lock(entryMutex());
    std::error_code error;
    fs::remove(*file, error);
    if (error) return LoginItemError{"Cannot remove " + file->string() + ": " + error.message()};
    return std::nullopt;
}

std::optional<std::string> infoString(const PropertyValue& info, const std::string& key) {
    const auto* dictionary = info.dictionaryValue();
    if (!dictionary) return std::nullopt;
    const auto found = dictionary->find(key);
    if (found == dictionary->end() || !found->second.stringValue()) return std::nullopt;
    return *found->second.stringValue();
}

// The helper with that identifier among <bundle>/Contents/Library/LoginItems/*.app.
std::optional<LoginItem> findHelper(const fs::path& applicationBundle,
                                    const std::string& identifier) {
    std::error_code error;
    const fs::path folder = applicationBundle / "Contents" / "Library" / "LoginItems";
    for (const auto& helper : fs::directory_iterator(folder, error)) {
        if (helper.path().extension() != ".app") continue;
        const auto info =
            PropertyListSerialization::readXmlFile(helper.path() / "Contents" / "Info.plist");
        if (!info || infoString(*info, "CFBundleIdentifier") != identifier) continue;
        const auto executable = infoString(*info, "CFBundleExecutable");
        if (!executable) return std::nullopt;
        return LoginItem{identifier,
                         infoString(*info, "CFBundleName").value_or(helper.path().stem().string()),
                         helper.path() / "Contents" / "MacOS" / *executable};
    }
    return std::nullopt;
}

}  // namespace

std::optional<fs::path> LoginItems::folder() {
    const auto support = SystemFolders::applicationSupport();
    if (!support) return std::nullopt;
    return *support / "zelvana" / "LoginItems";
}

std::optional<fs::path> LoginItems::entryPath(const std::string& bundleIdentifier) {
    const auto items = folder();
    if (!items || !isUsableIdentifier(bundleIdentifier)) return std::nullopt;
    return *items / (bundleIdentifier + ".desktop");
}

LoginItemStatus LoginItems::status(const LoginItem& item) {
    const auto file = entryPath(item.bundleIdentifier);
    if (!file) return LoginItemStatus::NotRegistered;
    const auto keys = readEntry(*file);
    if (!keys || isSwitchedOff(*keys)) return LoginItemStatus::NotRegistered;
    const auto exec = keys->find("Exec");
    // An entry for another copy of the program is not ours.
    if (exec == keys->end() || exec->second != execArgument(item.executablePath)) {
        return LoginItemStatus::NotRegistered;
    }
    return LoginItemStatus::Enabled;
}

std::optional<LoginItemError> LoginItems::registerItem(const LoginItem& item) {
    if (auto failure = injectedFailure(Operation::Register, item)) return LoginItemError{*failure};
    return writeEntry(item);
}

std::optional<LoginItemError> LoginItems::unregisterItem(const LoginItem& item) {
    if (auto failure = injectedFailure(Operation::Unregister, item)) {
        return LoginItemError{*failure};
    }
    return removeEntry(item.bundleIdentifier);
}

bool LoginItems::setLoginItemEnabled(const fs::path& applicationBundle,
                                     const std::string& helperIdentifier, bool enabled) {
    const auto helper = findHelper(applicationBundle, helperIdentifier);
    const LoginItem item = helper.value_or(LoginItem{helperIdentifier, {}, {}});
    if (injectedFailure(Operation::SetEnabled, item)) return false;
    if (!enabled) return !removeEntry(helperIdentifier);
    return helper && !writeEntry(*helper);
}

bool LoginItems::isLoginItemEnabled(const std::string& helperIdentifier) {
    const auto file = entryPath(helperIdentifier);
    if (!file) return false;
    const auto keys = readEntry(*file);
    return keys && !isSwitchedOff(*keys);
}

void LoginItems::setFailureInjectorForTesting(FailureInjector injector) {
    std::lock_guard lock(injectorMutex());
    installedInjector() = std::move(injector);
}

}  // namespace zelvana::platform
