#pragma once

#include <memory>

#include "platform/appkit/Button.hpp"
#include "platform/appkit/TextField.hpp"
#include "platform/core/Weak.hpp"

namespace zelvana::platform {

// A text field with a magnifier button on its leading side and a cancel
// button on its trailing side. The cell's buttons can be taken away and put
// back; a click on the cancel button empties the field and tells the
// delegate of the change, as typing would. Main thread only.
class SearchField : public TextField {
public:
    SearchField();

    // Null when removed.
    const std::shared_ptr<Button>& searchButtonCell() const { return searchButtonCell_; }
    void setSearchButtonCell(std::shared_ptr<Button> cell) { searchButtonCell_ = std::move(cell); }
    const std::shared_ptr<Button>& cancelButtonCell() const { return cancelButtonCell_; }
    void setCancelButtonCell(std::shared_ptr<Button> cell) { cancelButtonCell_ = std::move(cell); }

    // The user clicking the shown cancel button; false when none is shown.
    bool clickCancelButton();

    // A rounded field with the magnifier and the cancel button it shows.
    void drawRect(GraphicsContext& context, Rect dirtyRect) override;

protected:
    double bezelCornerRadius() const override { return 6; }

private:
    class CancelButton;
    void cancelClicked();

    // First, so the cancel button can take a reference to the field.
    WeakFactory<SearchField> weak_{this};
    std::shared_ptr<Button> searchButtonCell_ = std::make_shared<Button>();
    std::shared_ptr<Button> cancelButtonCell_;
};

}  // namespace zelvana::platform
