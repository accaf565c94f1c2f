#include "GridPanel/CellUnit.hpp"

#include "platform/appkit/Color.hpp"
#include "platform/core/MainThread.hpp"

namespace zelvana::gridpanel {

CellUnit::CellUnit(GridElementRef element, GridUnitType type)
    : element_(std::move(element)), type_(type) {
    platform::assertMainThread();
    if (!element_) return;
    if (type_ == GridUnitType::target)
        element_->setBorderColor(platform::Color::systemIndigoColor());
    if (type_ == GridUnitType::initial) element_->setBorderColor(platform::Color::darkGrayColor());
}

}  // namespace zelvana::gridpanel
