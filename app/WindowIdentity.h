#pragma once
// Who the game's window is to the desktop: the class that ties it to the menu
// entry (dist/karvossa.desktop names it as StartupWMClass) and the icon that
// docks, task bars and title bars show. initWindow calls identifyWindow once,
// right after glutCreateWindow, while the new window's drawable is current.

// Sets WM_CLASS and _NET_WM_ICON on the current GLX drawable, then withdraws
// the window and shows it again so that the window manager reads them; does
// nothing when no drawable is current.
void identifyWindow();
