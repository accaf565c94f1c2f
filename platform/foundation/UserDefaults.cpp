#include "platform/foundation/UserDefaults.hpp"

#include <algorithm>
#include <array>
#include <atomic>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <limits>
#include <map>
#include <mutex>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/core/ObserverFault.hpp"
#include "platform/core/SubscriberList.hpp"
#include "platform/foundation/FileManager.hpp"
#include "platform/foundation/PropertyListSerialization.hpp"
#include "platform/foundation/SystemFolders.hpp"

namespace zelvana::platform {

namespace {

namespace fs = std::filesystem;

// One lock for every defaults object: domains are shared between them.
std::mutex& defaultsMutex() {
    static auto* mutex = new std::mutex();
    return *mutex;
}

void logLine(const std::string& message) {
    std::fprintf(stderr, "zelvana: user defaults: %s\n", message.c_str());
}

// A persistent domain: one property-list file and its contents in memory.
// Memory changes under the defaults lock; the file is written after it is
// let go, from a copy, so that a large domain written on one thread never
// holds up another thread's reads and writes. A write that finds a newer
// copy already on disk leaves it.
struct Domain {
    std::string name;
    std::optional<fs::path> path;  // absent when there is no preferences folder
    PropertyDictionary values;
    // Counts the changes of `values`, under the defaults lock.
    std::uint64_t version = 0;

    // Under the defaults lock.
    void load();

    // What a write takes from memory, under the defaults lock.
    struct Copy {
        std::shared_ptr<Domain> domain;
        PropertyValue values;
        std::uint64_t version = 0;
        // Without the defaults lock: true when the file holds this copy or a newer one.
        bool write() const;
    };
    static Copy copy(const std::shared_ptr<Domain>& domain);

    // Memory holds changes that the last write failed to store.
    bool isUnsaved() const { return unsaved; }

private:
    bool save(const PropertyValue& copy);
    bool fail(const std::string& reason);
    bool moveCorruptFileAside();

