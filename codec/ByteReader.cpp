#include "codec/ByteReader.h"

bool ByteReader::fixed(int bytes, std::uint64_t& value) {
    value = 0;
    if (lost_) {
        return false;
    }
    if (size_ - at_ < static_cast<std::size_t>(bytes)) {
        return lose("bytes cut short", true);
    }
    for (int i = 0; i < bytes; ++i) {
        value |= static_cast<std::uint64_t>(data_[at_++]) << (8 * i);
    }
    return true;
}

bool ByteReader::varint(std::uint64_t& value) {
    value = 0;
    for (int i = 0; i < kMaxVarintBytes; ++i) {
        std::uint64_t next = 0;
        if (!fixed(1, next)) {
            return false;
        }
        value |= (next & 0x7fu) << (7 * i);
        if ((next & 0x80u) == 0) {
            // One way to write each number: a longer one would hide bits, or
            // let two byte strings that differ mean the same.
            // It still ends where it ends, so the reading may go on.
            const bool shortest = i == 0 || next != 0;
            const bool fits = i < kMaxVarintBytes - 1 || next <= 1;
            if (!shortest || !fits) {
                refuse("a number written out of form");
            }
            return true;
        }
    }
    return lose("a number too long", false);
}

bool ByteReader::signedVarint(std::int64_t& value) {
    std::uint64_t raw = 0;
    const bool read = varint(raw);
    value = unzigzag(raw);
    return read;
}

bool ByteReader::bounded(std::uint64_t& value, std::uint64_t max, const char* what) {
    return fixed(1, value) && (value <= max || refuse(what));
}

bool ByteReader::text(std::size_t maxLength, std::string& out) {
    std::uint64_t length = 0;
    const std::uint8_t* start = nullptr;
    if (!bounded(length, maxLength, "a text too long") || !span(length, start)) {
        return false;
    }
    out.assign(reinterpret_cast<const char*>(start), length);
    return true;
}

bool ByteReader::span(std::size_t length, const std::uint8_t*& start) {
    if (lost_) {
        return false;
    }
    if (size_ - at_ < length) {
        return lose("bytes cut short", true);
    }
    start = data_ + at_;
    at_ += length;
    return true;
}

bool ByteReader::refuse(const std::string& why) {
    if (problem_.empty()) {
        problem_ = why;
    }
    return false;
}

bool ByteReader::lose(const char* why, bool ranOut) {
    lost_ = true;
    ranOut_ = ranOut;
    return refuse(why);
}
