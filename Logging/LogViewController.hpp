#pragma once

#include <memory>
#include <string>

#include "platform/appkit/Font.hpp"
#include "platform/appkit/TextAttributes.hpp"
#include "platform/appkit/TextView.hpp"
#include "platform/appkit/ViewController.hpp"

namespace zelvana::logging {

// The log window's content: a read-only text view that the lines are
// appended to. Main thread.
class LogViewController : public platform::ViewController {
public:
    LogViewController();

    // Must be connected before the view is used.
    const std::shared_ptr<platform::TextView>& textView() const { return textView_; }
    void setTextView(std::shared_ptr<platform::TextView> textView);
    const platform::Font& font() const { return font_; }
    const platform::TextAttributes& textColorAttribute() const { return textColorAttribute_; }

    // Appends with the text attributes; follows the end only when the view
    // was already there, so a reader who scrolled up stays put.
    void appendText(const std::string& text);

    bool setOutlet(const std::string& name,
                   const std::shared_ptr<platform::StoryboardObject>& object) override;

protected:
    void viewDidLoad() override;

private:
    std::shared_ptr<platform::TextView> textView_;
    platform::Font font_;
    platform::TextAttributes textColorAttribute_;
};

}  // namespace zelvana::logging