    // One writer of the file at a time; taken after the defaults lock, never before.
    std::mutex file;
    std::uint64_t written = 0;
    // The file could not be read; it is moved aside before anything replaces it.
    std::atomic<bool> corruptOnDisk = false;
    std::atomic<bool> unsaved = false;
};

void Domain::load() {
    values.clear();
    ++version;
    std::lock_guard lock(file);
    corruptOnDisk = false;
    unsaved = false;
    written = version;
    if (!path || !FileManager::defaultManager().fileExists(*path)) return;
    std::string error;
    auto root = PropertyListSerialization::readFile(*path, &error);
    if (root && root->isDictionary()) {
        values = *root->dictionaryValue();
        return;
    }
    if (root) error = "its root is not a dictionary";
    corruptOnDisk = true;
    logLine("ignoring corrupt " + path->string() + " (" + error +
            "); it will be kept aside, not overwritten");
}

Domain::Copy Domain::copy(const std::shared_ptr<Domain>& domain) {
    return Copy{domain, PropertyValue(domain->values), ++domain->version};
}

bool Domain::Copy::write() const {
    std::lock_guard lock(domain->file);
    if (version <= domain->written) return !domain->unsaved;
    if (!domain->save(values)) return false;
    domain->written = version;
    return true;
}

bool Domain::save(const PropertyValue& copy) {
    if (!path) return fail("there is no preferences folder");
    if (corruptOnDisk && !moveCorruptFileAside()) return fail("the corrupt file could not be kept");
    std::string error;
    if (!FileManager::defaultManager().createDirectory(path->parent_path(), true, &error) ||
        !PropertyListSerialization::writeFile(*path, copy, &error)) {
        return fail(error);
    }
    unsaved = false;
    return true;
}

bool Domain::fail(const std::string& reason) {
    // One line per run of failures, not one per change.
    if (!unsaved) logLine("cannot save domain " + name + ": " + reason);
    unsaved = true;
    return false;
}

bool Domain::moveCorruptFileAside() {
    auto& files = FileManager::defaultManager();
    if (!files.fileExists(*path)) {
        corruptOnDisk = false;
        return true;
    }
    std::string error;
    const auto target = files.moveAside(*path, path->filename().string(), "", &error);
    if (!target) {
        logLine("cannot move corrupt " + path->string() + " aside: " + error);
        return false;
    }
    logLine("kept corrupt " + path->string() + " as " + target->string());
    corruptOnDisk = false;
    return true;
}

// Domains by file, so that every defaults object of a suite sees one copy.
std::map<std::string, std::weak_ptr<Domain>>& domainTable() {
    static auto* table = new std::map<std::string, std::weak_ptr<Domain>>();
    return *table;
}

// The domain for `name` in the current preferences folder; read from disk
// when new, or when `reload` asks for it.
std::shared_ptr<Domain> attachDomain(const std::string& name, bool reload) {
    auto& table = domainTable();
    std::erase_if(table, [](const auto& item) { return item.second.expired(); });
    std::optional<fs::path> path;
    if (auto folder = SystemFolders::preferences()) path = *folder / (name + ".plist");
    auto& slot = table[path ? path->string() : "\n" + name];
    auto domain = slot.lock();
    if (domain && !reload) return domain;
    if (!domain) {
        domain = std::make_shared<Domain>();
        domain->name = name;
        domain->path = path;
        slot = domain;
    }
    domain->load();
    return domain;
}

std::string_view trimmed(std::string_view text) {
    auto isSpace = [](char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; };
    while (!text.empty() && isSpace(text.front())) text.remove_prefix(1);
    while (!text.empty() && isSpace(text.back())) text.remove_suffix(1);
    if (text.size() > 1 && text.front() == '+') text.remove_prefix(1);
    return text;
}

std::optional<std::int64_t> integerFromText(std::string_view text) {
    text = trimmed(text);
    const char* end = text.data() + text.size();
    std::int64_t whole = 0;
    auto [wholeEnd, wholeError] = std::from_chars(text.data(), end, whole);
    if (wholeError == std::errc() && wholeEnd == end) return whole;
    double real = 0;
    auto [realEnd, realError] = std::from_chars(text.data(), end, real);
    if (realError != std::errc() || realEnd != end || !std::isfinite(real)) return std::nullopt;
    // Out-of-range text saturates, as a number read from text does in Foundation.
    if (real >= 9.2233720368547758e18) return std::numeric_limits<std::int64_t>::max();
    if (real <= -9.2233720368547758e18) return std::numeric_limits<std::int64_t>::min();
    return static_cast<std::int64_t>(real);
}

std::optional<double> doubleFromText(std::string_view text) {
    text = trimmed(text);
    const char* end = text.data() + text.size();
    double real = 0;
    auto [realEnd, realError] = std::from_chars(text.data(), end, real);
    if (realError != std::errc() || realEnd != end || !std::isfinite(real)) return std::nullopt;
    return real;
}

bool equalsIgnoringCase(std::string_view text, std::string_view word) {
    return std::equal(text.begin(), text.end(), word.begin(), word.end(), [](char a, char b) {
        return std::tolower(static_cast<unsigned char>(a)) == b;
    });
}

std::optional<bool> boolFromText(std::string_view text) {
    text = trimmed(text);
    if (equalsIgnoringCase(text, "yes") || equalsIgnoringCase(text, "true")) return true;
    if (equalsIgnoringCase(text, "no") || equalsIgnoringCase(text, "false")) return false;
    if (auto number = integerFromText(text)) return *number != 0;
    return std::nullopt;
}

std::string textFromReal(double real) {
    char buffer[32];
    auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, real);
    return error == std::errc() ? std::string(buffer, end) : std::string();
}

using ObserverList = ConcurrentSubscriberList<const std::optional<PropertyValue>&,
                                              const std::optional<PropertyValue>&>;

// An observer that throws stops a checked build; elsewhere it is logged, so the others of the
// change still run.
UserDefaults::Observer guarded(const std::string& key, UserDefaults::Observer observer) {
    return [key, observer = std::move(observer)](const std::optional<PropertyValue>& oldValue,
                                                 const std::optional<PropertyValue>& newValue) {
        try {
            observer(oldValue, newValue);
        } catch (...) {
            observerThrew("user defaults: observer of \"" + key + "\"");
        }
    };
}

std::string& standardSuiteName() {
    static auto* name = new std::string(UserDefaults::defaultStandardSuiteName);
    return *name;
}

}  // namespace

