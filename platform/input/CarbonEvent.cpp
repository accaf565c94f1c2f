#include "platform/input/CarbonEvent.hpp"

namespace zelvana::platform {

CarbonEvent::CarbonEvent(EventClass eventClass, EventKind kind)
    : class_(eventClass), kind_(kind), time_(clock().uptime()) {}

void CarbonEvent::setParameter(EventParamName name, EventHotKeyID value) {
    parameters_[name] = value;
}

void CarbonEvent::setParameter(EventParamName name, std::uint32_t value) {
    parameters_[name] = value;
}

template <typename T>
OSStatus CarbonEvent::read(EventParamName name, EventParamType type, EventParamType expected,
                           T& out) const {
    auto found = parameters_.find(name);
    if (found == parameters_.end()) return eventParameterNotFoundErr;
    const T* value = std::get_if<T>(&found->second);
    if (type != expected || !value) return errAECoercionFail;
    out = *value;
    return noErr;
}

OSStatus CarbonEvent::getParameter(EventParamName name, EventParamType type,
                                   EventHotKeyID& out) const {
    return read(name, type, typeEventHotKeyID, out);
}

OSStatus CarbonEvent::getParameter(EventParamName name, EventParamType type,
                                   std::uint32_t& out) const {
    return read(name, type, typeUInt32, out);
}

CarbonEvent CarbonEvent::hotKeyEvent(EventKind kind, EventHotKeyID id) {
    CarbonEvent event(kEventClassKeyboard, kind);
    event.setParameter(kEventParamDirectObject, id);
    return event;
}

CarbonEvent CarbonEvent::rawKeyEvent(EventKind kind, std::uint32_t keyCode,
                                     std::uint32_t modifiers) {
    CarbonEvent event(kEventClassKeyboard, kind);
    event.setParameter(kEventParamKeyCode, keyCode);
    event.setParameter(kEventParamKeyModifiers, modifiers);
    return event;
}

}  // namespace zelvana::platform
