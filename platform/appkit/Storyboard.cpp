#include "platform/appkit/Storyboard.hpp"

#include <algorithm>
#include <array>
#include <functional>
#include <map>
#include <mutex>
#include <stdexcept>
#include <vector>

#include "platform/appkit/Bundle.hpp"
#include "platform/appkit/Button.hpp"
#include "platform/appkit/ImageView.hpp"
#include "platform/appkit/Label.hpp"
#include "platform/appkit/PopUpButton.hpp"
#include "platform/appkit/StackView.hpp"
#include "platform/appkit/StoryboardActions.hpp"
#include "platform/appkit/TextField.hpp"
#include "platform/appkit/TextView.hpp"
#include "platform/appkit/ViewController.hpp"
#include "platform/appkit/Window.hpp"
#include "platform/appkit/WindowController.hpp"
#include "platform/core/MainThread.hpp"
#include "platform/foundation/PropertyListSerialization.hpp"

namespace zelvana::platform {

namespace {

// Thrown while building a scene and caught before it leaves this file.
struct BuildError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

template <class T>
Storyboard::Factory factoryOf() {
    return [] { return std::make_unique<T>(); };
}

std::mutex gRegistryMutex;

std::map<std::string, Storyboard::Factory>& registry() {
    static std::map<std::string, Storyboard::Factory> classes{
        {"Window", factoryOf<Window>()},
        {"View", factoryOf<View>()},
        {"TextView", factoryOf<TextView>()},
        {"TextField", factoryOf<TextField>()},
        {"Label", factoryOf<Label>()},
        {"Button", factoryOf<Button>()},
        {"ImageView", factoryOf<ImageView>()},
        {"PopUpButton", factoryOf<PopUpButton>()},
        {"StackView", factoryOf<StackView>()},
        {"ViewController", factoryOf<ViewController>()},
        {"WindowController", factoryOf<WindowController>()},
    };
    return classes;
}

std::unique_ptr<StoryboardObject> makeObject(const std::string& className) {
    Storyboard::Factory factory;
    {
        std::lock_guard lock(gRegistryMutex);
        auto it = registry().find(className);
        if (it == registry().end()) throw BuildError("unknown class " + className);
        factory = it->second;
    }
    auto object = factory();
    if (!object) throw BuildError("the factory of " + className + " made nothing");
    return object;
}

// Makes an object of `className` that must be a T.
template <class T>
std::unique_ptr<T> make(const std::string& className, const char* kind) {
    auto object = makeObject(className);
    auto* typed = dynamic_cast<T*>(object.get());
    if (!typed) throw BuildError("class " + className + " is not a " + kind);
    object.release();
    return std::unique_ptr<T>(typed);
}

const PropertyValue* member(const PropertyDictionary& dict, const std::string& key) {
    auto it = dict.find(key);
    return it == dict.end() ? nullptr : &it->second;
}

std::optional<std::string> stringAt(const PropertyDictionary& dict, const std::string& key) {
    const PropertyValue* value = member(dict, key);
    if (!value) return std::nullopt;
    if (!value->isString()) throw BuildError(key + " is not a string");
    return *value->stringValue();
}

std::optional<std::int64_t> integerAt(const PropertyDictionary& dict, const std::string& key) {
    const PropertyValue* value = member(dict, key);
    if (!value) return std::nullopt;
    if (!value->integerValue()) throw BuildError(key + " is not an integer");
    return *value->integerValue();
}

const PropertyDictionary* dictionaryAt(const PropertyDictionary& dict, const std::string& key) {
    const PropertyValue* value = member(dict, key);
    if (value && !value->isDictionary()) throw BuildError(key + " is not a dictionary");
    return value ? value->dictionaryValue() : nullptr;
}

std::optional<Rect> frameAt(const PropertyDictionary& dict) {
    const PropertyValue* value = member(dict, "frame");
    if (!value) return std::nullopt;
    const PropertyArray* numbers = value->arrayValue();
    if (!numbers || numbers->size() != 4) throw BuildError("frame is not [x, y, w, h]");
    double parts[4];
    for (std::size_t i = 0; i < 4; ++i) {
        auto number = (*numbers)[i].asDouble();
        if (!number) throw BuildError("frame is not [x, y, w, h]");
        parts[i] = *number;
    }
    return Rect::make(parts[0], parts[1], parts[2], parts[3]);
}

// Builds one scene (and the scenes it refers to) from the description.
class SceneBuilder {
public:
    explicit SceneBuilder(const PropertyDictionary& scenes) : scenes_(scenes) {}

