#include "GridPanel/GridPanelOptions.hpp"

namespace zelvana::gridpanel {

GridPanelOptions::GridPanelOptions() : font(platform::Font::systemFont(20)) {}

}  // namespace zelvana::gridpanel
