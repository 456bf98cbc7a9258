#include "support/E2ePicture.h"

#include <zlib.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>

namespace {

void appendBigEndian(std::vector<std::uint8_t>& out, std::uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) {
        out.push_back(static_cast<std::uint8_t>(value >> shift));
    }
}

// One PNG chunk: length, type, data, and the CRC over type and data.
void appendChunk(std::vector<std::uint8_t>& out, const char* type,
                 const std::vector<std::uint8_t>& data) {
    appendBigEndian(out, static_cast<std::uint32_t>(data.size()));
    const std::size_t typeStart = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    const uLong crc = crc32(0L, out.data() + typeStart, static_cast<uInt>(out.size() - typeStart));
    appendBigEndian(out, static_cast<std::uint32_t>(crc));
}

ScreenRect clip(const ScreenRect& region, int width, int height) {
    return {std::max(region.left, 0), std::max(region.top, 0), std::min(region.right, width),
            std::min(region.bottom, height)};
}

}  // namespace

Picture::Picture(int width, int height)
    : width_(width), height_(height), rgb_(static_cast<std::size_t>(width) * height * 3, 0) {}

Pixel Picture::at(int x, int y) const {
    const std::size_t i = (static_cast<std::size_t>(y) * width_ + x) * 3;
    return {rgb_[i], rgb_[i + 1], rgb_[i + 2]};
}

void Picture::set(int x, int y, Pixel pixel) {
    const std::size_t i = (static_cast<std::size_t>(y) * width_ + x) * 3;
    rgb_[i] = static_cast<std::uint8_t>(pixel.r);
    rgb_[i + 1] = static_cast<std::uint8_t>(pixel.g);
    rgb_[i + 2] = static_cast<std::uint8_t>(pixel.b);
}

int Picture::count(const ScreenRect& region, const std::function<bool(Pixel)>& test) const {
    const ScreenRect inside = clip(region, width_, height_);
    int found = 0;
    for (int y = inside.top; y < inside.bottom; ++y) {
        for (int x = inside.left; x < inside.right; ++x) {
            found += test(at(x, y)) ? 1 : 0;
        }
    }
    return found;
}

bool Picture::savePng(const std::string& path) const {
    // Every row starts with filter type 0 (none); zlib does the compressing.
    std::vector<std::uint8_t> rows;
    const std::size_t stride = static_cast<std::size_t>(width_) * 3;
    rows.reserve((stride + 1) * height_);
    for (int y = 0; y < height_; ++y) {
        rows.push_back(0);
        const auto start = rgb_.begin() + static_cast<std::ptrdiff_t>(y * stride);
        rows.insert(rows.end(), start, start + static_cast<std::ptrdiff_t>(stride));
    }
    uLongf packedSize = compressBound(static_cast<uLong>(rows.size()));
    std::vector<std::uint8_t> packed(packedSize);
    if (compress2(packed.data(), &packedSize, rows.data(), static_cast<uLong>(rows.size()),
                  Z_BEST_SPEED) != Z_OK) {
        return false;
    }
    packed.resize(packedSize);

    std::vector<std::uint8_t> header;
    appendBigEndian(header, static_cast<std::uint32_t>(width_));
    appendBigEndian(header, static_cast<std::uint32_t>(height_));
    const std::uint8_t depthAndKind[5] = {8, 2, 0, 0, 0};  // 8-bit RGB, no interlace
    header.insert(header.end(), depthAndKind, depthAndKind + 5);

    std::vector<std::uint8_t> file = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
    appendChunk(file, "IHDR", header);
    appendChunk(file, "IDAT", packed);
    appendChunk(file, "IEND", {});
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(file.data()),
              static_cast<std::streamsize>(file.size()));
    return static_cast<bool>(out);
}

int countDifferences(const Picture& a, const Picture& b, const ScreenRect& region, int tolerance) {
    if (a.width() != b.width() || a.height() != b.height()) {
        const ScreenRect inside =
            clip(region, std::max(a.width(), b.width()), std::max(a.height(), b.height()));
        return (inside.right - inside.left) * (inside.bottom - inside.top);
    }
    const ScreenRect inside = clip(region, a.width(), a.height());
    int differing = 0;
    for (int y = inside.top; y < inside.bottom; ++y) {
        for (int x = inside.left; x < inside.right; ++x) {
            differing += channelDistance(a.at(x, y), b.at(x, y)) > tolerance ? 1 : 0;
        }
    }
    return differing;
}

int channelDistance(Pixel a, Pixel b) {
    return std::max({std::abs(a.r - b.r), std::abs(a.g - b.g), std::abs(a.b - b.b)});
}

bool isNear(Pixel pixel, Pixel wanted, int tolerance) {
    return channelDistance(pixel, wanted) <= tolerance;
}
