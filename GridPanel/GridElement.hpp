#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/appkit/Color.hpp"
#include "platform/appkit/Image.hpp"
#include "platform/appkit/Rect.hpp"

namespace zelvana::gridpanel {

// What the panel shows in a cell: the host's element (a space), shared with
// the host, so the panel's writes (a border colour, a title) reach the
// host's object. Main thread only.
class GridElement {
public:
    virtual ~GridElement() = default;

    virtual const std::optional<std::string>& id() const = 0;
    virtual void setId(std::optional<std::string> id) = 0;
    virtual const std::optional<platform::Image>& image() const = 0;
    virtual void setImage(std::optional<platform::Image> image) = 0;
    virtual const std::optional<platform::Image>& backgroundImage() const = 0;
    virtual void setBackgroundImage(std::optional<platform::Image> image) = 0;
    // The caption, and what type-to-search matches.
    virtual const std::optional<std::string>& title() const = 0;
    virtual void setTitle(std::optional<std::string> title) = 0;
    // The preferred cell size.
    virtual std::optional<platform::Size> size() const = 0;
    virtual const std::optional<platform::Color>& borderColor() const = 0;
    virtual void setBorderColor(std::optional<platform::Color> color) = 0;
    virtual std::optional<double> borderSize() const = 0;
    virtual void setBorderSize(std::optional<double> size) = 0;
    virtual const std::optional<platform::Color>& color() const = 0;
    virtual void setColor(std::optional<platform::Color> color) = 0;
    // The current one, such as the active space.
    virtual bool isCurrent() const = 0;
    // The highlighted one.
    virtual bool isNewSelection() const = 0;
    virtual void setIsNewSelection(bool value) = 0;
    // Activates the element (for a space: switches to it).
    virtual void select() const = 0;
    // Counts the changes of the picture, background, title and colours when
    // the element keeps count: a cell that saw the same count need not
    // compare them again. None: they are compared one by one.
    virtual std::optional<std::uint64_t> appearanceRevision() const { return std::nullopt; }
};

using GridElementRef = std::shared_ptr<GridElement>;
// Rows of elements, as the host hands them over; rows may differ in length.
using ElementRows = std::vector<std::vector<GridElementRef>>;

}  // namespace zelvana::gridpanel
