#include "platform/appkit/ActionTarget.hpp"

#include "platform/system/UnifiedLog.hpp"

namespace zelvana::platform {

bool sendActionToTarget(const WeakRef<ActionTarget>& target, const std::string& action,
                        const ActionSender* sender, const std::string& senderName) {
    if (ActionTarget* receiver = target.get()) return receiver->performAction(action, sender);
    UnifiedLog::write(LogType::Error,
                      "The target of " + senderName + " is gone; " + action + " not sent");
    return false;
}

}  // namespace zelvana::platform
