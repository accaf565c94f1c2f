#include "platform/declarative/HostingView.hpp"

#include <algorithm>
#include <optional>

#include "platform/appkit/Bundle.hpp"
#include "platform/appkit/TextField.hpp"
#include "platform/core/MainThread.hpp"
#include "platform/declarative/State.hpp"
#include "platform/dispatch/Queue.hpp"

namespace zelvana::platform {

struct RenderedView {
    explicit RenderedView(ViewDescription shown) : description(std::move(shown)) {}

    ViewDescription description;
    std::shared_ptr<View> view;
    std::vector<std::unique_ptr<RenderedView>> children;
    std::vector<Subscription> tasks;
    ViewDimensions dimensions;
    // Where each child sits in `view`.
    std::vector<Point> childOrigins;
};

namespace {

using Kind = ViewDescription::Kind;
using Rendered = RenderedView;

bool isContainer(Kind kind) {
    return kind != Kind::text && kind != Kind::platformView;
}

bool sameShape(const ViewDescription& a, const ViewDescription& b) {
    return a.node().kind == b.node().kind && a.node().viewType == b.node().viewType;
}

std::shared_ptr<View> makeLabel() {
    auto label = std::make_shared<TextField>();
    label->setEditable(false);
    label->setSelectable(false);
    label->setBezeled(false);
    label->setDrawsBackground(false);
    return label;
}

// Gives the platform view what the description says.
void apply(Rendered& rendered) {
    const auto& node = rendered.description.node();
    if (node.kind == Kind::text) {
        static_cast<TextField&>(*rendered.view)
            .setStringValue(node.localized
                                ? Bundle::main().localizedString(node.text, "Localizable")
                                : node.text);
    } else if (node.kind == Kind::platformView) {
        node.update(*rendered.view);
    }
}

std::unique_ptr<Rendered> build(const ViewDescription& description) {
    auto rendered = std::make_unique<Rendered>(description);
    const auto& node = description.node();
    if (node.kind == Kind::text) {
        rendered->view = makeLabel();
    } else if (node.kind == Kind::platformView) {
        rendered->view = node.make();
    } else {
        rendered->view = std::make_shared<View>();
        for (const auto& child : node.children) {
            rendered->children.push_back(build(child));
            rendered->view->addSubview(rendered->children.back()->view);
        }
    }
    apply(*rendered);
    for (const auto& start : node.tasks) rendered->tasks.push_back(start());
    return rendered;
}

void refresh(Rendered& rendered, const ViewDescription& description);

// Updates the children that kept their shape, replaces the others.
void refreshChildren(Rendered& rendered) {
    const auto& wanted = rendered.description.node().children;
    auto& children = rendered.children;
    for (std::size_t index = 0; index < wanted.size(); ++index) {
        if (index < children.size() && sameShape(children[index]->description, wanted[index])) {
            refresh(*children[index], wanted[index]);
            continue;
        }
        auto replacement = build(wanted[index]);
        rendered.view->addSubview(replacement->view);
        if (index < children.size()) {
            children[index]->view->removeFromSuperview();
            children[index] = std::move(replacement);
        } else {
            children.push_back(std::move(replacement));
        }
    }
    while (children.size() > wanted.size()) {
        children.back()->view->removeFromSuperview();
        children.pop_back();
    }
}

void refresh(Rendered& rendered, const ViewDescription& description) {
    rendered.description = description;
    if (isContainer(description.node().kind)) refreshChildren(rendered);
    apply(rendered);
}

// --- Layout ---

// A text field's first baseline lies one ascent (four fifths of its font's
// line) below its top; other views have theirs at the bottom.
double firstTextBaseline(const View& view, double height) {
    if (const auto* field = dynamic_cast<const TextField*>(&view)) {
        return field->font().lineHeight() * 0.8;
    }
    return height;
}

double rowValue(VerticalAlignment alignment, const ViewDimensions& view) {
    switch (alignment) {
        case VerticalAlignment::top:
            return 0;
        case VerticalAlignment::center:
            return view.height / 2;
        case VerticalAlignment::bottom:
            return view.height;
        case VerticalAlignment::firstTextBaseline:
            return view.firstTextBaseline;
    }
    return 0;
}

// The first child (in order) that gives an alignment explicitly gives the
// container's value for it.
void takeExplicitValues(const Rendered& rendered, ViewDimensions& dimensions) {
    for (std::size_t index = 0; index < rendered.children.size(); ++index) {
        const Rendered& child = *rendered.children[index];
        if (child.view->isHidden()) continue;
        for (const auto& [identifier, value] : child.dimensions.explicitValues()) {
            if (!dimensions.explicitValues().contains(identifier)) {
                dimensions.setExplicitValue(identifier, rendered.childOrigins[index].x + value);
            }
        }
    }
}

ViewDimensions arrangeRow(Rendered& rendered, VerticalAlignment alignment, double spacing) {
    ViewDimensions dimensions;
    rendered.childOrigins.assign(rendered.children.size(), Point{});
    double x = 0;
    double line = 0;
    bool first = true;
    for (std::size_t index = 0; index < rendered.children.size(); ++index) {
        const Rendered& child = *rendered.children[index];
        if (child.view->isHidden()) continue;
        if (!first) x += spacing;
        first = false;
        rendered.childOrigins[index].x = x;
        x += child.dimensions.width;
        line = std::max(line, rowValue(alignment, child.dimensions));
    }
    dimensions.width = x;
    std::optional<double> baseline;
    for (std::size_t index = 0; index < rendered.children.size(); ++index) {
        const Rendered& child = *rendered.children[index];
        if (child.view->isHidden()) continue;
        const double y = line - rowValue(alignment, child.dimensions);
        rendered.childOrigins[index].y = y;
        dimensions.height = std::max(dimensions.height, y + child.dimensions.height);
        if (!baseline) baseline = y + child.dimensions.firstTextBaseline;
    }
    dimensions.firstTextBaseline = baseline.value_or(dimensions.height);
    takeExplicitValues(rendered, dimensions);
    return dimensions;
}

ViewDimensions arrangeColumn(Rendered& rendered, const HorizontalAlignment& alignment,
                             double spacing) {
    ViewDimensions dimensions;
    rendered.childOrigins.assign(rendered.children.size(), Point{});
    double line = 0;
    for (const auto& child : rendered.children) line = std::max(line, child->dimensions[alignment]);
    double y = 0;
    for (std::size_t index = 0; index < rendered.children.size(); ++index) {
        const Rendered& child = *rendered.children[index];
        if (index > 0) y += spacing;
        const double x = line - child.dimensions[alignment];
        rendered.childOrigins[index] = Point{x, y};
        dimensions.width = std::max(dimensions.width, x + child.dimensions.width);
        if (index == 0) dimensions.firstTextBaseline = child.dimensions.firstTextBaseline;
        y += child.dimensions.height;
    }
    dimensions.height = y;
    if (rendered.children.empty()) dimensions.firstTextBaseline = 0;
    dimensions.setExplicitValue(alignment, line);
    takeExplicitValues(rendered, dimensions);
    return dimensions;
}

void measure(Rendered& rendered, bool labelsHidden) {
    const auto& node = rendered.description.node();
    labelsHidden = labelsHidden || node.labelsHidden;
    for (auto& child : rendered.children) measure(*child, labelsHidden);
    ViewDimensions dimensions;
    switch (node.kind) {
        case Kind::text:
        case Kind::platformView: {
            const Size size = rendered.view->fittingSize();
            dimensions.width = size.width;
            dimensions.height = size.height;
            dimensions.firstTextBaseline = firstTextBaseline(*rendered.view, size.height);
            break;
        }
        case Kind::hStack:
            dimensions = arrangeRow(rendered, node.rowAlignment,
                                    node.spacing.value_or(HostingView::defaultSpacing));
            break;
        case Kind::labeledContent:
            rendered.children[0]->view->setHidden(labelsHidden);
            dimensions = arrangeRow(rendered, node.rowAlignment, HostingView::defaultSpacing);
            // Its leading guide is where its content starts: the control column.
            dimensions.setExplicitValue(HorizontalAlignment::leading(), rendered.childOrigins[1].x);
            break;
        case Kind::vStack:
            dimensions = arrangeColumn(rendered, node.columnAlignment,
                                       node.spacing.value_or(HostingView::defaultSpacing));
            break;
        case Kind::form:
            dimensions = arrangeColumn(rendered, HorizontalAlignment::leading(),
                                       HostingView::formRowSpacing);
            break;
    }
    for (const auto& [alignment, value] : node.guides) {
        dimensions.setExplicitValue(alignment, value(dimensions));
    }
    rendered.dimensions = dimensions;
}

void place(Rendered& rendered) {
    for (std::size_t index = 0; index < rendered.children.size(); ++index) {
        Rendered& child = *rendered.children[index];
        child.view->setFrame(Rect{rendered.childOrigins[index],
                                  Size{child.dimensions.width, child.dimensions.height}});
        place(child);
    }
}

}  // namespace

HostingView::HostingView(std::function<ViewDescription()> body) : body_(std::move(body)) {
    update();
}

HostingView::~HostingView() = default;

void HostingView::setBody(std::function<ViewDescription()> body) {
    body_ = std::move(body);
    update();
}

void HostingView::update() {
    platform::assertMainThread();
    std::optional<ViewDescription> description;
    {
        StateTracking reads([weak = weak_.ref()] {
            if (auto* self = weak.get()) self->scheduleUpdate();
        });
        description = body_();
        stateChanges_ = reads.take();
    }
    if (root_ && sameShape(root_->description, *description)) {
        refresh(*root_, *description);
    } else {
        if (root_) root_->view->removeFromSuperview();
        root_ = build(*description);
        addSubview(root_->view);
    }
    layout();
}

void HostingView::scheduleUpdate() {
    if (std::exchange(updateScheduled_, true)) return;
    mainQueue().async([weak = weak_.ref()] {
        auto* self = weak.get();
        if (!self) return;
        self->updateScheduled_ = false;
        self->update();
    });
}

Size HostingView::intrinsicContentSize() const {
    if (!root_) return Size{};
    return Size{root_->dimensions.width, root_->dimensions.height};
}

void HostingView::layout() {
    platform::assertMainThread();
    if (!root_) return;
    measure(*root_, false);
    root_->view->setFrame(Rect{{}, intrinsicContentSize()});
    place(*root_);
    View::layout();
}

}  // namespace zelvana::platform
