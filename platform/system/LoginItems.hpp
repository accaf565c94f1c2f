#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>

namespace zelvana::platform {

// A program that can start at login; its entry is named after its identifier.
struct LoginItem {
    std::string bundleIdentifier;
    std::string name;
    std::filesystem::path executablePath;
};

// Raw values as the login-service status has them.
enum class LoginItemStatus { NotRegistered = 0, Enabled = 1, RequiresApproval = 2, NotFound = 3 };

struct LoginItemError {
    std::string localizedDescription;
};

// Programs that start at login on the simulated machine, kept in its state
// beside its keychain, never in the host's autostart folder:
// $XDG_DATA_HOME/zelvana/LoginItems/<bundle identifier>.desktop, in the
// desktop-entry format with Exec= the program. Two routes, as the system
// offers them: a program registers itself (status, registerItem,
// unregisterItem), or an application switches a helper inside its bundle,
// Contents/Library/LoginItems/*.app, on and off by the helper's identifier
// (setLoginItemEnabled). Thread-safe; entries are written atomically.
class LoginItems {
public:
    enum class Operation { Register, Unregister, SetEnabled };
    // Answers a failure description to make the operation fail, or nothing.
    using FailureInjector =
        std::function<std::optional<std::string>(Operation operation, const LoginItem& item)>;

    LoginItems() = delete;

    // Enabled when the entry starts this very program and the desktop has
    // not switched it off; otherwise NotRegistered.
    static LoginItemStatus status(const LoginItem& item);
    // Writes the entry, replacing one that is there.
    static std::optional<LoginItemError> registerItem(const LoginItem& item);
    // Removes the entry; an absent entry is no failure.
    static std::optional<LoginItemError> unregisterItem(const LoginItem& item);

    // Finds the helper with `helperIdentifier` in the application bundle and
    // writes or removes its entry. False when the helper is not in the
    // bundle or the entry cannot be changed.
    static bool setLoginItemEnabled(const std::filesystem::path& applicationBundle,
                                    const std::string& helperIdentifier, bool enabled);
    // True when the helper's entry is there.
    static bool isLoginItemEnabled(const std::string& helperIdentifier);

    static std::optional<std::filesystem::path> folder();
    // The entry file of an identifier.
    static std::optional<std::filesystem::path> entryPath(const std::string& bundleIdentifier);

    // An empty injector lets every operation run.
    static void setFailureInjectorForTesting(FailureInjector injector);
};

}  // namespace zelvana::platform
