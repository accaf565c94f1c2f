#include "platform/input/HotKeyCenter.hpp"

#include <algorithm>

namespace zelvana::platform {

// The handlers still to run for one event, newest first.
class EventHandlerCall {
public:
    struct Link {
        EventHandlerRef ref;
        std::shared_ptr<EventHandler> handler;
    };
    std::vector<Link> chain;
    std::size_t position = 0;
    // Set once a handler has run the rest itself, so it is not run twice.
    mutable bool passedOn = false;
};

namespace {

OSStatus runChain(const std::vector<EventHandlerCall::Link>& chain, std::size_t from,
                  EventRef event, const HotKeyCenter& center) {
    for (std::size_t i = from; i < chain.size(); ++i) {
        // A handler removed by an earlier one in this chain is skipped.
        if (!center.isInstalled(chain[i].ref)) continue;
        EventHandlerCall rest{chain, i + 1};
        const OSStatus status = (*chain[i].handler)(&rest, event);
        if (status != eventNotHandledErr || rest.passedOn) return status;
    }
    return eventNotHandledErr;
}

}  // namespace

HotKeyRegistration registerEventHotKey(std::uint32_t keyCode, std::uint32_t modifiers,
                                       EventHotKeyID id, EventTargetRef target,
                                       std::uint32_t /*options*/) {
    return HotKeyCenter::shared().registerHotKey(keyCode, modifiers, id, target);
}

OSStatus unregisterEventHotKey(EventHotKeyRef hotKey) {
    return HotKeyCenter::shared().unregisterHotKey(hotKey);
}

EventTargetRef eventDispatcherTarget() {
    return HotKeyCenter::shared().dispatcherTarget();
}

HandlerInstallation installEventHandler(EventTargetRef target, EventHandler handler,
                                        const std::vector<EventTypeSpec>& types) {
    return HotKeyCenter::shared().installHandler(target, std::move(handler), types);
}

OSStatus addEventTypesToHandler(EventHandlerRef handler, const std::vector<EventTypeSpec>& types) {
    return HotKeyCenter::shared().addTypes(handler, types);
}

OSStatus removeEventTypesFromHandler(EventHandlerRef handler,
                                     const std::vector<EventTypeSpec>& types) {
    return HotKeyCenter::shared().removeTypes(handler, types);
}

OSStatus callNextEventHandler(EventHandlerCallRef next, EventRef event) {
    if (!next) return eventNotHandledErr;
    next->passedOn = true;
    return runChain(next->chain, next->position, event, HotKeyCenter::shared());
}

OSStatus sendEventToEventTarget(EventRef event, EventTargetRef target) {
    return HotKeyCenter::shared().send(event, target);
}

HotKeyCenter& HotKeyCenter::shared() {
    static HotKeyCenter instance;
    return instance;
}

HotKeyCenter::HotKeyCenter() : dispatcher_(std::make_unique<EventTarget>("event dispatcher")) {}

HotKeyRegistration HotKeyCenter::registerHotKey(std::uint32_t keyCode, std::uint32_t modifiers,
                                                EventHotKeyID id, EventTargetRef target) {
    if (!target) return {paramErr, std::nullopt};
    if (auto refused = refused_.find({keyCode, modifiers}); refused != refused_.end()) {
        return {refused->second, std::nullopt};
    }
    if (hotKeyFor(keyCode, modifiers)) return {eventHotKeyExistsErr, std::nullopt};
    const EventHotKeyRef ref{++lastRef_};
    hotKeys_.push_back(RegisteredHotKey{ref, keyCode, modifiers, id, target});
    return {noErr, ref};
}

OSStatus HotKeyCenter::unregisterHotKey(EventHotKeyRef hotKey) {
    auto found = std::find_if(hotKeys_.begin(), hotKeys_.end(),
                              [&](const RegisteredHotKey& key) { return key.ref == hotKey; });
    if (found == hotKeys_.end()) return eventHotKeyInvalidErr;
    hotKeys_.erase(found);
    return noErr;
}

EventTargetRef HotKeyCenter::dispatcherTarget() {
    return targetAvailable_ ? dispatcher_.get() : nullptr;
}

HandlerInstallation HotKeyCenter::installHandler(EventTargetRef target, EventHandler handler,
                                                 const std::vector<EventTypeSpec>& types) {
    if (installFailure_) return {*installFailure_, std::nullopt};
    if (!target || !handler) return {paramErr, std::nullopt};
    const EventHandlerRef ref{++lastRef_};
    Handler entry{ref, target, std::make_shared<EventHandler>(std::move(handler)),
                  std::set<EventTypeSpec>(types.begin(), types.end())};
    handlers_.insert(handlers_.begin(), std::move(entry));
    return {noErr, ref, Subscription([ref] { HotKeyCenter::shared().removeHandler(ref); })};
}

OSStatus HotKeyCenter::removeHandler(EventHandlerRef handler) {
    auto found = std::find_if(handlers_.begin(), handlers_.end(),
                              [&](const Handler& entry) { return entry.ref == handler; });
    if (found == handlers_.end()) return paramErr;
    handlers_.erase(found);
    return noErr;
}

HotKeyCenter::Handler* HotKeyCenter::findHandler(EventHandlerRef ref) {
    for (auto& entry : handlers_) {
        if (entry.ref == ref) return &entry;
    }
    return nullptr;
}

OSStatus HotKeyCenter::addTypes(EventHandlerRef handler, const std::vector<EventTypeSpec>& types) {
    Handler* entry = findHandler(handler);
    if (!entry) return paramErr;
    entry->types.insert(types.begin(), types.end());
    return noErr;
}

OSStatus HotKeyCenter::removeTypes(EventHandlerRef handler,
                                   const std::vector<EventTypeSpec>& types) {
    Handler* entry = findHandler(handler);
    if (!entry) return paramErr;
    for (const auto& type : types) entry->types.erase(type);
    return noErr;
}

OSStatus HotKeyCenter::send(EventRef event, EventTargetRef target) {
    if (!event || !target) return paramErr;
    const EventTypeSpec type{event->eventClass(), event->kind()};
    EventHandlerCall call;
    for (const auto& entry : handlers_) {
        if (entry.target == target && entry.types.count(type) != 0) {
            call.chain.push_back({entry.ref, entry.handler});
        }
    }
    return runChain(call.chain, 0, event, *this);
}

bool HotKeyCenter::isInstalled(EventHandlerRef handler) const {
    return std::any_of(handlers_.begin(), handlers_.end(),
                       [&](const Handler& entry) { return entry.ref == handler; });
}

std::optional<RegisteredHotKey> HotKeyCenter::hotKeyFor(std::uint32_t keyCode,
                                                        std::uint32_t modifiers) const {
    for (const auto& key : hotKeys_) {
        if (key.keyCode == keyCode && key.modifiers == modifiers) return key;
    }
    return std::nullopt;
}

std::optional<RegisteredHotKey> HotKeyCenter::hotKey(EventHotKeyRef ref) const {
    for (const auto& key : hotKeys_) {
        if (key.ref == ref) return key;
    }
    return std::nullopt;
}

std::vector<RegisteredHotKey> HotKeyCenter::registeredHotKeys() const {
    return hotKeys_;
}

std::vector<EventHandlerRef> HotKeyCenter::handlers(EventTargetRef target) const {
    std::vector<EventHandlerRef> refs;
    for (const auto& entry : handlers_) {
        if (entry.target == target) refs.push_back(entry.ref);
    }
    return refs;
}

std::set<EventTypeSpec> HotKeyCenter::eventTypes(EventHandlerRef handler) const {
    for (const auto& entry : handlers_) {
        if (entry.ref == handler) return entry.types;
    }
    return {};
}

void HotKeyCenter::refuseHotKey(std::uint32_t keyCode, std::uint32_t modifiers, OSStatus status) {
    refused_[{keyCode, modifiers}] = status;
}

void HotKeyCenter::allowHotKey(std::uint32_t keyCode, std::uint32_t modifiers) {
    refused_.erase({keyCode, modifiers});
}

void HotKeyCenter::resetForTesting() {
    hotKeys_.clear();
    handlers_.clear();
    refused_.clear();
    targetAvailable_ = true;
    installFailure_.reset();
}

}  // namespace zelvana::platform
