#include "GridPanel/KeyCode.hpp"

#include "platform/appkit/VirtualKeyCodes.hpp"

namespace zelvana::gridpanel::KeyCode {

const std::map<std::uint16_t, Directional>& arrowDirections() {
    static const std::map<std::uint16_t, Directional> directions{
        {platform::kVK_UpArrow, Directional::u},
        {platform::kVK_DownArrow, Directional::d},
        {platform::kVK_LeftArrow, Directional::l},
        {platform::kVK_RightArrow, Directional::r}};
    return directions;
}

}  // namespace zelvana::gridpanel::KeyCode
