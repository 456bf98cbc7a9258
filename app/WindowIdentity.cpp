#include "app/WindowIdentity.h"
#include "game/Invariant.h"

#include <GL/glx.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <iterator>

#include "app/IconCardinals.h"

namespace {

// The ChangeProperty request's own words, ahead of its data.
constexpr long kPropertyRequestWords = 6;

// How many of the icon's cardinals to send: all of them, unless the server
// takes only requests shorter than that, then the smaller icons that fit (the
// build lists them smallest first). A longer request would end the program
// with a length error.
long fittingCardinals(Display* display) {
    const long extended = XExtendedMaxRequestSize(display);
    const long limit = (extended > 0 ? extended : XMaxRequestSize(display)) - kPropertyRequestWords;
    constexpr long kAll = static_cast<long>(std::size(kIconCardinals));
    long count = 0;
    while (count + 2 <= kAll) {
        const long pixels = static_cast<long>(kIconCardinals[count] * kIconCardinals[count + 1]);
        if (count + 2 + pixels > limit) {
            break;
        }
        count += 2 + pixels;
    }
    return count;
}

void setIcon(Display* display, Window window) {
    const long count = fittingCardinals(display);
    if (count == 0) {
        return;
    }
    const Atom icon = XInternAtom(display, "_NET_WM_ICON", False);
    XChangeProperty(display, window, icon, XA_CARDINAL, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(kIconCardinals),
                    static_cast<int>(count));
}

// A manager reads a window's class once, when it takes the window in, and
// freeglut shows its window, still without one, inside glutCreateWindow. So
// the window is withdrawn and shown again, as the conventions between clients
// and managers ask of a client that changes its class: the manager then takes
// it in afresh, class and icon included. Without a manager the server merely
// hides the window and shows it again before anything is drawn in it.
void showAgain(Display* display, Window window) {
    XWithdrawWindow(display, window, DefaultScreen(display));
    XMapWindow(display, window);
}

}  // namespace

void identifyWindow() {
    Display* display = glXGetCurrentDisplay();
    const GLXDrawable drawable = glXGetCurrentDrawable();
    KARVOSSA_ASSERT(display != nullptr && drawable != None,
                    "identifyWindow needs the new window current");
    if (display == nullptr || drawable == None) {
        return;
    }
    // freeglut draws into the X window itself, so the drawable is the window.
    const Window window = drawable;
    char name[] = "karvossa";
    char windowClass[] = "Karvossa";
    XClassHint hint;
    hint.res_name = name;
    hint.res_class = windowClass;
    XSetClassHint(display, window, &hint);
    setIcon(display, window);
    showAgain(display, window);
    XFlush(display);
}
