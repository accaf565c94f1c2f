#include "KeyboardShortcuts/Recorder.hpp"

#include "KeyboardShortcuts/KeyboardShortcuts.hpp"
#include "platform/appkit/Bundle.hpp"
#include "platform/appkit/StackView.hpp"
#include "platform/appkit/TextField.hpp"
#include "platform/core/MainThread.hpp"

namespace zelvana::keyboardshortcuts {

Recorder::Recorder(Name name, OnChange onChange)
    : name_(std::move(name)), onChange_(std::move(onChange)) {}

Recorder::Recorder(std::string title, Name name, OnChange onChange)
    : name_(std::move(name)), onChange_(std::move(onChange)), label_(std::move(title)) {}

Recorder Recorder::withTitleKey(const std::string& key, Name name, OnChange onChange) {
    return Recorder(platform::Bundle::main().localizedString(key, "Localizable"), std::move(name),
                    std::move(onChange));
}

std::shared_ptr<platform::View> Recorder::makeBody() const {
    platform::assertMainThread();
    auto field = RecorderCocoa::create(name_, onChange_);
    if (!label_) return field;
    auto row = std::make_shared<platform::StackView>();
    row->setOrientation(platform::StackView::Orientation::horizontal);
    row->setAlignment(platform::StackView::Alignment::firstBaseline);
    auto label = std::make_shared<platform::TextField>(*label_);
    label->setEditable(false);
    label->setBezeled(false);
    label->setDrawsBackground(false);
    row->addArrangedSubview(std::move(label));
    row->addArrangedSubview(std::move(field));
    return row;
}

RecorderCocoa* Recorder::field(platform::View& body) {
    if (auto* field = dynamic_cast<RecorderCocoa*>(&body)) return field;
    for (const auto& subview : body.subviews()) {
        if (auto* field = dynamic_cast<RecorderCocoa*>(subview.get())) return field;
    }
    return nullptr;
}

void Recorder::update(platform::View& body) const {
    if (RecorderCocoa* built = field(body)) built->setShortcutName(name_);
}

namespace {

platform::Subscription follow(KeyEventSequence sequence, std::function<void(EventType)> action) {
    auto held = std::make_shared<KeyEventSequence>(std::move(sequence));
    held->onEvent(std::move(action));
    return platform::Subscription([held] { held->finish(); });
}

}  // namespace

platform::Subscription onShortcutEvent(const Name& name, std::function<void(EventType)> action) {
    return follow(keyEvents(name), std::move(action));
}

platform::Subscription onShortcutEvent(const Name& name, EventType type,
                                       std::function<void()> action) {
    return follow(keyEvents(type, name), [action = std::move(action)](EventType) { action(); });
}

}  // namespace zelvana::keyboardshortcuts
