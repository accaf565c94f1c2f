#pragma once

#include <memory>
#include <vector>

#include "platform/appkit/Button.hpp"
#include "platform/appkit/Label.hpp"
#include "platform/appkit/LayoutConstraint.hpp"
#include "platform/appkit/StackView.hpp"
#include "platform/appkit/ViewController.hpp"
#include "platform/appkit/VisualEffectView.hpp"
#include "platform/core/Weak.hpp"

namespace zelvana::switcher {

class SpaceAnchor;

// The content of an anchor panel: a small translucent label with the end of
// the anchor's identifier and a close button, shown only when the switcher's
// visibility asks for it. Visible labels of one display stack upwards from its
// bottom-left corner. Main thread only; make it with make_shared.
class SpaceAnchorViewController final : public platform::ViewController {
public:
    static constexpr const char* closeAction = "close";
    // How many trailing identifier characters the label shows.
    static constexpr std::size_t labelCharacterCount = 6;

    void viewWillAppear() override { updateAppearance(); }
    // The close button's action: closes the anchor showing this view.
    void close();
    // Shows or hides the label per the switcher's visibility, sizes the panel
    // to it and places it above the labels of earlier anchors on its display.
    void updateAppearance();
    // The same, with the anchor's place among the anchors shown on its display
    // already counted: the switcher counts every anchor's in one pass.
    void updateAppearance(std::size_t stackPosition);
    // How many anchors before this one, in the switcher's list, are shown on
    // its display; 0 for an anchor that is not shown.
    static std::size_t stackPosition(const SpaceAnchor& anchor);

    bool performAction(const std::string& action, const platform::ActionSender* sender) override;

    const std::shared_ptr<platform::VisualEffectView>& transparentView() const {
        return transparentView_;
    }
    const std::shared_ptr<platform::StackView>& stackView() const { return stackView_; }
    const std::vector<platform::LayoutConstraint>& stackViewConstraints() const {
        return stackViewConstraints_;
    }
    const std::shared_ptr<platform::Label>& textField() const { return textField_; }
    // None below macOS 11.
    const std::shared_ptr<platform::Button>& closeButton() const { return closeButton_; }

protected:
    void viewDidLoad() override;

private:
    void setUpTransparentView();
    void setUpStackView();
    void setUpCloseButton();
    void setUpConstraints();
    void showIdentifierLater();

    std::shared_ptr<platform::VisualEffectView> transparentView_;
    std::shared_ptr<platform::StackView> stackView_;
    std::vector<platform::LayoutConstraint> stackViewConstraints_;
    std::shared_ptr<platform::Label> textField_;
    std::shared_ptr<platform::Button> closeButton_;
    platform::WeakFactory<SpaceAnchorViewController> weak_{this};
};

}  // namespace zelvana::switcher
