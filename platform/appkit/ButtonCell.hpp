#pragma once

#include <memory>
#include <optional>
#include <string>

#include "platform/appkit/Event.hpp"
#include "platform/appkit/Image.hpp"
#include "platform/appkit/Rect.hpp"

namespace zelvana::platform {

class Menu;
class View;

// What draws a button and follows the pointer while it is pressed
// (NSButtonCell): a title or an image, the menu its control offers, and the
// highlight. Its control owns it. Main thread only.
class ButtonCell {
public:
    explicit ButtonCell(std::string title) : title_(std::move(title)) {}
    // An image cell; without an image it draws nothing.
    explicit ButtonCell(std::optional<Image> image) : image_(std::move(image)) {}
    virtual ~ButtonCell() = default;
    ButtonCell(const ButtonCell&) = delete;
    ButtonCell& operator=(const ButtonCell&) = delete;

    const std::string& title() const { return title_; }
    const std::optional<Image>& image() const { return image_; }
    const std::shared_ptr<Menu>& menu() const { return menu_; }
    void setMenu(std::shared_ptr<Menu> menu) { menu_ = std::move(menu); }
    // The control showing it: set by the control, which outlives it.
    View* controlView() const { return controlView_; }
    void setControlView(View* view) { controlView_ = view; }

    bool isHighlighted() const { return highlighted_; }
    // Draws the cell highlighted or not in `frame` of `view`.
    virtual void highlight(bool flag, Rect frame, View* view);
    // Follows a press in `cellFrame` of `view`; true when the cell took it.
    // The base takes none: its control's own press and release decide.
    virtual bool trackMouse(const Event& /*event*/, Rect /*cellFrame*/, View& /*view*/,
                            bool /*untilMouseUp*/) {
        return false;
    }

private:
    std::string title_;
    std::optional<Image> image_;
    std::shared_ptr<Menu> menu_;
    View* controlView_ = nullptr;
    bool highlighted_ = false;
};

}  // namespace zelvana::platform
