#pragma once

#include "platform/appkit/Bundle.hpp"

namespace zelvana::droppane {

// The package's resource bundle, "DropPane_DropPane.bundle": the first that
// opens in the main bundle's resources, beside the package's code or in the
// main bundle's own folder, kept for the process. Stops the process with
// "unable to find bundle named DropPane_DropPane" when none does.
platform::Bundle& dropPaneResourceBundle();

}  // namespace zelvana::droppane
