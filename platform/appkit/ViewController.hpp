#pragma once

#include <memory>

#include "platform/appkit/StoryboardObject.hpp"
#include "platform/appkit/View.hpp"

namespace zelvana::platform {

// Manages one view tree. The view is made (or taken as set) on first access,
// and viewDidLoad runs once, right after. Main thread only.
class ViewController : public StoryboardObject {
public:
    const std::shared_ptr<View>& view();
    // Sets the view without loading it; a storyboard does this before
    // connecting outlets, so viewDidLoad sees them.
    void setView(std::shared_ptr<View> view) { view_ = std::move(view); }
    bool isViewLoaded() const { return loaded_; }
    // The size the content asks for; setting it resizes the window whose
    // content the view is.
    Size preferredContentSize() const { return preferredContentSize_; }
    void setPreferredContentSize(Size size);

    // The window showing the view calls these around ordering it on screen
    // and off it.
    virtual void viewWillAppear() {}
    virtual void viewDidAppear() {}
    virtual void viewWillDisappear() {}
    virtual void viewDidDisappear() {}

protected:
    // Makes the view when none was set; by default an empty one.
    virtual void loadView() { view_ = std::make_shared<View>(); }
    virtual void viewDidLoad() {}

private:
    std::shared_ptr<View> view_;
    Size preferredContentSize_;
    bool loaded_ = false;
};

}  // namespace zelvana::platform
