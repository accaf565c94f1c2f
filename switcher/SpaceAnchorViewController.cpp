#include "switcher/SpaceAnchorViewController.hpp"

#include "platform/appkit/Color.hpp"
#include "platform/core/MainThread.hpp"
#include "platform/dispatch/Queue.hpp"
#include "platform/system/SystemVersion.hpp"
#include "switcher/SpaceAnchor.hpp"
#include "switcher/SpaceSwitcher.hpp"

namespace zelvana::switcher {

using platform::Color;
using platform::LayoutConstraint;
using platform::Size;

namespace {

constexpr Size kHiddenSize{1, 1};
constexpr platform::Rect kTransparentViewFrame{{0, 0}, {200, 30}};
constexpr double kCornerRadius = 8.0;
constexpr double kStackSpacing = 4.0;
constexpr double kStackInset = 4.0;
constexpr const char* kCloseSymbol = "x.circle.fill";
constexpr const char* kCloseDescription = "Close";

SpaceAnchor* anchorShowing(platform::View& view) {
    return dynamic_cast<SpaceAnchor*>(view.window());
}

std::string identifierSuffix(const std::string& identifier, std::size_t count) {
    return identifier.size() <= count ? identifier : identifier.substr(identifier.size() - count);
}

// The light appearance of the system's mint, for platforms that lack it.
Color mintColor() {
    return Color::named("systemMintColor").value_or(Color::rgb(0.0, 0.78, 0.745));
}

}  // namespace

void SpaceAnchorViewController::viewDidLoad() {
    ViewController::viewDidLoad();
    setUpTransparentView();
    setUpStackView();
    textField_ = platform::Label::labelWithString("");
    stackView_->addArrangedSubview(textField_);
    setUpCloseButton();
    transparentView_->addSubview(stackView_);
    view()->addSubview(transparentView_);
    setUpConstraints();
    showIdentifierLater();
}

void SpaceAnchorViewController::setUpTransparentView() {
    transparentView_ = std::make_shared<platform::VisualEffectView>();
    transparentView_->setFrame(kTransparentViewFrame);
    transparentView_->setState(platform::VisualEffectView::State::active);
    transparentView_->setWantsLayer(true);
    transparentView_->setBlendingMode(platform::VisualEffectView::BlendingMode::behindWindow);
    transparentView_->layer()->cornerRadius = kCornerRadius;
    transparentView_->setMaterial(platform::VisualEffectView::Material::popover);
}

void SpaceAnchorViewController::setUpStackView() {
    stackView_ = std::make_shared<platform::StackView>();
    stackView_->setSpacing(kStackSpacing);
    stackView_->setOrientation(platform::StackView::Orientation::horizontal);
    stackView_->setDistribution(platform::StackView::Distribution::fill);
    stackView_->setEdgeInsets({kStackInset, kStackInset, kStackInset, kStackInset});
    stackView_->setTranslatesAutoresizingMaskIntoConstraints(false);
}

void SpaceAnchorViewController::setUpCloseButton() {
    if (!platform::SystemVersion::isAtLeast(11)) return;
    auto symbol = platform::Image::systemSymbol(kCloseSymbol, kCloseDescription);
    if (!symbol) return;
    closeButton_ =
        platform::Button::buttonWithImage(std::move(*symbol), actionTarget(), closeAction);
    closeButton_->setBezelStyle(platform::Button::BezelStyle::rounded);
    closeButton_->setBordered(false);
    closeButton_->setFrameSize(closeButton_->intrinsicContentSize());
    stackView_->addArrangedSubview(closeButton_);
}

void SpaceAnchorViewController::setUpConstraints() {
    using Attribute = LayoutConstraint::Attribute;
    auto& stack = *stackView_;
    auto& backdrop = *transparentView_;
    stackViewConstraints_ = {
        LayoutConstraint::equal(stack, Attribute::top, backdrop),
        LayoutConstraint::equal(stack, Attribute::bottom, backdrop),
        LayoutConstraint::equal(stack, Attribute::leading, backdrop),
        LayoutConstraint::equal(stack, Attribute::trailing, backdrop),
    };
    LayoutConstraint::activate(stackViewConstraints_);
}

// The panel is only known once the view is installed in it.
void SpaceAnchorViewController::showIdentifierLater() {
    platform::mainQueue().async([weak = weak_.ref()] {
        SpaceAnchorViewController* self = weak.get();
        if (!self) return;
        const SpaceAnchor* anchor = anchorShowing(*self->view());
        self->textField_->setStringValue(
            anchor ? identifierSuffix(anchor->id(), labelCharacterCount) : "");
        self->updateAppearance();
    });
}

void SpaceAnchorViewController::close() {
    platform::assertMainThread();
    if (SpaceAnchor* anchor = anchorShowing(*view())) anchor->close();
}

bool SpaceAnchorViewController::performAction(const std::string& action,
                                              const platform::ActionSender* /*sender*/) {
    platform::assertMainThread();
    if (action != closeAction) return false;
    close();
    return true;
}

void SpaceAnchorViewController::updateAppearance() {
    platform::assertMainThread();
    const SpaceAnchor* anchor = anchorShowing(*view());
    if (anchor) updateAppearance(stackPosition(*anchor));
}

void SpaceAnchorViewController::updateAppearance(std::size_t stackPosition) {
    platform::assertMainThread();
    SpaceAnchor* anchor = anchorShowing(*view());
    if (!anchor || !anchor->screen()) return;
    const bool hidden =
        SpaceSwitcher::shared().options()->visibility == SpaceAnchorVisibility::hidden;
    transparentView_->setHidden(hidden);
    const Size size = hidden ? kHiddenSize : stackView_->fittingSize();
    transparentView_->setFrameSize(size);
    if (hidden) {
        LayoutConstraint::deactivate(stackViewConstraints_);
    } else {
        LayoutConstraint::activate(stackViewConstraints_);
        // What the constraints ask, which the platform does not solve: the
        // stack fills the backdrop.
        stackView_->setFrame(platform::Rect{{}, size});
        stackView_->layout();
        textField_->setTextColor(anchor->isActive() ? mintColor() : Color::textColor());
    }
    // A hidden anchor shows nothing: one already that small needs no layout,
    // and thousands are updated at launch.
    if (!hidden || anchor->frame().size != size) anchor->setContentSize(size);
    // One label height above each earlier anchor shown on the same display.
    const auto screen = anchor->screen();
    const platform::Point origin = screen ? screen->frame().origin : platform::Point{};
    anchor->setFrameOrigin({origin.x, origin.y + size.height * static_cast<double>(stackPosition)});
    view()->setNeedsDisplay(true);
}

std::size_t SpaceAnchorViewController::stackPosition(const SpaceAnchor& anchor) {
    // Not shown, it is in no display's stack: nothing to count.
    if (!anchor.isOnActiveSpace()) return 0;
    const auto screen = anchor.screen();
    std::size_t position = 0;
    for (const auto& other : SpaceSwitcher::shared().anchors()) {
        if (other.get() == &anchor) return position;
        if (other->isOnActiveSpace() && other->screen() == screen) ++position;
    }
    return 0;
}

}  // namespace zelvana::switcher
