#pragma once
// Reads untrusted bytes front to back in the forms ByteWriter writes, every
// read bounded by their end. It tells two ways of going wrong apart, because
// a record must: bytes that run out, or a number that never ends, lose the
// place in them and end the reading (lost()); a value that is out of its one
// written form or means nothing to the caller is refused, and the reading may
// go on past it, so that a record can first see whether its check holds. Only
// the first problem is kept.
#include <cstddef>
#include <cstdint>
#include <string>

class ByteReader {
public:
    static constexpr int kMaxVarintBytes = 10;  // a 64-bit value in 7-bit groups

    ByteReader(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    static std::int64_t unzigzag(std::uint64_t value) {
        return static_cast<std::int64_t>(value >> 1) ^ -static_cast<std::int64_t>(value & 1u);
    }

    // Each is false, and so is every read after it, once the place is lost.
    bool fixed(int bytes, std::uint64_t& value);
    // A number written longer than it needs is refused, and still read.
    bool varint(std::uint64_t& value);
    bool signedVarint(std::int64_t& value);
    // A byte no greater than max; a greater one is refused as `what`.
    bool bounded(std::uint64_t& value, std::uint64_t max, const char* what);
    // A length byte up to maxLength, then that many bytes.
    bool text(std::size_t maxLength, std::string& out);
    // The next `length` bytes, left where they are.
    bool span(std::size_t length, const std::uint8_t*& start);

    // Notes a value that means nothing; always false, so that a read can end
    // with it.
    bool refuse(const std::string& why);

    bool lost() const { return lost_; }
    bool ranOut() const { return ranOut_; }  // lost because the bytes ended
    bool sound() const { return problem_.empty(); }
    const std::string& problem() const { return problem_; }  // the first, in a few words
    std::size_t at() const { return at_; }
    std::size_t size() const { return size_; }
    const std::uint8_t* data() const { return data_; }

private:
    bool lose(const char* why, bool ranOut);

    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t at_ = 0;
    bool lost_ = false;
    bool ranOut_ = false;
    std::string problem_;
};
