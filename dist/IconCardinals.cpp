// A tool the build runs: it turns the game's square icon into the cardinals of
// the window's _NET_WM_ICON property, one image per size asked for, and writes
// them as a header that app/WindowIdentity.cpp compiles in, so that the running
// game reads no file for its icon and every copy of it shows the same one.
// Usage: karvossa_icon_cardinals ICON.png OUTPUT.h SIZE...
#include <png.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

namespace {

constexpr int kBytesPerPixel = 4;  // red, green, blue, alpha: straight, not premultiplied

struct Image {
    int side = 0;                    // width and height in pixels
    std::vector<std::uint8_t> rgba;  // side * side pixels, row by row
};

// Reads a square PNG of any colour type; false with the reason in mistake.
bool readSquarePng(const char* path, Image* image, std::string* mistake) {
    png_image png{};
    png.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&png, path)) {
        *mistake = png.message;
        return false;
    }
    if (png.width != png.height) {
        png_image_free(&png);
        *mistake = "it is not square";
        return false;
    }
    png.format = PNG_FORMAT_RGBA;
    image->side = static_cast<int>(png.width);
    image->rgba.resize(PNG_IMAGE_SIZE(png));
    if (!png_image_finish_read(&png, nullptr, image->rgba.data(), 0, nullptr)) {
        *mistake = png.message;
        png_image_free(&png);
        return false;
    }
    return true;
}

// How much of source pixel i, which spans [i, i + 1), lies within [from, to).
double overlap(int i, double from, double to) {
    return std::max(0.0, std::min(i + 1.0, to) - std::max(static_cast<double>(i), from));
}

// The average of the source square [left, left + side) x [top, top + side) as
// 0xAARRGGBB. Colours are weighted by their alpha, so that the transparent
// surroundings lend no colour of their own to the icon's edge.
std::uint32_t averageArgb(const Image& source, double left, double top, double side) {
    double sum[kBytesPerPixel] = {};  // alpha-weighted red, green, blue; then alpha
    const int lastRow = std::min(source.side, static_cast<int>(std::ceil(top + side)));
    const int lastColumn = std::min(source.side, static_cast<int>(std::ceil(left + side)));
    for (int row = static_cast<int>(top); row < lastRow; ++row) {
        const double rowWeight = overlap(row, top, top + side);
        for (int column = static_cast<int>(left); column < lastColumn; ++column) {
            const std::uint8_t* pixel =
                &source
                     .rgba[(static_cast<std::size_t>(row) * source.side + column) * kBytesPerPixel];
            const double weight = rowWeight * overlap(column, left, left + side) * pixel[3];
            for (int channel = 0; channel < 3; ++channel) {
                sum[channel] += pixel[channel] * weight;
            }
            sum[3] += weight;
        }
    }
    if (sum[3] <= 0.0) {
        return 0;
    }
    const auto channel = [&](int index) {
        return static_cast<std::uint32_t>(std::lround(sum[index] / sum[3]));
    };
    const auto alpha = static_cast<std::uint32_t>(std::lround(sum[3] / (side * side)));
    return alpha << 24 | channel(0) << 16 | channel(1) << 8 | channel(2);
}

// The icon at side x side pixels, after its width and height: one entry of
// _NET_WM_ICON.
void appendScaled(const Image& source, int side, std::vector<std::uint32_t>* cardinals) {
    cardinals->push_back(static_cast<std::uint32_t>(side));
    cardinals->push_back(static_cast<std::uint32_t>(side));
    const double scale = static_cast<double>(source.side) / side;
    for (int y = 0; y < side; ++y) {
        for (int x = 0; x < side; ++x) {
            cardinals->push_back(averageArgb(source, x * scale, y * scale, scale));
        }
    }
}

// A size from the command line: a whole number from 1 to the source's side,
// since a larger icon would only blur the same pixels.
bool parseSize(const std::string& text, int largest, int* size) {
    char* end = nullptr;
    const long value = std::strtol(text.c_str(), &end, 10);
    if (text.empty() || *end != '\0' || value < 1 || value > largest) {
        return false;
    }
    *size = static_cast<int>(value);
    return true;
}

bool writeHeader(const std::string& path, const std::vector<std::uint32_t>& cardinals) {
    std::ofstream out(path, std::ios::trunc);
    out << "// Made from dist/karvossa.png by karvossa_icon_cardinals when the game is built.\n"
           "#pragma once\n\n"
           "// _NET_WM_ICON: for each size, smallest first, its width and height and then\n"
           "// its pixels row by row as 0xAARRGGBB. Xlib takes 32-bit property data as\n"
           "// longs, so the game hands this to it as it stands, with no copy to make.\n"
           "constexpr unsigned long kIconCardinals[] = {\n";
    char number[16];
    for (std::size_t i = 0; i < cardinals.size(); ++i) {
        std::snprintf(number, sizeof number, "0x%08x,", static_cast<unsigned>(cardinals[i]));
        out << number << ((i % 8 == 7) ? '\n' : ' ');
    }
    out << "\n};\n";
    out.close();
    return static_cast<bool>(out);
}

int fail(const std::string& message) {
    std::cerr << "karvossa_icon_cardinals: " << message << '\n';
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        return fail("usage: karvossa_icon_cardinals ICON.png OUTPUT.h SIZE...");
    }
    Image source;
    std::string mistake;
    if (!readSquarePng(argv[1], &source, &mistake)) {
        return fail(std::string("cannot use ") + argv[1] + ": " + mistake);
    }
    std::vector<int> sizes;
    for (int i = 3; i < argc; ++i) {
        int size = 0;
        if (!parseSize(argv[i], source.side, &size)) {
            return fail("'" + std::string(argv[i]) + "' is no size from 1 to " +
                        std::to_string(source.side));
        }
        sizes.push_back(size);
    }
    // Smallest first: a server that takes only short requests still gets the
    // small icons when the window drops the ones that do not fit.
    std::sort(sizes.begin(), sizes.end());
    sizes.erase(std::unique(sizes.begin(), sizes.end()), sizes.end());
    std::vector<std::uint32_t> cardinals;
    for (const int size : sizes) {
        appendScaled(source, size, &cardinals);
    }
    if (!writeHeader(argv[2], cardinals)) {
        std::remove(argv[2]);
        return fail(std::string("cannot write ") + argv[2]);
    }
    return 0;
}
