#include "DropPane/DropPaneBundle.hpp"

#include <cstdio>
#include <cstdlib>

namespace zelvana::droppane {

platform::Bundle& dropPaneResourceBundle() {
    static platform::Bundle bundle = [] {
        auto found = platform::Bundle::findIn(platform::Bundle::packageBundleFolders(),
                                              "DropPane_DropPane.bundle");
        if (!found) {
            std::fputs("Fatal error: unable to find bundle named DropPane_DropPane\n", stderr);
            std::abort();
        }
        return std::move(*found);
    }();
    return bundle;
}

}  // namespace zelvana::droppane
