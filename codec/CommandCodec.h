#pragma once
// One command's bytes, the same in a game's record and in a network message,
// and the one place that reads them, so that a command one of the two takes
// the other takes too. A command is a tag and, for a click, its cell:
//   tag (1): kind in bits 0-3, side in bit 4, detail in bits 5-7 (the
//            cursor's way, 0 left and 1 right; the unit's kind; else 0)
//   ClickCell: cell z and x, zigzag varints, each within 32 bits
// The command's tick is not in its bytes: a record puts it between the tag and
// the cell, and gives the tag's kinds from kCommandKinds on to entries of its
// own; a network message says it by where the command stands.
#include <cstdint>

#include "codec/ByteReader.h"
#include "codec/ByteWriter.h"
#include "game/Command.h"

class CommandCodec {
public:
    struct Tag {
        int kind = 0;    // 0..kTagKinds-1
        int side = 0;    // 0..kTagSides-1
        int detail = 0;  // 0..kTagDetails-1
    };
    static constexpr int kTagKinds = 16;
    static constexpr int kTagSides = 2;
    static constexpr int kTagDetails = 8;

    static Tag tagOf(const Command& command);
    static std::uint8_t tag(const Tag& tag);
    static Tag untag(std::uint8_t byte);

    // What follows the tag: a click's cell.
    static void writeBody(ByteWriter& out, const Command& command);
    // The command whose tag has been read: false, with the reader saying why,
    // when the bytes run out or hold no command this program gives. Only the
    // command's own bytes are read, a refused one's too.
    static bool readBody(ByteReader& in, const Tag& tag, Command& command);

    // Tag and body together, as a network message holds a command.
    static void write(ByteWriter& out, const Command& command);
    static bool read(ByteReader& in, Command& command);
};
