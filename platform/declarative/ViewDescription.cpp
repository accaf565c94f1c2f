#include "platform/declarative/ViewDescription.hpp"

namespace zelvana::platform {

namespace {

ViewDescription::Node container(ViewDescription::Kind kind, std::vector<ViewDescription> children,
                                std::optional<double> spacing) {
    ViewDescription::Node node;
    node.kind = kind;
    node.children = std::move(children);
    node.spacing = spacing;
    return node;
}

}  // namespace

ViewDescription ViewDescription::text(std::string verbatim) {
    Node node;
    node.text = std::move(verbatim);
    return ViewDescription(std::move(node));
}

ViewDescription ViewDescription::localizedText(std::string key) {
    return text(std::move(key)).modified([](Node& node) { node.localized = true; });
}

ViewDescription ViewDescription::hStack(std::vector<ViewDescription> children,
                                        VerticalAlignment alignment,
                                        std::optional<double> spacing) {
    Node node = container(Kind::hStack, std::move(children), spacing);
    node.rowAlignment = alignment;
    return ViewDescription(std::move(node));
}

ViewDescription ViewDescription::vStack(std::vector<ViewDescription> children,
                                        HorizontalAlignment alignment,
                                        std::optional<double> spacing) {
    Node node = container(Kind::vStack, std::move(children), spacing);
    node.columnAlignment = std::move(alignment);
    return ViewDescription(std::move(node));
}

ViewDescription ViewDescription::form(std::vector<ViewDescription> rows) {
    return ViewDescription(container(Kind::form, std::move(rows), std::nullopt));
}

ViewDescription ViewDescription::labeledContent(ViewDescription label, ViewDescription content) {
    Node node =
        container(Kind::labeledContent, {std::move(label), std::move(content)}, std::nullopt);
    node.rowAlignment = VerticalAlignment::firstTextBaseline;
    return ViewDescription(std::move(node));
}

ViewDescription ViewDescription::modified(const std::function<void(Node&)>& change) const {
    Node node = *node_;
    change(node);
    return ViewDescription(std::move(node));
}

ViewDescription ViewDescription::alignmentGuide(HorizontalAlignment alignment,
                                                GuideValue value) const {
    return modified([&](Node& node) { node.guides.emplace_back(alignment, std::move(value)); });
}

ViewDescription ViewDescription::labelsHidden() const {
    return modified([](Node& node) { node.labelsHidden = true; });
}

ViewDescription ViewDescription::task(std::function<Subscription()> start) const {
    return modified([&](Node& node) { node.tasks.push_back(std::move(start)); });
}

}  // namespace zelvana::platform
