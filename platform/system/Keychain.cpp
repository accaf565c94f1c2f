#include "platform/system/Keychain.hpp"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <map>
#include <mutex>

#include "platform/foundation/FileManager.hpp"
#include "platform/foundation/PropertyListSerialization.hpp"
#include "platform/foundation/SystemFolders.hpp"

namespace zelvana::platform {

namespace {

namespace fs = std::filesystem;

// The item attributes under the names and keys the system uses.
constexpr const char* kSecClass = "class";
constexpr const char* kSecClassGenericPassword = "genp";
constexpr const char* kSecAttrAccount = "acct";
constexpr const char* kSecAttrAccessible = "pdmn";
constexpr const char* kSecValueData = "v_Data";

std::mutex& keychainMutex() {
    static std::mutex mutex;
    return mutex;
}

Keychain::FailureInjector& installedInjector() {
    static Keychain::FailureInjector injector;
    return injector;
}

std::optional<OSStatus> injectedFailure(Keychain::Operation operation) {
    // Called with the keychain's lock held, which also guards the injector.
    const auto& injector = installedInjector();
    return injector ? injector(operation) : std::nullopt;
}

const char* accessibleValue(KeychainAccessibility accessible) {
    return accessible == KeychainAccessibility::whenUnlocked ? "ak" : "ck";
}

// Holds an exclusive flock on the keychain's lock file, against other processes.
class FileLock {
public:
    explicit FileLock(const fs::path& path)
        : fd_(::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600)) {
        if (fd_ >= 0) ::flock(fd_, LOCK_EX);
    }
    ~FileLock() {
        if (fd_ >= 0) ::close(fd_);
    }
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;
    bool isLocked() const { return fd_ >= 0; }

private:
    int fd_;
};

// The items of the file; an absent file has none.
std::optional<PropertyArray> readItems(const fs::path& file, OSStatus& status) {
    std::error_code error;
    if (!fs::exists(file, error)) return PropertyArray{};
    auto contents = FileManager::defaultManager().contentsAtPath(file);
    if (!contents) {
        status = KeychainStatus::io;
        return std::nullopt;
    }
    auto value = PropertyListSerialization::fromData(*contents);
    if (!value || !value->arrayValue()) {
        status = KeychainStatus::decode;
        return std::nullopt;
    }
    return *value->arrayValue();
}

bool isGenericPasswordOf(const PropertyValue& item, const std::string& account) {
    const auto* fields = item.dictionaryValue();
    if (!fields) return false;
    const auto kind = fields->find(kSecClass);
    const auto owner = fields->find(kSecAttrAccount);
    return kind != fields->end() && kind->second.stringValue() &&
           *kind->second.stringValue() == kSecClassGenericPassword && owner != fields->end() &&
           owner->second.stringValue() && *owner->second.stringValue() == account;
}

OSStatus writeItems(const fs::path& file, const PropertyArray& items) {
    if (!PropertyListSerialization::writeFile(file, PropertyValue(items))) {
        return KeychainStatus::io;
    }
    // Only the owner may read the keychain, whatever the file was before.
    return ::chmod(file.c_str(), 0600) == 0 ? KeychainStatus::success : KeychainStatus::io;
}

PropertyDictionary fieldsOf(const GenericPassword& item) {
    PropertyDictionary fields;
    fields[kSecClass] = PropertyValue(std::string(kSecClassGenericPassword));
    fields[kSecAttrAccount] = PropertyValue(item.account);
    fields[kSecAttrAccessible] = PropertyValue(std::string(accessibleValue(item.accessible)));
    fields[kSecValueData] = PropertyValue(item.data);
    return fields;
}

bool makeFolder(const fs::path& folder) {
    if (!FileManager::defaultManager().createDirectory(folder, true)) return false;
    return ::chmod(folder.c_str(), 0700) == 0;
}

}  // namespace

std::optional<fs::path> Keychain::location() {
    const auto support = SystemFolders::applicationSupport();
    if (!support) return std::nullopt;
    return *support / "zelvana" / "Keychains" / "login.keychain";
}

OSStatus Keychain::add(const GenericPassword& item) {
    std::lock_guard lock(keychainMutex());
    if (auto failure = injectedFailure(Operation::add)) return *failure;
    const auto file = location();
    if (!file) return KeychainStatus::notAvailable;
    if (!makeFolder(file->parent_path())) return KeychainStatus::io;
    FileLock fileLock(file->string() + ".lock");
    if (!fileLock.isLocked()) return KeychainStatus::io;
    OSStatus status = KeychainStatus::success;
    auto items = readItems(*file, status);
    if (!items) return status;
    for (const auto& existing : *items) {
        if (isGenericPasswordOf(existing, item.account)) return KeychainStatus::duplicateItem;
    }
    items->emplace_back(fieldsOf(item));
    return writeItems(*file, *items);
}

OSStatus Keychain::copyData(const std::string& account, std::vector<std::uint8_t>& data) {
    std::lock_guard lock(keychainMutex());
    if (auto failure = injectedFailure(Operation::copyMatching)) return *failure;
    const auto file = location();
    if (!file) return KeychainStatus::notAvailable;
    OSStatus status = KeychainStatus::success;
    const auto items = readItems(*file, status);
    if (!items) return status;
    for (const auto& item : *items) {
        if (!isGenericPasswordOf(item, account)) continue;
        const auto& fields = *item.dictionaryValue();
        const auto value = fields.find(kSecValueData);
        if (value == fields.end() || !value->second.dataValue()) return KeychainStatus::decode;
        data = *value->second.dataValue();
        return KeychainStatus::success;
    }
    return KeychainStatus::itemNotFound;
}

std::optional<std::string> Keychain::errorMessage(OSStatus status) {
    static const std::map<OSStatus, std::string> messages{
        {KeychainStatus::success, "No error."},
        {KeychainStatus::io, "I/O error."},
        {KeychainStatus::param, "One or more parameters passed to a function were not valid."},
        {KeychainStatus::notAvailable,
         "No keychain is available. You may need to restart your computer."},
        {KeychainStatus::duplicateItem, "The specified item already exists in the keychain."},
        {KeychainStatus::itemNotFound, "The specified item could not be found in the keychain."},
        {KeychainStatus::interactionNotAllowed, "User interaction is not allowed."},
        {KeychainStatus::decode, "Unable to decode the provided data."},
    };
    const auto found = messages.find(status);
    if (found == messages.end()) return std::nullopt;
    return found->second;
}

void Keychain::setFailureInjectorForTesting(FailureInjector injector) {
    std::lock_guard lock(keychainMutex());
    installedInjector() = std::move(injector);
}

}  // namespace zelvana::platform
