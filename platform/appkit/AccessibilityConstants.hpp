#pragma once

namespace zelvana::platform {

// AppKit's names of accessibility attributes, roles, subroles and actions.
namespace ax {

inline constexpr const char* roleAttribute = "AXRole";
inline constexpr const char* subroleAttribute = "AXSubrole";
inline constexpr const char* titleAttribute = "AXTitle";
inline constexpr const char* positionAttribute = "AXPosition";
inline constexpr const char* sizeAttribute = "AXSize";
inline constexpr const char* childrenAttribute = "AXChildren";
inline constexpr const char* parentAttribute = "AXParent";
inline constexpr const char* windowAttribute = "AXWindow";
inline constexpr const char* windowsAttribute = "AXWindows";
inline constexpr const char* focusedWindowAttribute = "AXFocusedWindow";
inline constexpr const char* mainWindowAttribute = "AXMainWindow";
inline constexpr const char* mainAttribute = "AXMain";
inline constexpr const char* minimizedAttribute = "AXMinimized";
inline constexpr const char* hiddenAttribute = "AXHidden";
inline constexpr const char* closeButtonAttribute = "AXCloseButton";
inline constexpr const char* minimizeButtonAttribute = "AXMinimizeButton";
inline constexpr const char* zoomButtonAttribute = "AXZoomButton";
inline constexpr const char* fullScreenButtonAttribute = "AXFullScreenButton";

inline constexpr const char* applicationRole = "AXApplication";
inline constexpr const char* windowRole = "AXWindow";
inline constexpr const char* sheetRole = "AXSheet";
inline constexpr const char* toolbarRole = "AXToolbar";
inline constexpr const char* groupRole = "AXGroup";
inline constexpr const char* staticTextRole = "AXStaticText";
inline constexpr const char* buttonRole = "AXButton";

inline constexpr const char* standardWindowSubrole = "AXStandardWindow";
inline constexpr const char* systemDialogSubrole = "AXSystemDialog";
inline constexpr const char* closeButtonSubrole = "AXCloseButton";
inline constexpr const char* minimizeButtonSubrole = "AXMinimizeButton";
inline constexpr const char* zoomButtonSubrole = "AXZoomButton";
inline constexpr const char* fullScreenButtonSubrole = "AXFullScreenButton";

inline constexpr const char* pressAction = "AXPress";
inline constexpr const char* raiseAction = "AXRaise";

}  // namespace ax

}  // namespace zelvana::platform
