#include "input/ModifierTrigger.hpp"

namespace zelvana::input {

ModifierTrigger::ModifierTrigger(std::uint64_t modifierFlags, bool arrows, bool mouse,
                                 ModifierTriggerDelegate* delegate)
    : modifierFlags_(modifierFlags),
      hasActiveArrows_(arrows),
      hasActiveMouseListening_(mouse),
      delegate_(delegate),
      arrowHotkeys_(std::make_unique<ArrowHotKeys>()),
      modAndMouseListener_(std::make_unique<ModAndMouseListener>()) {
    arrowHotkeys_->setDelegate(delegate);
    modAndMouseListener_->setDelegate(delegate);
    arrowHotkeys_->setActive(arrows);
    arrowHotkeys_->reregister();
    arrowHotkeys_->setConfiguredFlags(modifierFlags);
    arrowHotkeys_->reregister();
    modAndMouseListener_->setActive(mouse);
    modAndMouseListener_->restartMonitoring();
    modAndMouseListener_->setConfiguredFlags(modifierFlags);
    modAndMouseListener_->restartMonitoring();
}

void ModifierTrigger::setModifierFlags(std::uint64_t flags) {
    modifierFlags_ = flags;
    arrowHotkeys_->setConfiguredFlags(flags);
    arrowHotkeys_->reregister();
    modAndMouseListener_->setConfiguredFlags(flags);
    modAndMouseListener_->restartMonitoring();
}

void ModifierTrigger::setHasActiveArrows(bool active) {
    hasActiveArrows_ = active;
    arrowHotkeys_->setActive(active);
    arrowHotkeys_->reregister();
}

void ModifierTrigger::setHasActiveMouseListening(bool active) {
    hasActiveMouseListening_ = active;
    modAndMouseListener_->setActive(active);
    modAndMouseListener_->restartMonitoring();
}

void ModifierTrigger::setDelegate(ModifierTriggerDelegate* delegate) {
    delegate_ = delegate;
    arrowHotkeys_->setDelegate(delegate);
    modAndMouseListener_->setDelegate(delegate);
}

}  // namespace zelvana::input
