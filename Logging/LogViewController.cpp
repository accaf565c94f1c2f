#include "Logging/LogViewController.hpp"
#include "platform/core/MainThread.hpp"

namespace zelvana::logging {

namespace {

constexpr double kFontSize = 10;

platform::Font logFont() {
    return platform::Font::named("Monaco", kFontSize)
        .value_or(platform::Font::systemFont(kFontSize));
}

}  // namespace

LogViewController::LogViewController()
    : font_(logFont()),
      textColorAttribute_{logFont(), platform::Color::textColor(), std::nullopt} {}

void LogViewController::setTextView(std::shared_ptr<platform::TextView> textView) {
    platform::assertMainThread();
    textView_ = std::move(textView);
}

bool LogViewController::setOutlet(const std::string& name,
                                  const std::shared_ptr<platform::StoryboardObject>& object) {
    platform::assertMainThread();
    auto textView = std::dynamic_pointer_cast<platform::TextView>(object);
    if (name != "textView" || !textView) return false;
    setTextView(std::move(textView));
    return true;
}

void LogViewController::viewDidLoad() {
    if (textView_) textView_->setEditable(false);
}

void LogViewController::appendText(const std::string& text) {
    platform::assertMainThread();
    if (!textView_) return;
    platform::TextView& view = *textView_;
    const bool atEnd = view.visibleRect().maxY() == view.bounds().maxY();
    if (platform::TextStorage* storage = view.textStorage()) {
        storage->append(text, textColorAttribute_);
    }
    if (atEnd) view.scrollToEndOfDocument();
}

}  // namespace zelvana::logging
