#pragma once
// The bytes of a game record, and the one decoder that reads them back.
//
// A record is a header and then one entry per applied command, per state
// hash and for the end of the game, each appended as it happens. Every entry
// ends with a 16-bit check (RecordCheck), so that a byte changed anywhere
// fails the check of its own entry or of a later one. Entries carry their
// tick as the signed difference from the entry before. A file that ends
// inside an entry lost only that entry, to a process stopped while writing it.
//
// Layout, little-endian (the manual page's FILES section says the same):
//   header: 8-byte magic, format version (1 byte), rules version (2; from
//   format 2 on: a record of format 1 was made under the first rules), game
//   version (1-byte length, then text), seed (4), sides the program played
//   (1, bit per side), start time (8, seconds since 1970), check (2)
//   entry:  tag (1, CommandCodec's: kind, side, detail), tick difference
//   (zigzag varint), then a command's body (CommandCodec), Hash: the state
//   hash's low half (4), Desync: ticks back to the mismatch (varint);
//   Finished has the loser as its detail; then check (2)
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "record/Record.h"

class RecordCodec {
public:
    static constexpr char kMagic[8] = {'K', 'V', 'S', 'R', 'E', 'C', '\r', '\n'};
    static constexpr int kFormatVersion = 2;       // the one written
    static constexpr int kUnruledFormat = 1;       // read too: a header without the rules
    static constexpr int kUnruledFormatRules = 1;  // the rules every format-1 record was made under
    static constexpr std::size_t kMaxVersionLength = 64;
    // The tag kinds of the entries that are not commands.
    static constexpr int kHashTag = 6;
    static constexpr int kFinishedTag = 7;
    static constexpr int kDesyncTag = 8;

    // Append bytes to out; state is the running check, carried from one call
    // to the next (0 before the header). The header says this program's rules.
    static void encodeHeader(const RecordHeader& header, std::vector<std::uint8_t>& out,
                             std::uint32_t& state);
    static void encodeEntry(const RecordEntry& entry, std::uint64_t previousTick,
                            std::vector<std::uint8_t>& out, std::uint32_t& state);

    // A whole record, as its file would hold it.
    static std::vector<std::uint8_t> encode(const Record& record);

    struct Decoded {
        bool ok = false;
        std::string error;  // why the bytes are not a record, in a few words
        std::string note;   // something worth saying about a good one
        Record record;
    };
    // Refuses a record of other rules than this program's, naming both.
    static Decoded decode(const std::uint8_t* data, std::size_t size);
};
