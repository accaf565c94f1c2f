#include "platform/appkit/SearchField.hpp"

#include "platform/appkit/GraphicsContext.hpp"
#include "platform/core/MainThread.hpp"

namespace zelvana::platform {

// Its click clears the field that made it, while that field exists.
class SearchField::CancelButton : public Button {
public:
    explicit CancelButton(WeakRef<SearchField> field) : field_(std::move(field)) {}
    bool performClick() override {
        SearchField* field = field_.get();
        if (!field || !isEnabled()) return false;
        field->cancelClicked();
        return true;
    }

private:
    WeakRef<SearchField> field_;
};

SearchField::SearchField() : cancelButtonCell_(std::make_shared<CancelButton>(weak_.ref())) {}

bool SearchField::clickCancelButton() {
    assertMainThread();
    return cancelButtonCell_ && cancelButtonCell_->performClick();
}

void SearchField::cancelClicked() {
    setStringValue("");
    textDidChange();
}

void SearchField::drawRect(GraphicsContext& context, Rect dirtyRect) {
    assertMainThread();
    TextField::drawRect(context, dirtyRect);
    const Rect b = bounds();
    const double middle = b.height() / 2;
    const Color grey = Color::white(0, 0.45);
    if (searchButtonCell_) {
        // The magnifier: a lens and its handle.
        context.setStrokeColor(grey);
        context.stroke(BezierPath::oval(Rect::make(6, middle - 5, 8, 8)), 1.25);
        BezierPath handle;
        handle.moveTo({13, middle + 2});
        handle.lineTo({16, middle + 5});
        context.stroke(handle, 1.5);
    }
    if (cancelButtonCell_) {
        // The cancel button: a grey disc with a white cross.
        const Rect disc = Rect::make(b.width() - 20, middle - 7, 14, 14);
        context.setFillColor(grey);
        context.fill(BezierPath::oval(disc));
        BezierPath cross;
        cross.moveTo({disc.minX() + 4.5, disc.minY() + 4.5});
        cross.lineTo({disc.maxX() - 4.5, disc.maxY() - 4.5});
        cross.moveTo({disc.maxX() - 4.5, disc.minY() + 4.5});
        cross.lineTo({disc.minX() + 4.5, disc.maxY() - 4.5});
        context.setStrokeColor(Color::white());
        context.stroke(cross, 1.5);
    }
}

}  // namespace zelvana::platform
