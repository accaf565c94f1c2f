#include "GridPanel/KeyCode.hpp"

namespace zelvana::gridpanel::KeyCode {

const std::map<std::uint16_t, Directional>& arrowDirections() {
    static const std::map<std::uint16_t, Directional> directions{
        {126, Directional::u}, {125, Directional::d}, {123, Directional::l}, {124, Directional::r}};
    return directions;
}

}  // namespace zelvana::gridpanel::KeyCode
