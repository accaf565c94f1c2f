#pragma once

#include <string>

#include "platform/appkit/Panel.hpp"
#include "platform/foundation/PropertyList.hpp"

namespace zelvana::platform {

// The standard about panel: the application's icon, its name, "Version
// <short version> (<build>)" and its copyright, from the options where they
// give them ("ApplicationIcon" is left to the bundle; "ApplicationName",
// "Version", "ApplicationVersion", "Copyright") and otherwise from the main
// bundle's information. A titled window with a close button. Main thread only.
class AboutPanel : public Panel {
public:
    explicit AboutPanel(const PropertyDictionary& options);

    const std::string& applicationName() const { return name_; }
    // "Version 3.0 (120)"; without a build, "Version 3.0".
    const std::string& versionText() const { return version_; }
    const std::string& copyright() const { return copyright_; }

private:
    double layOutContent(View& content);

    std::string name_;
    std::string version_;
    std::string copyright_;
};

}  // namespace zelvana::platform
