#pragma once
// The test's own connection to the X server the game runs on: it finds the
// game's window, reads the screen and the cursor image, and sends pointer and
// key input through xdotool, exactly as a person at the desk would.
#include <string>

#include "support/E2ePicture.h"
#include "support/E2eProcess.h"

struct _XDisplay;
struct _XImage;

struct WindowInfo {
    unsigned long id = 0;  // 0 when no such window is shown
    int x = 0, y = 0;      // top-left corner on the screen
    int width = 0, height = 0;
};

class XSession {
public:
    explicit XSession(const std::string& display);
    ~XSession();
    XSession(const XSession&) = delete;
    XSession& operator=(const XSession&) = delete;

    bool connected() const { return display_ != nullptr; }
    int screenWidth() const;
    int screenHeight() const;

    // The first viewable window with this exact title, searched two levels
    // below the root; id 0 when there is none.
    WindowInfo findWindow(const std::string& title) const;

    // The whole screen as it is now; an empty picture when it cannot be read.
    Picture capture();

    // Pixels of the cursor image now shown that are not fully transparent, or
    // -1 when the server cannot tell (no XFIXES).
    int visibleCursorPixels() const;

    // Input, sent through xdotool; false when xdotool failed.
    bool movePointer(int x, int y) const;
    bool pressKey(const std::string& keyName) const;  // an X key name: "a", "Escape", "Left"
    bool clickLeft() const;

private:
    bool xdotool(const std::vector<std::string>& arguments) const;
    bool attachSharedImage();
    void releaseSharedImage();

    std::string name_;
    _XDisplay* display_ = nullptr;
    // A screen-sized image in shared memory: reading the screen through it
    // takes a fraction of the time of a copy through the socket.
    _XImage* sharedImage_ = nullptr;
    void* sharedSegment_ = nullptr;  // XShmSegmentInfo, kept out of this header
};
