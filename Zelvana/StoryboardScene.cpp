#include "Zelvana/StoryboardScene.hpp"

#include "Logging/Logging.hpp"
#include "platform/appkit/Bundle.hpp"
#include "platform/appkit/Storyboard.hpp"

namespace zelvana::core {

using logging::Logging;

std::shared_ptr<platform::StoryboardObject> instantiateScene(const std::string& storyboardName,
                                                             const std::string& identifier) {
    std::string error;
    const auto storyboard =
        platform::Storyboard::load(storyboardName, platform::Bundle::main(), &error);
    if (!storyboard) {
        Logging::error("Unable to load the storyboard " + storyboardName + ": " + error);
        return nullptr;
    }
    auto object = storyboard->instantiateController(identifier, &error);
    if (!object) {
        Logging::error("Unable to make " + identifier + " of the storyboard " + storyboardName +
                       ": " + error);
    }
    return object;
}

void logSceneOfWrongClass(const std::string& storyboardName, const std::string& identifier,
                          const char* typeName) {
    Logging::error(identifier + " of the storyboard " + storyboardName + " is not a " + typeName);
}

}  // namespace zelvana::core
