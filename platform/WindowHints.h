#pragma once

class QWidget;

// What Qt does not say to the desktop for us.
namespace WindowHints {
// A window of the program's that is not the main window stays off the task bar: under X11 it says so
// (_NET_WM_STATE_SKIP_TASKBAR), before it is first shown; Wayland has its transient parent for that.
void keepOffTaskBar(QWidget *window);

// An X server that is XWayland, recognised from the server itself, which names its outputs XWAYLAND...:
// there full screen is the compositor's to grant.
bool isXWayland();
} // namespace WindowHints