    std::shared_ptr<StoryboardObject> controller(const std::string& identifier);
    // Tells every object made so far that the scene is complete, in the
    // order they were made.
    void awakeFromNib() const;

private:
    using ViewsById = std::map<std::string, std::shared_ptr<View>>;

    const PropertyDictionary& scene(const std::string& identifier) const;
    void configure(WindowController& controller, const PropertyDictionary& scene);
    void configure(ViewController& controller, const PropertyDictionary& scene);
    std::unique_ptr<Window> window(const PropertyDictionary& description);
    std::shared_ptr<View> view(const PropertyDictionary& description, ViewsById& views);
    void configureView(View& view, const PropertyDictionary& description);
    void configureButton(Button& button, const PropertyDictionary& description);
    void addItems(PopUpButton& button, const PropertyDictionary& description);
    void configureTextField(TextField& field, const PropertyDictionary& description);
    void configureStackView(StackView& stack, const PropertyDictionary& description);
    void addSubviews(View& view, const PropertyDictionary& description, ViewsById& views);
    void connectOutlets(StoryboardObject& owner, const PropertyDictionary& outlets,
                        const ViewsById& views);
    static void bindActions(StoryboardObject& owner, View& root);

    const PropertyDictionary& scenes_;
    std::vector<std::string> building_;
    // Owned by the objects handed out.
    std::vector<StoryboardObject*> made_;
};

void SceneBuilder::awakeFromNib() const {
    for (StoryboardObject* object : made_) object->awakeFromNib();
}

const PropertyDictionary& SceneBuilder::scene(const std::string& identifier) const {
    const PropertyDictionary* found = dictionaryAt(scenes_, identifier);
    if (!found) throw BuildError("no scene with the identifier " + identifier);
    return *found;
}

std::shared_ptr<StoryboardObject> SceneBuilder::controller(const std::string& identifier) {
    if (std::ranges::find(building_, identifier) != building_.end()) {
        throw BuildError("scene " + identifier + " contains itself");
    }
    const PropertyDictionary& description = scene(identifier);
    auto className = stringAt(description, "class");
    if (!className) throw BuildError("scene " + identifier + " names no class");
    building_.push_back(identifier);
    std::shared_ptr<StoryboardObject> object = makeObject(*className);
    made_.push_back(object.get());
    if (auto* windowController = dynamic_cast<WindowController*>(object.get())) {
        configure(*windowController, description);
    } else if (auto* viewController = dynamic_cast<ViewController*>(object.get())) {
        configure(*viewController, description);
    }
    building_.pop_back();
    return object;
}

void SceneBuilder::configure(WindowController& controller, const PropertyDictionary& scene) {
    if (const PropertyDictionary* description = dictionaryAt(scene, "window")) {
        controller.setWindow(window(*description));
        if (auto position = stringAt(*description, "position")) {
            if (*position != "center") throw BuildError("unknown position " + *position);
            controller.setInitialPosition(WindowController::InitialPosition::centered);
        }
        // What the content's own controller left unbound is the window controller's.
        if (View* content = controller.window()->contentView()) bindActions(controller, *content);
    }
    if (const PropertyDictionary* outlets = dictionaryAt(scene, "outlets")) {
        connectOutlets(controller, *outlets, {});
    }
}

void SceneBuilder::configure(ViewController& controller, const PropertyDictionary& scene) {
    ViewsById views;
    std::shared_ptr<View> root;
    if (const PropertyDictionary* description = dictionaryAt(scene, "view")) {
        root = view(*description, views);
        controller.setView(root);
    }
    // Outlets are connected before anything loads the view.
    if (const PropertyDictionary* outlets = dictionaryAt(scene, "outlets")) {
        connectOutlets(controller, *outlets, views);
    }
    if (root) bindActions(controller, *root);
}

void SceneBuilder::bindActions(StoryboardObject& owner, View& root) {
    StoryboardActions actions;
    owner.connectActions(actions);
    const std::function<void(View&)> bind = [&](View& view) {
        auto* button = dynamic_cast<Button*>(&view);
        if (button && !button->action().empty() && !button->hasCallback() &&
            actions.bind(*button) == StoryboardActions::Binding::otherControl) {
            throw BuildError("the action " + button->action() + " is not for this control");
        }
        for (const auto& subview : view.subviews()) bind(*subview);
    };
    bind(root);
}

std::unique_ptr<Window> SceneBuilder::window(const PropertyDictionary& description) {
    auto window = make<Window>(stringAt(description, "class").value_or("Window"), "window");
    made_.push_back(window.get());
    // As a new window in a storyboard is: it has all three title-bar buttons.
    window->setStyleMask(window->styleMask() | Window::Style::closable |
                         Window::Style::miniaturizable | Window::Style::resizable);
    if (auto title = stringAt(description, "title")) window->setTitle(*title);
    if (const PropertyValue* style = member(description, "styleMask")) {
        const auto mask = style->integerValue();
        if (!mask || *mask < 0) throw BuildError("styleMask is not a style mask");
        window->setStyleMask(Window::StyleMask::fromRaw(static_cast<std::uint64_t>(*mask)));
    }
    if (auto frame = frameAt(description)) window->setFrame(*frame);
    if (auto content = stringAt(description, "contentViewController")) {
        auto controller = std::dynamic_pointer_cast<ViewController>(this->controller(*content));
        if (!controller) throw BuildError("scene " + *content + " is not a view controller");
        window->setContentViewController(std::move(controller));
    }
    return window;
}

std::shared_ptr<View> SceneBuilder::view(const PropertyDictionary& description, ViewsById& views) {
    std::shared_ptr<View> view =
        make<View>(stringAt(description, "class").value_or("View"), "view");
    made_.push_back(view.get());
    if (auto identifier = stringAt(description, "id")) {
        if (!views.emplace(*identifier, view).second) {
            throw BuildError("two views with the id " + *identifier);
        }
        view->setIdentifier(*identifier);
    }
    configureView(*view, description);
    addSubviews(*view, description, views);
    return view;
}

void SceneBuilder::configureView(View& view, const PropertyDictionary& description) {
    if (auto frame = frameAt(description)) view.setFrame(*frame);
    if (auto* textView = dynamic_cast<TextView*>(&view)) {
        if (const PropertyValue* editable = member(description, "editable")) {
            if (!editable->isBool()) throw BuildError("editable is not a boolean");
            textView->setEditable(*editable->boolValue());
        }
        if (auto text = stringAt(description, "string")) textView->setString(*text);
    }
    if (auto* button = dynamic_cast<Button*>(&view)) configureButton(*button, description);
    if (auto* popUp = dynamic_cast<PopUpButton*>(&view)) addItems(*popUp, description);
    if (auto* field = dynamic_cast<TextField*>(&view)) configureTextField(*field, description);
    if (auto* stack = dynamic_cast<StackView*>(&view)) configureStackView(*stack, description);
}

void SceneBuilder::configureButton(Button& button, const PropertyDictionary& description) {
    if (auto title = stringAt(description, "title")) button.setTitle(*title);
    if (auto action = stringAt(description, "action")) button.setAction(*action);
    if (const PropertyValue* bordered = member(description, "bordered")) {
        if (!bordered->isBool()) throw BuildError("bordered is not a boolean");
        button.setBordered(*bordered->boolValue());
    }
    if (const auto style = integerAt(description, "bezelStyle")) {
        using Style = Button::BezelStyle;
        constexpr std::array known{Style::rounded, Style::regularSquare, Style::recessed,
                                   Style::inline_};
        const auto found = std::ranges::find_if(
            known, [&](Style each) { return static_cast<std::int64_t>(each) == *style; });
        if (found == known.end()) throw BuildError("unknown bezelStyle " + std::to_string(*style));
        button.setBezelStyle(*found);
    }
    if (auto type = stringAt(description, "buttonType")) {
        if (*type == "checkbox") {
            button.setButtonType(Button::ButtonType::checkbox);
        } else if (*type == "toggle") {
            button.setButtonType(Button::ButtonType::toggle);
        } else if (*type != "momentaryPushIn") {
            throw BuildError("unknown buttonType " + *type);
        }
    }
}

void SceneBuilder::addItems(PopUpButton& button, const PropertyDictionary& description) {
    const PropertyValue* items = member(description, "items");
    if (!items) return;
    if (!items->isArray()) throw BuildError("items is not an array");
    for (const PropertyValue& element : *items->arrayValue()) {
        const PropertyDictionary* item = element.dictionaryValue();
        const PropertyValue* tag = item ? member(*item, "tag") : nullptr;
        const auto title = item ? stringAt(*item, "title") : std::nullopt;
        if (!title || !tag || !tag->integerValue())
            throw BuildError("an item needs a title and a tag");
        button.addItem(*title, *tag->integerValue());
    }
}

void SceneBuilder::configureTextField(TextField& field, const PropertyDictionary& description) {
    if (auto text = stringAt(description, "string")) field.setStringValue(*text);
    if (const PropertyValue* editable = member(description, "editable")) {
        if (!editable->isBool()) throw BuildError("editable is not a boolean");
        field.setEditable(*editable->boolValue());
    }
    if (const PropertyValue* wraps = member(description, "wraps")) {
        if (!wraps->isBool()) throw BuildError("wraps is not a boolean");
        if (*wraps->boolValue()) {
            // Lines break at the width the scene gives the field.
            field.setLineBreakMode(LineBreakMode::byWordWrapping);
            field.setPreferredMaxLayoutWidth(field.frame().width());
        }
    }
}

void SceneBuilder::configureStackView(StackView& stack, const PropertyDictionary& description) {
    if (const auto distribution = integerAt(description, "distribution")) {
        if (*distribution < 0 ||
            *distribution > static_cast<std::int64_t>(StackView::Distribution::equalCentering)) {
            throw BuildError("unknown distribution " + std::to_string(*distribution));
        }
        stack.setDistribution(static_cast<StackView::Distribution>(*distribution));
    }
}

void SceneBuilder::addSubviews(View& view, const PropertyDictionary& description,
                               ViewsById& views) {
    const PropertyValue* subviews = member(description, "subviews");
    if (!subviews) return;
    if (!subviews->isArray()) throw BuildError("subviews is not an array");
    for (const PropertyValue& element : *subviews->arrayValue()) {
        if (!element.isDictionary()) throw BuildError("a subview is not a dictionary");
        view.addSubview(this->view(*element.dictionaryValue(), views));
    }
}

void SceneBuilder::connectOutlets(StoryboardObject& owner, const PropertyDictionary& outlets,
                                  const ViewsById& views) {
    for (const auto& [name, target] : outlets) {
        const std::string* identifier = target.stringValue();
        if (!identifier) throw BuildError("outlet " + name + " names no id");
        auto it = views.find(*identifier);
        if (it == views.end()) throw BuildError("outlet " + name + ": no view " + *identifier);
        if (!owner.setOutlet(name, it->second)) {
            throw BuildError("no outlet " + name + " that takes " + *identifier);
        }
    }
}

void report(std::string* error, const std::string& message) {
    if (error) *error = message;
}

}  // namespace

void Storyboard::registerClass(const std::string& className, Factory factory) {
    std::lock_guard lock(gRegistryMutex);
    registry()[className] = std::move(factory);
}

bool Storyboard::isClassRegistered(const std::string& className) {
    std::lock_guard lock(gRegistryMutex);
    return registry().contains(className);
}

std::optional<Storyboard> Storyboard::load(const std::string& name, const Bundle& bundle,
                                           std::string* error) {
    auto path = bundle.pathForResource(name, "storyboard");
    if (!path) {
        report(error, "no storyboard named " + name + " in " + bundle.bundlePath().string());
        return std::nullopt;
    }
    return loadFile(*path, error);
}

std::optional<Storyboard> Storyboard::loadFile(const std::filesystem::path& path,
                                               std::string* error) {
    auto document = PropertyListSerialization::readXmlFile(path, error);
    if (!document) return std::nullopt;
    const PropertyDictionary* top = document->dictionaryValue();
    const PropertyValue* scenes = top ? document->find("scenes") : nullptr;
    if (!scenes || !scenes->isDictionary()) {
        report(error, path.string() + " has no scenes");
        return std::nullopt;
    }
    const PropertyValue* initial = document->find("initialController");
    std::string initialName = initial && initial->isString() ? *initial->stringValue() : "";
    return Storyboard(*scenes->dictionaryValue(), std::move(initialName));
}

std::shared_ptr<StoryboardObject> Storyboard::instantiateController(const std::string& identifier,
                                                                    std::string* error) const {
    platform::assertMainThread();
    try {
        SceneBuilder builder(scenes_);
        auto controller = builder.controller(identifier);
        builder.awakeFromNib();
        return controller;
    } catch (const std::exception& failure) {
        report(error, failure.what());
        return nullptr;
    }
}

std::shared_ptr<StoryboardObject> Storyboard::instantiateInitialController(
    std::string* error) const {
    platform::assertMainThread();
    if (initialController_.empty()) {
        report(error, "the storyboard has no initial controller");
        return nullptr;
    }
    return instantiateController(initialController_, error);
}

}  // namespace zelvana::platform
