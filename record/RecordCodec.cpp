#include "record/RecordCodec.h"

#include "codec/ByteWriter.h"
#include "codec/CommandCodec.h"
#include "game/Invariant.h"
#include "game/RulesVersion.h"
#include "record/RecordCheck.h"
#include "record/RecordDecoder.h"

namespace {

static_assert(kCommandKinds <= RecordCodec::kHashTag, "the entries' tags follow the commands'");
static_assert(RecordCodec::kDesyncTag < CommandCodec::kTagKinds, "every entry has a tag");
static_assert(kPlayerCount <= CommandCodec::kTagDetails, "the loser fits the detail");

CommandCodec::Tag tagOf(const RecordEntry& entry) {
    CommandCodec::Tag tag;
    switch (entry.kind) {
        case RecordEntry::Kind::Command:
            return CommandCodec::tagOf(entry.command);
        case RecordEntry::Kind::Hash:
            tag.kind = RecordCodec::kHashTag;
            return tag;
        case RecordEntry::Kind::Finished:
            tag.kind = RecordCodec::kFinishedTag;
            tag.detail = entry.loser;
            return tag;
        case RecordEntry::Kind::Desync:
            tag.kind = RecordCodec::kDesyncTag;
            return tag;
    }
    return tag;
}

}  // namespace

void RecordCodec::encodeHeader(const RecordHeader& header, std::vector<std::uint8_t>& out,
                               std::uint32_t& state) {
    const std::size_t from = out.size();
    ByteWriter writer(out);
    out.insert(out.end(), kMagic, kMagic + sizeof kMagic);
    writer.fixed(kFormatVersion, 1);
    writer.fixed(kRulesVersion, 2);
    KARVOSSA_ASSERT(header.gameVersion.size() <= kMaxVersionLength,
                    "a game version short enough for the header");
    writer.text(header.gameVersion, kMaxVersionLength);
    writer.fixed(header.seed, 4);
    writer.fixed((header.computer[0] ? 1u : 0u) | (header.computer[1] ? 2u : 0u), 1);
    writer.fixed(header.startTime, 8);
    RecordCheck::close(out, from, state);
}

void RecordCodec::encodeEntry(const RecordEntry& entry, std::uint64_t previousTick,
                              std::vector<std::uint8_t>& out, std::uint32_t& state) {
    const std::size_t from = out.size();
    ByteWriter writer(out);
    writer.fixed(CommandCodec::tag(tagOf(entry)), 1);
    writer.signedVarint(static_cast<std::int64_t>(entry.tick - previousTick));
    if (entry.kind == RecordEntry::Kind::Hash) {
        writer.fixed(entry.hash & kRecordedHashMask, 4);
    } else if (entry.kind == RecordEntry::Kind::Desync) {
        writer.varint(entry.tick - entry.mismatchTick);
    } else if (entry.kind == RecordEntry::Kind::Command) {
        CommandCodec::writeBody(writer, entry.command);
    }
    RecordCheck::close(out, from, state);
}

RecordCodec::Decoded RecordCodec::decode(const std::uint8_t* data, std::size_t size) {
    return RecordDecoder(data, size).read();
}

std::vector<std::uint8_t> RecordCodec::encode(const Record& record) {
    std::vector<std::uint8_t> out;
    std::uint32_t state = 0;
    encodeHeader(record.header, out, state);
    std::uint64_t previous = 0;
    for (const RecordEntry& entry : record.entries) {
        encodeEntry(entry, previous, out, state);
        previous = entry.tick;
    }
    return out;
}
