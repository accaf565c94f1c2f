#pragma once

#include <memory>
#include <optional>

#include "DropPane/DropPaneOptions.hpp"
#include "DropPane/DropUnitStackView.hpp"
#include "platform/appkit/StackView.hpp"
#include "platform/appkit/ViewController.hpp"
#include "platform/appkit/VisualEffectView.hpp"

namespace zelvana::droppane {

// The pane's content: a translucent backdrop with the stack of drop units,
// rebuilt whenever the options change. Main thread only.
class DropPaneViewController : public platform::ViewController {
public:
    const std::optional<DropPaneOptions>& options() const { return options_; }
    // Rebuilds the units.
    void setOptions(DropPaneOptions options);
    void reloadUnits();
    // Highlights the units with a mouse-up action while the pointer is over
    // them.
    void updateHover();
    // The unit views, in order.
    std::vector<std::shared_ptr<DropUnitStackView>> unitViews() const;

    std::shared_ptr<platform::VisualEffectView> visEffectView() const { return visEffectView_; }
    std::shared_ptr<platform::StackView> stackView() const { return stackView_.lock(); }
    bool setOutlet(const std::string& name,
                   const std::shared_ptr<platform::StoryboardObject>& object) override;
    void viewDidLoad() override;

private:
    std::optional<DropPaneOptions> options_;
    std::shared_ptr<platform::VisualEffectView> visEffectView_;
    std::weak_ptr<platform::StackView> stackView_;
};

}  // namespace zelvana::droppane
