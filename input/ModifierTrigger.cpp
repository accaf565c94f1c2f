#include "input/ModifierTrigger.hpp"

#include "platform/core/MainThread.hpp"

namespace zelvana::input {

ModifierTrigger::ModifierTrigger(platform::ModifierFlags modifierFlags, Arrows arrows, Mouse mouse,
                                 ModifierTriggerDelegate* delegate)
    : modifierFlags_((platform::assertMainThread(), modifierFlags)),
      hasActiveArrows_(arrows == Arrows::on),
      hasActiveMouseListening_(mouse == Mouse::on),
      delegate_(delegate),
      arrowHotkeys_(std::make_unique<ArrowHotKeys>()),
      modAndMouseListener_(std::make_unique<ModAndMouseListener>()) {
    arrowHotkeys_->setDelegate(delegate);
    modAndMouseListener_->setDelegate(delegate);
    arrowHotkeys_->setActive(hasActiveArrows_);
    arrowHotkeys_->reregister();
    arrowHotkeys_->setConfiguredFlags(modifierFlags);
    arrowHotkeys_->reregister();
    modAndMouseListener_->setActive(hasActiveMouseListening_);
    modAndMouseListener_->restartMonitoring();
    modAndMouseListener_->setConfiguredFlags(modifierFlags);
    modAndMouseListener_->restartMonitoring();
}

void ModifierTrigger::setModifierFlags(platform::ModifierFlags flags) {
    platform::assertMainThread();
    modifierFlags_ = flags;
    arrowHotkeys_->setConfiguredFlags(flags);
    arrowHotkeys_->reregister();
    modAndMouseListener_->setConfiguredFlags(flags);
    modAndMouseListener_->restartMonitoring();
}

void ModifierTrigger::setHasActiveArrows(bool active) {
    platform::assertMainThread();
    hasActiveArrows_ = active;
    arrowHotkeys_->setActive(active);
    arrowHotkeys_->reregister();
}

void ModifierTrigger::setHasActiveMouseListening(bool active) {
    platform::assertMainThread();
    hasActiveMouseListening_ = active;
    modAndMouseListener_->setActive(active);
    modAndMouseListener_->restartMonitoring();
}

void ModifierTrigger::setDelegate(ModifierTriggerDelegate* delegate) {
    platform::assertMainThread();
    delegate_ = delegate;
    arrowHotkeys_->setDelegate(delegate);
    modAndMouseListener_->setDelegate(delegate);
}

}  // namespace zelvana::input
