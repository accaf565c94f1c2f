#pragma once

#include <memory>
#include <optional>
#include <string>

#include "platform/appkit/TextField.hpp"
#include "platform/appkit/ViewController.hpp"

namespace zelvana::core {

// The content of a message popover: one text field showing one message.
// Made from the storyboard "MessageDisplay". Main thread only.
class MessageViewController : public platform::ViewController {
public:
    static constexpr const char* storyboardName = "MessageDisplay";
    static constexpr const char* identifier = "MessagePopoverViewController";

    // Makes the class known to storyboards; safe to call again.
    static void registerStoryboardClass();

    // Weak, as the view owns the field.
    platform::TextField* messageField() const { return messageField_.lock().get(); }
    const std::optional<std::string>& message() const { return message_; }
    void setMessage(std::optional<std::string> message) { message_ = std::move(message); }

    // Writes the message, when there is one, into the field, and makes the
    // field and the view as high as its lines.
    void viewWillAppear() override;
    bool setOutlet(const std::string& name,
                   const std::shared_ptr<platform::StoryboardObject>& object) override;

private:
    void fitViewToMessage(platform::TextField& field);

    std::weak_ptr<platform::TextField> messageField_;
    std::optional<std::string> message_;
};

}  // namespace zelvana::core
