#pragma once

namespace quillet::platform {

// Whether the window system Qt would start on can be reached, asked before
// the application object exists (Qt ends the process when it cannot reach
// its display). The platform is the one named by "-platform" among the
// arguments, else by QT_QPA_PLATFORM, else X11; an X server is tried at
// "-display" or $DISPLAY, a Wayland compositor at $WAYLAND_DISPLAY. Other
// platforms (offscreen, vnc...) need no display and count as reachable.
bool DisplayReachable(int argc, char** argv);

}  // namespace quillet::platform
