#pragma once

#include <memory>
#include <string>

#include "platform/appkit/StoryboardObject.hpp"

namespace zelvana::core {

// The object of scene `identifier` in the main bundle's storyboard
// `storyboardName`; none, with a logged error, when the storyboard or the
// scene is missing or cannot be built. Main thread.
std::shared_ptr<platform::StoryboardObject> instantiateScene(const std::string& storyboardName,
                                                             const std::string& identifier);

// The same scene when it is a T; otherwise none, logged.
template <class T>
std::shared_ptr<T> instantiateSceneAs(const std::string& storyboardName,
                                      const std::string& identifier, const char* typeName);

void logSceneOfWrongClass(const std::string& storyboardName, const std::string& identifier,
                          const char* typeName);

template <class T>
std::shared_ptr<T> instantiateSceneAs(const std::string& storyboardName,
                                      const std::string& identifier, const char* typeName) {
    auto object = instantiateScene(storyboardName, identifier);
    auto typed = std::dynamic_pointer_cast<T>(object);
    if (object && !typed) logSceneOfWrongClass(storyboardName, identifier, typeName);
    return typed;
}

}  // namespace zelvana::core
