#include "platform/appkit/AlertPanel.hpp"

#include "platform/appkit/Application.hpp"
#include "platform/appkit/ImageView.hpp"
#include "platform/appkit/Label.hpp"
#include "platform/core/MainThread.hpp"

namespace zelvana::platform {

namespace {

constexpr double kWidth = 260;
constexpr double kMargin = 20;
constexpr double kIconSide = 64;
constexpr double kGap = 10;
constexpr double kButtonHeight = 24;
constexpr double kButtonGap = 8;

// A label centred across the panel at `y`; returns the y below it.
double placeCentred(View& content, std::shared_ptr<View> view, double y) {
    const Size size = view->fittingSize();
    view->setFrame(Rect::make((kWidth - size.width) / 2, y, size.width, size.height));
    content.addSubview(std::move(view));
    return y + size.height;
}

}  // namespace

AlertPanel::AlertPanel(const Alert& alert, Answer answer)
    : Panel(Rect::make(0, 0, kWidth, 0), Style::titled, BackingStore::buffered, false),
      messageText_(alert.messageText()),
      informativeText_(alert.informativeText()),
      answer_(std::move(answer)) {
    setLevel(Level::modalPanel);
    setTitleVisibility(TitleVisibility::hidden);
    auto content = std::make_shared<View>();
    const double height = layOutContent(*content, alert);
    setContentView(content);
    // The title bar comes on top of the content, not out of it.
    setContentSize(Size{kWidth, height});
}

double AlertPanel::layOutContent(View& content, const Alert& alert) {
    const double textWidth = kWidth - 2 * kMargin;
    double y = kMargin;
    if (auto icon = alert.icon() ? alert.icon() : Application::shared().applicationIconImage()) {
        auto view = std::make_shared<ImageView>(std::move(icon));
        view->setFrame(Rect::make((kWidth - kIconSide) / 2, y, kIconSide, kIconSide));
        content.addSubview(std::move(view));
        y += kIconSide + kGap;
    }
    auto message = Label::wrappingLabelWithString(messageText_, textWidth);
    y = placeCentred(content, std::move(message), y);
    if (!informativeText_.empty()) {
        auto informative = Label::wrappingLabelWithString(informativeText_, textWidth);
        informative->setFont(Font::systemFont(11));
        y = placeCentred(content, std::move(informative), y + kGap / 2);
    }
    y += kGap + kButtonGap;
    const auto titles = alert.buttonTitles();
    for (std::size_t index = 0; index < titles.size(); ++index) {
        auto button = std::make_shared<Button>();
        button->setTitle(titles[index]);
        const auto response = Alert::firstButtonReturn + static_cast<Alert::ModalResponse>(index);
        button->setCallback([panel = weak_.ref(), response](Button&) {
            if (AlertPanel* self = panel.get()) self->answerWith(response);
        });
        if (index == 0) button->setKeyEquivalent("\r");
        if (titles[index] == "Cancel") button->setKeyEquivalent("\x1b");
        buttons_.push_back(button);
        content.addSubview(std::move(button));
    }
    // Two buttons sit side by side, the default one on the right; more
    // stack up, the default one on top.
    const bool sideBySide = buttons_.size() == 2;
    const double half = (textWidth - kButtonGap) / 2;
    for (std::size_t index = 0; index < buttons_.size(); ++index) {
        if (sideBySide) {
            const double x = index == 0 ? kMargin + half + kButtonGap : kMargin;
            buttons_[index]->setFrame(Rect::make(x, y, half, kButtonHeight));
        } else {
            buttons_[index]->setFrame(Rect::make(kMargin, y, textWidth, kButtonHeight));
            y += kButtonHeight + kButtonGap;
        }
    }
    if (sideBySide) y += kButtonHeight + kButtonGap;
    return y - kButtonGap + kMargin;
}

void AlertPanel::answerWith(Alert::ModalResponse response) {
    assertMainThread();
    // Held: the answer may destroy the panel.
    const Answer answer = answer_;
    answer(*this, response);
}

}  // namespace zelvana::platform