struct UserDefaults::Impl {
    std::string suiteName;
    std::shared_ptr<Domain> own;
    std::shared_ptr<Domain> global;
    PropertyDictionary registered;
    // Shared, so a change under way can finish after this object goes.
    std::map<std::string, std::shared_ptr<ObserverList>> observers;

    // Every live defaults object, so a change reaches observers of all
    // objects that share the changed domain.
    static std::vector<Impl*>& live() {
        static auto* impls = new std::vector<Impl*>();
        return *impls;
    }

    void attach(bool reload) {
        own = attachDomain(suiteName, reload);
        global = suiteName == globalDomainName ? own : attachDomain(globalDomainName, reload);
    }

    // The domains in the order they are searched.
    std::array<const PropertyDictionary*, 3> searchList() const {
        return {&own->values, &global->values, &registered};
    }

    const PropertyValue* find(const std::string& key) const {
        for (const auto* values : searchList()) {
            auto found = values->find(key);
            if (found != values->end()) return &found->second;
        }
        return nullptr;
    }

    std::optional<PropertyValue> lookup(const std::string& key) const {
        const auto* value = find(key);
        return value ? std::optional(*value) : std::nullopt;
    }

    // Ends every observer, also for a change already under way.
    void dropObservers() {
        for (auto& [key, list] : observers) list->clear();
        observers.clear();
    }

    // Runs `mutate` under the lock, writes the copy of the domain it may give
    // without the lock, then tells observers (of `key` only, when given)
    // whose effective value it changed.
    template <typename Mutation>
    static void change(const std::optional<std::string>& key, Mutation&& mutate);
};

template <typename Mutation>
void UserDefaults::Impl::change(const std::optional<std::string>& key, Mutation&& mutate) {
    struct Call {
        const Impl* owner;
        std::string key;
        std::shared_ptr<ObserverList> list;
        std::optional<PropertyValue> oldValue;
        std::optional<PropertyValue> newValue;
    };
    std::vector<Call> calls;
    std::optional<Domain::Copy> write;
    {
        std::lock_guard lock(defaultsMutex());
        for (const Impl* impl : live()) {
            for (const auto& [observed, list] : impl->observers) {
                if ((key && observed != *key) || list->empty()) continue;
                calls.push_back({impl, observed, list, impl->lookup(observed), std::nullopt});
            }
        }
        write = mutate();
        for (auto& call : calls) call.newValue = call.owner->lookup(call.key);
    }
    if (write) write->write();
    for (const auto& call : calls) {
        if (call.oldValue != call.newValue) call.list->emit(call.oldValue, call.newValue);
    }
}

UserDefaults& UserDefaults::standard() {
    // Never destroyed, so it outlives every static that might still use it.
    static auto* defaults = new UserDefaults([] {
        std::lock_guard lock(defaultsMutex());
        return standardSuiteName();
    }());
    return *defaults;
}

void UserDefaults::setStandardSuiteName(std::string suiteName) {
    {
        std::lock_guard lock(defaultsMutex());
        standardSuiteName() = suiteName;
    }
    auto& impl = *standard().impl_;
    std::lock_guard lock(defaultsMutex());
    impl.dropObservers();
    impl.registered.clear();
    impl.suiteName = std::move(suiteName);
    impl.attach(true);
}

UserDefaults UserDefaults::globalDomain() {
    return UserDefaults(globalDomainName);
}

UserDefaults::UserDefaults(std::string suiteName) : impl_(std::make_unique<Impl>()) {
    impl_->suiteName = std::move(suiteName);
    std::lock_guard lock(defaultsMutex());
    impl_->attach(false);
    Impl::live().push_back(impl_.get());
}

UserDefaults::~UserDefaults() {
    std::lock_guard lock(defaultsMutex());
    std::erase(Impl::live(), impl_.get());
    impl_->dropObservers();
}

std::string UserDefaults::suiteName() const {
    std::lock_guard lock(defaultsMutex());
    return impl_->suiteName;
}

std::optional<PropertyValue> UserDefaults::object(const std::string& key) const {
    std::lock_guard lock(defaultsMutex());
    return impl_->lookup(key);
}

