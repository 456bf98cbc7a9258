#include "support/E2eDisplay.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XShm.h>
#include <X11/extensions/Xfixes.h>
#include <sys/ipc.h>
#include <sys/shm.h>

#include <cstdint>
#include <cstring>

namespace {

constexpr Millis kInputLimit{5000};

// A window may vanish between listing and asking about it; Xlib's default
// handler would end the test process for that.
int ignoreXError(Display*, XErrorEvent*) {
    return 0;
}

bool hasTitle(Display* display, Window window, const std::string& title) {
    char* name = nullptr;
    if (XFetchName(display, window, &name) == 0 || name == nullptr) {
        return false;
    }
    const bool same = title == name;
    XFree(name);
    return same;
}

Window searchTitled(Display* display, Window parent, const std::string& title, int depth) {
    Window root = 0;
    Window parentOfParent = 0;
    Window* children = nullptr;
    unsigned int count = 0;
    if (XQueryTree(display, parent, &root, &parentOfParent, &children, &count) == 0) {
        return 0;
    }
    Window found = 0;
    for (unsigned int i = 0; i < count && found == 0; ++i) {
        XWindowAttributes attributes;
        if (XGetWindowAttributes(display, children[i], &attributes) != 0 &&
            attributes.map_state == IsViewable && hasTitle(display, children[i], title)) {
            found = children[i];
        } else if (depth > 1) {
            found = searchTitled(display, children[i], title, depth - 1);
        }
    }
    if (children != nullptr) {
        XFree(children);
    }
    return found;
}

// Position of the lowest set bit of a colour mask, to shift a channel down.
int maskShift(unsigned long mask) {
    int shift = 0;
    while (mask != 0 && (mask & 1UL) == 0) {
        mask >>= 1;
        ++shift;
    }
    return shift;
}

}  // namespace

XSession::XSession(const std::string& display) : name_(display) {
    XSetErrorHandler(ignoreXError);
    display_ = XOpenDisplay(display.c_str());
}

XSession::~XSession() {
    releaseSharedImage();
    if (display_ != nullptr) {
        XCloseDisplay(display_);
    }
}

int XSession::screenWidth() const {
    return DisplayWidth(display_, DefaultScreen(display_));
}

int XSession::screenHeight() const {
    return DisplayHeight(display_, DefaultScreen(display_));
}

WindowInfo XSession::findWindow(const std::string& title) const {
    WindowInfo info;
    const Window root = DefaultRootWindow(display_);
    const Window window = searchTitled(display_, root, title, 2);
    XWindowAttributes attributes;
    if (window == 0 || XGetWindowAttributes(display_, window, &attributes) == 0) {
        return info;
    }
    Window child = 0;
    XTranslateCoordinates(display_, window, root, 0, 0, &info.x, &info.y, &child);
    info.id = window;
    info.width = attributes.width;
    info.height = attributes.height;
    return info;
}

Picture XSession::capture() {
    const int width = screenWidth();
    const int height = screenHeight();
    XImage* image = nullptr;
    if (sharedImage_ != nullptr || attachSharedImage()) {
        if (XShmGetImage(display_, DefaultRootWindow(display_), sharedImage_, 0, 0, AllPlanes)) {
            image = sharedImage_;
        }
    }
    if (image == nullptr) {
        image = XGetImage(display_, DefaultRootWindow(display_), 0, 0, static_cast<unsigned>(width),
                          static_cast<unsigned>(height), AllPlanes, ZPixmap);
    }
    if (image == nullptr) {
        return {};
    }
    Picture picture(width, height);
    const int redShift = maskShift(image->red_mask);
    const int greenShift = maskShift(image->green_mask);
    const int blueShift = maskShift(image->blue_mask);
    std::uint8_t* out = picture.rgbData();
    const bool wordPixels = image->bits_per_pixel == 32 && image->byte_order == LSBFirst;
    for (int y = 0; y < height; ++y) {
        const auto* row =
            reinterpret_cast<const std::uint32_t*>(image->data + y * image->bytes_per_line);
        for (int x = 0; x < width; ++x) {
            // The usual 24-bit screen is read straight from the buffer; anything
            // else through Xlib, pixel by pixel.
            const unsigned long value = wordPixels ? row[x] : XGetPixel(image, x, y);
            *out++ = static_cast<std::uint8_t>((value & image->red_mask) >> redShift);
            *out++ = static_cast<std::uint8_t>((value & image->green_mask) >> greenShift);
            *out++ = static_cast<std::uint8_t>((value & image->blue_mask) >> blueShift);
        }
    }
    if (image != sharedImage_) {
        XDestroyImage(image);
    }
    return picture;
}

