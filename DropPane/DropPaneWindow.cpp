#include "DropPane/DropPaneWindow.hpp"

namespace zelvana::droppane {

using platform::Window;

DropPaneWindow::DropPaneWindow() {
    configure();
}

DropPaneWindow::DropPaneWindow(platform::Rect contentRect, StyleMask styleMask, int backing,
                               bool defer)
    : Window(contentRect, styleMask, backing, defer) {
    configure();
}

void DropPaneWindow::configure() {
    setLevel(Level::modalPanel);
    setOpaque(false);
    setBackgroundColor(platform::Color::clear());
    setAlphaValue(0.98);
    setStyleMask(styleMask() | Style::fullSizeContentView);
    setTitleVisibility(TitleVisibility::hidden);
    setTitlebarAppearsTransparent(true);
    setCollectionBehavior(collectionBehavior() | CollectionBehavior::transient);
    for (auto button :
         {ButtonType::close, ButtonType::miniaturize, ButtonType::zoom, ButtonType::toolbar}) {
        setStandardWindowButtonHidden(button, true);
    }
}

}  // namespace zelvana::droppane