void UserDefaults::set(const std::string& key, PropertyValue value) {
    // Stored, it would make the whole domain unreadable at the next launch.
    if (!PropertyListSerialization::isWritable(value)) {
        logLine("not storing \"" + key + "\": it holds a date or a text no property list can hold");
        return;
    }
    Impl::change(key, [&]() -> std::optional<Domain::Copy> {
        auto& domain = *impl_->own;
        auto found = domain.values.find(key);
        if (found != domain.values.end() && found->second == value && !domain.isUnsaved()) {
            return std::nullopt;
        }
        domain.values.insert_or_assign(key, std::move(value));
        return Domain::copy(impl_->own);
    });
}

void UserDefaults::removeObject(const std::string& key) {
    Impl::change(key, [&]() -> std::optional<Domain::Copy> {
        if (impl_->own->values.erase(key) == 0) return std::nullopt;
        return Domain::copy(impl_->own);
    });
}

void UserDefaults::registerDefaults(const PropertyDictionary& defaults) {
    Impl::change(std::nullopt, [&]() -> std::optional<Domain::Copy> {
        for (const auto& [key, value] : defaults) impl_->registered.insert_or_assign(key, value);
        return std::nullopt;
    });
}

bool UserDefaults::boolForKey(const std::string& key) const {
    auto value = object(key);
    if (!value) return false;
    if (const auto* text = value->stringValue()) return boolFromText(*text).value_or(false);
    return value->asDouble().value_or(0) != 0;
}

std::int64_t UserDefaults::integerForKey(const std::string& key) const {
    auto value = object(key);
    if (!value) return 0;
    if (const auto* text = value->stringValue()) return integerFromText(*text).value_or(0);
    return value->asInteger().value_or(0);
}

double UserDefaults::doubleForKey(const std::string& key) const {
    auto value = object(key);
    if (!value) return 0;
    if (const auto* text = value->stringValue()) return doubleFromText(*text).value_or(0);
    return value->asDouble().value_or(0);
}

float UserDefaults::floatForKey(const std::string& key) const {
    return static_cast<float>(doubleForKey(key));
}

std::optional<std::string> UserDefaults::stringForKey(const std::string& key) const {
    auto value = object(key);
    if (!value) return std::nullopt;
    if (const auto* text = value->stringValue()) return *text;
    if (const auto* flag = value->boolValue()) return *flag ? "1" : "0";
    if (const auto* whole = value->integerValue()) return std::to_string(*whole);
    if (const auto* whole = value->largeUnsignedValue()) return std::to_string(*whole);
    if (const auto* real = value->realValue()) return textFromReal(*real);
    return std::nullopt;
}

std::optional<Data> UserDefaults::dataForKey(const std::string& key) const {
    auto value = object(key);
    if (!value || !value->isData()) return std::nullopt;
    return *value->dataValue();
}

std::optional<PropertyArray> UserDefaults::arrayForKey(const std::string& key) const {
    auto value = object(key);
    if (!value || !value->isArray()) return std::nullopt;
    return *value->arrayValue();
}

std::optional<PropertyDictionary> UserDefaults::dictionaryForKey(const std::string& key) const {
    auto value = object(key);
    if (!value || !value->isDictionary()) return std::nullopt;
    return *value->dictionaryValue();
}

PropertyDictionary UserDefaults::dictionaryRepresentation() const {
    std::lock_guard lock(defaultsMutex());
    PropertyDictionary merged;
    // Earlier domains win, so they go in first and later ones only fill gaps.
    for (const auto* values : impl_->searchList()) merged.insert(values->begin(), values->end());
    return merged;
}

bool UserDefaults::synchronize() {
    std::optional<Domain::Copy> write;
    {
        std::lock_guard lock(defaultsMutex());
        if (!impl_->own->isUnsaved()) return true;
        write = Domain::copy(impl_->own);
    }
    return write->write();
}

void UserDefaults::reloadFromDisk() {
    Impl::change(std::nullopt, [&]() -> std::optional<Domain::Copy> {
        impl_->attach(true);
        return std::nullopt;
    });
}

Subscription UserDefaults::addObserver(const std::string& key, Observer observer) {
    std::lock_guard lock(defaultsMutex());
    // Keys whose observers have all gone are not kept.
    std::erase_if(impl_->observers, [](const auto& item) { return item.second->empty(); });
    auto& list = impl_->observers[key];
    if (!list) list = std::make_shared<ObserverList>();
    return list->add(guarded(key, std::move(observer)));
}

}  // namespace zelvana::platform
