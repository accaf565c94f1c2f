#pragma once

#include <optional>
#include <vector>

#include "platform/appkit/StackView.hpp"

namespace zelvana::gridpanel {

// A stack laid out again only when its size or its arranged views (which
// ones, shown or not, how large) changed: the same layout would place them
// just as they are, so a grid of thousands of cells lays out only the rows
// that changed. Main thread only.
class SteadyStackView : public platform::StackView {
public:
    void layout() override;

private:
    struct Placed {
        const platform::View* view;
        bool hidden;
        platform::Size size;
        bool operator==(const Placed&) const = default;
    };
    std::vector<Placed> placed() const;

    std::optional<platform::Size> laidOutSize_;
    std::vector<Placed> laidOut_;
};

}  // namespace zelvana::gridpanel
