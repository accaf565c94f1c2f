#pragma once

#include "GridPanel/GridElement.hpp"

namespace zelvana::gridpanel {

// The element of an empty place in a row (a fill or drop place while a drag
// is previewed): plain stored fields, all empty, and a select that does
// nothing. Main thread only.
class EmptyGridElement final : public GridElement {
public:
    EmptyGridElement() = default;
    // An empty element that takes the room of an element of `size`.
    explicit EmptyGridElement(std::optional<platform::Size> size) : size_(size) {}

    const std::optional<std::string>& id() const override { return id_; }
    void setId(std::optional<std::string> id) override { id_ = std::move(id); }
    const std::optional<platform::Image>& image() const override { return image_; }
    void setImage(std::optional<platform::Image> image) override { image_ = std::move(image); }
    const std::optional<platform::Image>& backgroundImage() const override {
        return backgroundImage_;
    }
    void setBackgroundImage(std::optional<platform::Image> image) override {
        backgroundImage_ = std::move(image);
    }
    const std::optional<std::string>& title() const override { return title_; }
    void setTitle(std::optional<std::string> title) override { title_ = std::move(title); }
    std::optional<platform::Size> size() const override { return size_; }
    const std::optional<platform::Color>& borderColor() const override { return borderColor_; }
    void setBorderColor(std::optional<platform::Color> color) override { borderColor_ = color; }
    std::optional<double> borderSize() const override { return borderSize_; }
    void setBorderSize(std::optional<double> size) override { borderSize_ = size; }
    const std::optional<platform::Color>& color() const override { return color_; }
    void setColor(std::optional<platform::Color> color) override { color_ = color; }
    bool isCurrent() const override { return isCurrent_; }
    bool isNewSelection() const override { return isNewSelection_; }
    void setIsNewSelection(bool value) override { isNewSelection_ = value; }
    void select() const override {}

private:
    std::optional<std::string> id_;
    std::optional<platform::Image> image_;
    std::optional<platform::Image> backgroundImage_;
    std::optional<std::string> title_;
    std::optional<platform::Size> size_;
    std::optional<platform::Color> borderColor_;
    std::optional<double> borderSize_;
    std::optional<platform::Color> color_;
    bool isCurrent_ = false;
    bool isNewSelection_ = false;
};

}  // namespace zelvana::gridpanel
