#pragma once
// Appends the byte forms a record and a network message share: little-endian
// fixed widths, LEB128 varints in their shortest form, and zigzag for signed
// values, so that small differences of either sign stay one byte. ByteReader
// reads exactly these forms back.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

class ByteWriter {
public:
    explicit ByteWriter(std::vector<std::uint8_t>& out) : out_(out) {}

    static std::uint64_t zigzag(std::int64_t value) {
        return (static_cast<std::uint64_t>(value) << 1) ^ static_cast<std::uint64_t>(value >> 63);
    }

    void fixed(std::uint64_t value, int bytes);
    void varint(std::uint64_t value);
    void signedVarint(std::int64_t value) { varint(zigzag(value)); }
    // A length byte and the text; a text longer than maxLength is cut there,
    // so that a refusal quoting a peer's words still fits its message.
    void text(const std::string& text, std::size_t maxLength);
    void bytes(const std::vector<std::uint8_t>& bytes);
    std::size_t size() const { return out_.size(); }

private:
    std::vector<std::uint8_t>& out_;
};
