#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "platform/appkit/StoryboardObject.hpp"
#include "platform/foundation/PropertyList.hpp"

namespace zelvana::platform {

class Bundle;

// A storyboard: an XML property list ("<name>.storyboard" in a bundle's
// resources) describing controller scenes by identifier. Each scene names its
// class, and a window controller its window, a view controller its view tree
// and outlets. Objects are made through a registry of classes by name;
// packages register their own classes before loading.
//
//   initialController: identifier
//   scenes: { identifier: { class, window?, view?, outlets? } }
//   window: { class?, title?, styleMask? (the style bits), frame: [x, y, w, h]?,
//             contentViewController?: identifier }
//           closable, miniaturizable and resizable besides its class's style
//           unless styleMask gives the bits;
//           position?: "center" (on its screen, the first time it is shown)
//           (the window takes the content view's size)
//   view:   { class?, id?, frame?, subviews?: [view], title?, action?, editable?,
//             buttonType?: "momentaryPushIn" | "toggle" | "checkbox", bordered?,
//             string?, wraps? (a text field breaking lines at its frame's width) }
//   outlets: { outletName: id of a view in the scene }
class Storyboard {
public:
    using Factory = std::function<std::unique_ptr<StoryboardObject>()>;

    // Thread-safe. Registering a name again replaces its factory. AppKit's own
    // classes (Window, View, TextView, TextField, Label, Button, ImageView,
    // PopUpButton, StackView, ViewController, WindowController) are always there.
    static void registerClass(const std::string& className, Factory factory);
    static bool isClassRegistered(const std::string& className);

    // Absent, with a description in `error`, when the file is missing or not a
    // storyboard.
    static std::optional<Storyboard> load(const std::string& name, const Bundle& bundle,
                                          std::string* error = nullptr);
    static std::optional<Storyboard> loadFile(const std::filesystem::path& path,
                                              std::string* error = nullptr);

    // Makes the scene's controller with its window or views and outlets; null,
    // with a description in `error`, when the scene or a class is unknown or
    // the description does not fit the classes. Main thread.
    std::shared_ptr<StoryboardObject> instantiateController(const std::string& identifier,
                                                            std::string* error = nullptr) const;
    std::shared_ptr<StoryboardObject> instantiateInitialController(
        std::string* error = nullptr) const;

private:
    Storyboard(PropertyDictionary scenes, std::string initialController)
        : scenes_(std::move(scenes)), initialController_(std::move(initialController)) {}

    PropertyDictionary scenes_;
    std::string initialController_;
};

}  // namespace zelvana::platform