bool XSession::attachSharedImage() {
    if (XShmQueryExtension(display_) == False) {
        return false;
    }
    const int screen = DefaultScreen(display_);
    auto* segment = new XShmSegmentInfo{};
    XImage* image = XShmCreateImage(display_, DefaultVisual(display_, screen),
                                    static_cast<unsigned>(DefaultDepth(display_, screen)), ZPixmap,
                                    nullptr, segment, static_cast<unsigned>(screenWidth()),
                                    static_cast<unsigned>(screenHeight()));
    if (image == nullptr) {
        delete segment;
        return false;
    }
    segment->shmid =
        shmget(IPC_PRIVATE, static_cast<std::size_t>(image->bytes_per_line) * image->height,
               IPC_CREAT | 0600);
    void* memory =
        segment->shmid < 0 ? reinterpret_cast<void*>(-1) : shmat(segment->shmid, nullptr, 0);
    if (memory == reinterpret_cast<void*>(-1)) {
        XDestroyImage(image);
        delete segment;
        return false;
    }
    // Marked for removal at once: the segment goes away with the last detach,
    // even if the test process dies.
    shmctl(segment->shmid, IPC_RMID, nullptr);
    segment->shmaddr = image->data = static_cast<char*>(memory);
    segment->readOnly = False;
    if (XShmAttach(display_, segment) == False) {
        shmdt(memory);
        image->data = nullptr;
        XDestroyImage(image);
        delete segment;
        return false;
    }
    XSync(display_, False);
    sharedImage_ = image;
    sharedSegment_ = segment;
    return true;
}

void XSession::releaseSharedImage() {
    if (sharedImage_ == nullptr) {
        return;
    }
    auto* segment = static_cast<XShmSegmentInfo*>(sharedSegment_);
    XShmDetach(display_, segment);
    XSync(display_, False);
    shmdt(segment->shmaddr);
    sharedImage_->data = nullptr;
    XDestroyImage(sharedImage_);
    delete segment;
    sharedImage_ = nullptr;
    sharedSegment_ = nullptr;
}

int XSession::visibleCursorPixels() const {
    int eventBase = 0;
    int errorBase = 0;
    if (XFixesQueryExtension(display_, &eventBase, &errorBase) == 0) {
        return -1;
    }
    XFixesCursorImage* cursor = XFixesGetCursorImage(display_);
    if (cursor == nullptr) {
        return -1;
    }
    int visible = 0;
    const int size = cursor->width * cursor->height;
    for (int i = 0; i < size; ++i) {
        // Each entry holds one ARGB pixel in its low 32 bits.
        visible += ((cursor->pixels[i] >> 24) & 0xff) != 0 ? 1 : 0;
    }
    XFree(cursor);
    return visible;
}

bool XSession::movePointer(int x, int y) const {
    return xdotool({"mousemove", std::to_string(x), std::to_string(y)});
}

bool XSession::pressKey(const std::string& keyName) const {
    return xdotool({"key", keyName});
}

bool XSession::clickLeft() const {
    return xdotool({"click", "1"});
}

bool XSession::xdotool(const std::vector<std::string>& arguments) const {
    std::vector<std::string> command = {"xdotool"};
    command.insert(command.end(), arguments.begin(), arguments.end());
    return runToCompletion(command, {"DISPLAY=" + name_}, kInputLimit);
}
