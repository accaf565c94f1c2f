#pragma once

#include <string>
#include <vector>

namespace zelvana::platform {
class View;
}

namespace zelvana::platform::testing {

// The texts of the shown text fields and labels in `root`'s tree that are
// cut without an ellipsis: their lines do not fit the field, or the field
// reaches past one of its ancestors. Each as "text" and the room it lacks.
std::vector<std::string> textsClippedWithoutEllipsis(const View& root);

}  // namespace zelvana::platform::testing
