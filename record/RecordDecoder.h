#pragma once
// Reads the bytes of one record front to back, for RecordCodec::decode, its
// one caller. Nothing an entry says is believed before its check holds: a
// changed byte is told as a corruption, and an entry this program never
// writes as what it is only once its check has held. The first thing wrong
// ends the reading; running out inside an entry drops that entry only.
#include <cstddef>
#include <cstdint>
#include <string>

#include "codec/ByteReader.h"
#include "codec/CommandCodec.h"
#include "record/RecordCodec.h"

class RecordDecoder {
public:
    RecordDecoder(const std::uint8_t* data, std::size_t size) : in_(data, size) {}

    RecordCodec::Decoded read();

private:
    bool readVersions(std::uint64_t& rules);
    void readHeader();
    void readEntry();
    void readBody(const CommandCodec::Tag& tag, RecordEntry& entry);
    bool check(std::size_t from);
    bool takeTick(std::size_t start, std::int64_t difference, RecordEntry& entry);
    // Refuses an entry the program never writes: bits set that nothing reads.
    void expect(bool wellFormed);
    void fail(const std::string& why);
    void failHeader();

    ByteReader in_;
    std::uint32_t state_ = 0;  // the running check after the last byte tested
    std::uint64_t tick_ = 0;   // of the last entry
    bool cutOff_ = false;
    bool finished_ = false;
    std::uint64_t back_ = 0;  // Desync: ticks from the mismatch to the entry's own
    std::string failure_;
    Record record_;
};
