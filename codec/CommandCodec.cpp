#include "codec/CommandCodec.h"

#include "battle/Unit.h"
#include "game/Invariant.h"
#include "game/Model.h"

namespace {

constexpr int kSideShift = 4;
constexpr int kDetailShift = 5;

static_assert(kCommandKinds <= CommandCodec::kTagKinds, "every command kind has a tag");
static_assert(kPlayerCount <= CommandCodec::kTagSides, "every side has its bit");
static_assert(kUnitKinds <= CommandCodec::kTagDetails, "every unit kind fits the detail");

bool readCell(ByteReader& in, Command& command) {
    std::int64_t z = 0;
    std::int64_t x = 0;
    if (!in.signedVarint(z) || !in.signedVarint(x)) {
        return false;
    }
    if (z < INT32_MIN || z > INT32_MAX || x < INT32_MIN || x > INT32_MAX) {
        return in.refuse("a cell out of range");
    }
    command.cellZ = static_cast<int>(z);
    command.cellX = static_cast<int>(x);
    return true;
}

}  // namespace

std::uint8_t CommandCodec::tag(const Tag& tag) {
    const bool fits = tag.kind >= 0 && tag.kind < kTagKinds && tag.side >= 0 &&
                      tag.side < kTagSides && tag.detail >= 0 && tag.detail < kTagDetails;
    KARVOSSA_ASSERT(fits, "a tag's fields within their bits");
    // Masked, so that no field spills into the next.
    return static_cast<std::uint8_t>((tag.kind & (kTagKinds - 1)) |
                                     (tag.side & (kTagSides - 1)) << kSideShift |
                                     (tag.detail & (kTagDetails - 1)) << kDetailShift);
}

CommandCodec::Tag CommandCodec::untag(std::uint8_t byte) {
    Tag tag;
    tag.kind = byte & (kTagKinds - 1);
    tag.side = (byte >> kSideShift) & (kTagSides - 1);
    tag.detail = byte >> kDetailShift;
    return tag;
}

CommandCodec::Tag CommandCodec::tagOf(const Command& command) {
    Tag tag;
    tag.kind = static_cast<int>(command.kind);
    tag.side = command.side;
    if (command.kind == CommandKind::MoveCursor) {
        tag.detail = command.move == CursorMove::Right ? 1 : 0;
    } else if (command.kind == CommandKind::SendUnit) {
        tag.detail = command.unitKind;
    }
    return tag;
}

void CommandCodec::writeBody(ByteWriter& out, const Command& command) {
    if (command.kind == CommandKind::ClickCell) {
        out.signedVarint(command.cellZ);
        out.signedVarint(command.cellX);
    }
}

void CommandCodec::write(ByteWriter& out, const Command& command) {
    out.fixed(tag(tagOf(command)), 1);
    writeBody(out, command);
}

bool CommandCodec::read(ByteReader& in, Command& command) {
    std::uint64_t byte = 0;
    return in.fixed(1, byte) && readBody(in, untag(static_cast<std::uint8_t>(byte)), command);
}

bool CommandCodec::readBody(ByteReader& in, const Tag& tag, Command& command) {
    if (tag.kind >= kCommandKinds) {
        return in.refuse("an unknown command");
    }
    command.kind = static_cast<CommandKind>(tag.kind);
    command.side = tag.side;
    switch (command.kind) {
        case CommandKind::MoveCursor:
            command.move = tag.detail == 1 ? CursorMove::Right : CursorMove::Left;
            return tag.detail <= 1 || in.refuse("an unknown cursor move");
        case CommandKind::SendUnit:
            command.unitKind = tag.detail;
            return tag.detail < kUnitKinds || in.refuse("an unknown unit kind");
        case CommandKind::ClickCell:
            return readCell(in, command) && (tag.detail == 0 || in.refuse("an unknown command"));
        default:
            return tag.detail == 0 || in.refuse("an unknown command");
    }
}
