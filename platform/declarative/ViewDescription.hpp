#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <typeindex>
#include <utility>
#include <vector>

#include "platform/appkit/View.hpp"
#include "platform/core/Subscription.hpp"
#include "platform/declarative/Alignment.hpp"

namespace zelvana::platform {

// A view described as a value (a SwiftUI view): text, a row or a column of
// views, a form, a labelled row or a platform view, with modifiers. A
// HostingView turns it into platform views and keeps them in step with it.
// Copies share their contents.
class ViewDescription {
public:
    using GuideValue = std::function<double(const ViewDimensions&)>;

    static ViewDescription text(std::string verbatim);
    // The key's text in the main bundle's "Localizable" table, looked up
    // when shown.
    static ViewDescription localizedText(std::string key);
    // Default spacing: 8 points.
    static ViewDescription hStack(std::vector<ViewDescription> children,
                                  VerticalAlignment alignment = VerticalAlignment::center,
                                  std::optional<double> spacing = std::nullopt);
    static ViewDescription vStack(std::vector<ViewDescription> children,
                                  HorizontalAlignment alignment = HorizontalAlignment::center(),
                                  std::optional<double> spacing = std::nullopt);
    // Rows, one under the other, lined up on the form's control column: a
    // labelled row puts its content there and its label before it, any
    // other row its leading alignment guide.
    static ViewDescription form(std::vector<ViewDescription> rows);
    // The label, then the content, on their first baselines.
    static ViewDescription labeledContent(ViewDescription label, ViewDescription content);
    // A platform view of type V, made by `make` when first shown and given
    // to `update` then and whenever the description is shown anew; a later
    // description of the same type at the same place updates the same view.
    template <class V>
    static ViewDescription platformView(std::function<std::shared_ptr<V>()> make,
                                        std::function<void(V&)> update);

    // The view's value for `alignment`, worked out from its dimensions.
    ViewDescription alignmentGuide(HorizontalAlignment alignment, GuideValue value) const;
    // The labels of labelled rows inside are not shown.
    ViewDescription labelsHidden() const;
    // Runs `start` when the view is first shown; what it returns ends when
    // the view goes.
    ViewDescription task(std::function<Subscription()> start) const;

    // What the hosting view reads.
    enum class Kind { text, hStack, vStack, form, labeledContent, platformView };
    struct Node {
        Kind kind = Kind::text;
        std::string text;
        bool localized = false;
        std::vector<ViewDescription> children;
        VerticalAlignment rowAlignment = VerticalAlignment::center;
        HorizontalAlignment columnAlignment = HorizontalAlignment::leading();
        std::optional<double> spacing;
        std::type_index viewType = typeid(void);
        std::function<std::shared_ptr<View>()> make;
        std::function<void(View&)> update;
        std::vector<std::pair<HorizontalAlignment, GuideValue>> guides;
        bool labelsHidden = false;
        std::vector<std::function<Subscription()>> tasks;
    };
    const Node& node() const { return *node_; }

private:
    explicit ViewDescription(Node node) : node_(std::make_shared<const Node>(std::move(node))) {}
    ViewDescription modified(const std::function<void(Node&)>& change) const;

    std::shared_ptr<const Node> node_;
};

template <class V>
ViewDescription ViewDescription::platformView(std::function<std::shared_ptr<V>()> make,
                                              std::function<void(V&)> update) {
    Node node;
    node.kind = Kind::platformView;
    node.viewType = typeid(V);
    node.make = [make = std::move(make)]() -> std::shared_ptr<View> { return make(); };
    node.update = [update = std::move(update)](View& view) { update(static_cast<V&>(view)); };
    return ViewDescription(std::move(node));
}

}  // namespace zelvana::platform
