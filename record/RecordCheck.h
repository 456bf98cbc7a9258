#pragma once
// The running check of a record: a CRC-32 carried over every byte of the file
// so far. The header and every entry close with the low half of it, taken
// over their own bytes, and then count those two bytes in, so that a byte
// changed anywhere fails the check of its own entry or of a later one.
// RecordCodec closes what it writes with it, RecordDecoder tests it.
#include <cstddef>
#include <cstdint>
#include <vector>

class RecordCheck {
public:
    static constexpr int kBytes = 2;

    // The check after `size` more bytes; 0 before the first.
    static std::uint32_t over(std::uint32_t state, const std::uint8_t* data, std::size_t size);
    // What is stored of it.
    static std::uint32_t stored(std::uint32_t state) { return state & 0xffffu; }
    // Appends the check of out's bytes from `from` on, and counts it in.
    static void close(std::vector<std::uint8_t>& out, std::size_t from, std::uint32_t& state);
};
