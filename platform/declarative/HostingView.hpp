#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "platform/appkit/View.hpp"
#include "platform/core/Subscription.hpp"
#include "platform/core/Weak.hpp"
#include "platform/declarative/ViewDescription.hpp"

namespace zelvana::platform {

// The platform views built for one description, and their layout.
struct RenderedView;

// Shows a described view as platform views (NSHostingView): builds them and
// lays them out at their natural sizes from its top-left corner. Its body is
// worked out anew at once by setBody and update, and on the next turn of the
// main queue after a State it read changed. Where the new description keeps
// the old one's kind at a place (and a platform view its type), the same
// platform views are updated, so they keep their state; elsewhere they are
// made anew, and tasks of views that went end. Main thread only.
class HostingView : public View {
public:
    // Between the views of a stack that gives no spacing, and between a label
    // and its content.
    static constexpr double defaultSpacing = 8;
    static constexpr double formRowSpacing = 10;

    explicit HostingView(std::function<ViewDescription()> body);
    ~HostingView() override;

    void setBody(std::function<ViewDescription()> body);
    void update();

    // The laid-out content's size.
    Size intrinsicContentSize() const override;
    void layout() override;

private:
    void scheduleUpdate();

    std::function<ViewDescription()> body_;
    std::unique_ptr<RenderedView> root_;
    std::vector<Subscription> stateChanges_;
    bool updateScheduled_ = false;
    WeakFactory<HostingView> weak_{this};
};

}  // namespace zelvana::platform
