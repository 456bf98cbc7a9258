#include "codec/ByteWriter.h"

#include <algorithm>

void ByteWriter::fixed(std::uint64_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) {
        out_.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
    }
}

void ByteWriter::varint(std::uint64_t value) {
    while (value >= 0x80u) {
        out_.push_back(static_cast<std::uint8_t>(value | 0x80u));
        value >>= 7;
    }
    out_.push_back(static_cast<std::uint8_t>(value));
}

void ByteWriter::text(const std::string& text, std::size_t maxLength) {
    const std::size_t length = std::min({text.size(), maxLength, std::size_t{0xff}});
    out_.push_back(static_cast<std::uint8_t>(length));
    out_.insert(out_.end(), text.begin(), text.begin() + static_cast<std::ptrdiff_t>(length));
}

void ByteWriter::bytes(const std::vector<std::uint8_t>& bytes) {
    out_.insert(out_.end(), bytes.begin(), bytes.end());
}
