#pragma once
// A screenshot of the whole X screen, as 8-bit RGB with (0, 0) at the top left,
// and the few questions the end-to-end tests ask of one: what colour a pixel is,
// how many pixels of a region have some colour, how many differ from another
// picture. Pictures are saved as PNG so that every step of a test can be looked
// at afterwards.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

struct Pixel {
    int r, g, b;  // 0..255
};

// Half-open rectangle of pixels: left <= x < right, top <= y < bottom.
struct ScreenRect {
    int left, top, right, bottom;
};

class Picture {
public:
    Picture() = default;
    Picture(int width, int height);

    int width() const { return width_; }
    int height() const { return height_; }
    bool empty() const { return width_ == 0 || height_ == 0; }
    ScreenRect whole() const { return {0, 0, width_, height_}; }
    bool contains(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }

    Pixel at(int x, int y) const;
    void set(int x, int y, Pixel pixel);
    // Rows from the top, three bytes per pixel.
    std::uint8_t* rgbData() { return rgb_.data(); }

    // Pixels of the region (clipped to the picture) for which test holds.
    int count(const ScreenRect& region, const std::function<bool(Pixel)>& test) const;

    // Writes an 8-bit RGB PNG; false when the file could not be written.
    bool savePng(const std::string& path) const;

private:
    int width_ = 0;
    int height_ = 0;
    std::vector<std::uint8_t> rgb_;
};

// Pixels of the region whose colour differs between a and b by more than
// tolerance in some channel; pictures of different sizes differ everywhere.
int countDifferences(const Picture& a, const Picture& b, const ScreenRect& region,
                     int tolerance = 0);

// Largest difference of one channel.
int channelDistance(Pixel a, Pixel b);
bool isNear(Pixel pixel, Pixel wanted, int tolerance);
