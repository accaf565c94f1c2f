#include "GridPanel/GridPanelWindow.hpp"

#include "GridPanel/GridPanelViewController.hpp"
#include "GridPanel/GridPanelWindowController.hpp"
#include "platform/appkit/Screen.hpp"
#include "platform/core/MainThread.hpp"

namespace zelvana::gridpanel {

GridPanelWindow::GridPanelWindow(platform::Rect /*contentRect*/, StyleMask /*styleMask*/,
                                 int backing, bool defer)
    : Panel(platform::Rect{}, Style::nonactivatingPanel, backing, defer) {
    platform::assertMainThread();
    setCollectionBehavior(collectionBehavior() | CollectionBehavior::transient);
    setBackgroundColor(platform::Color::clear());
    setOpaque(false);
    setHasShadow(false);
    setDelegate(this);
}

GridPanelWindow::~GridPanelWindow() {
    setDelegate(nullptr);
}

GridPanelWindowController* GridPanelWindow::panelController() const {
    return dynamic_cast<GridPanelWindowController*>(windowController());
}

void GridPanelWindow::close() {
    platform::assertMainThread();
    GridPanelWindowController* controller = panelController();
    if (controller && !controller->isClosing()) {
        controller->close();
        return;
    }
    closeWindow();
}

void GridPanelWindow::closeWindow() {
    platform::assertMainThread();
    if (const auto screen = platform::Screen::main())
        cachedFrames[screen->screenNumber()] = frame();
    Panel::close();
    GridPanelWindowController* controller = panelController();
    if (!controller) return;
    if (GridPanelViewController* viewController = controller->viewController()) {
        viewController->resetSelection();
    }
    if (auto* delegate = controller->delegate.get()) delegate->panelClosed();
}

void GridPanelWindow::windowDidResignKey() {
    platform::assertMainThread();
    GridPanelWindowController* controller = panelController();
    if (!controller || controller->isRenaming()) return;  // a rename popover took the keys
    controller->close();
}

void GridPanelWindow::reportMove() {
    GridPanelWindowController* controller = panelController();
    if (programmaticMove || !controller) return;
    if (auto* delegate = controller->delegate.get()) delegate->panelMoved();
}

}  // namespace zelvana::gridpanel
