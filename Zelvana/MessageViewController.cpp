#include "Zelvana/MessageViewController.hpp"

#include "platform/appkit/Storyboard.hpp"
#include "platform/core/MainThread.hpp"

namespace zelvana::core {

void MessageViewController::registerStoryboardClass() {
    platform::assertMainThread();
    platform::Storyboard::registerClass("MessageViewController",
                                        [] { return std::make_unique<MessageViewController>(); });
}

bool MessageViewController::setOutlet(const std::string& name,
                                      const std::shared_ptr<platform::StoryboardObject>& object) {
    platform::assertMainThread();
    auto field = std::dynamic_pointer_cast<platform::TextField>(object);
    if (name != "messageField" || !field) return false;
    messageField_ = field;
    return true;
}

void MessageViewController::viewWillAppear() {
    platform::assertMainThread();
    ViewController::viewWillAppear();
    if (platform::TextField* field = messageField(); field && message_) {
        field->setStringValue(*message_);
        fitViewToMessage(*field);
    }
}

void MessageViewController::fitViewToMessage(platform::TextField& field) {
    // The field grows to the lines of its message and the view with it,
    // keeping the room the storyboard leaves below the field.
    const platform::Rect frame = field.frame();
    const double below = view()->frame().height() - frame.maxY();
    const double height = field.cellSizeForBounds(field.bounds()).height;
    field.setFrameSize({frame.width(), height});
    view()->setFrameSize({view()->frame().width(), frame.minY() + height + below});
}

}  // namespace zelvana::core
