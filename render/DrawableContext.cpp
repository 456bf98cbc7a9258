// DrawableGeometry::contextIsCurrent, apart from the rest of the class: the
// GLX header brings Xlib's names, which the game's own headers also use.
#include <GL/glx.h>

#include "render/DrawableGeometry.h"

bool DrawableGeometry::contextIsCurrent() {
    return glXGetCurrentContext() != nullptr;
}
