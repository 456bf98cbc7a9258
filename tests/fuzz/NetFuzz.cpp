// The network message decoder against arbitrary bytes: it must answer every
// input without reading outside it, hand out only values in range, and
// whatever it accepts must come back byte for byte when written out again.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "battle/Unit.h"
#include "net/NetCodec.h"

namespace {

bool inRange(const NetMessage& message) {
    if (message.text.size() > NetMessage::kMaxText ||
        message.ticks.size() > NetMessage::kMaxTicks || message.rulesVersion < 0 ||
        message.rulesVersion > NetMessage::kMaxRulesVersion) {
        return false;
    }
    if (message.kind == NetMessageKind::Welcome &&
        (message.inputDelay < NetMessage::kMinInputDelay ||
         message.inputDelay > NetMessage::kMaxInputDelay ||
         message.record.size() > NetMessage::kMaxRecord)) {
        return false;
    }
    for (const TickCommands& commands : message.ticks) {
        if (commands.size() > NetMessage::kMaxCommandsPerTick) {
            return false;
        }
        for (const Command& command : commands) {
            if (static_cast<int>(command.kind) >= kCommandKinds || command.unitKind < 0 ||
                command.unitKind >= kUnitKinds || command.side < 0 ||
                command.side >= kPlayerCount) {
                return false;
            }
        }
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const NetCodec::Decoded decoded = NetCodec::decode(data, size);
    if (!decoded.ok) {
        if (decoded.error.empty()) {
            std::abort();
        }
        return 0;
    }
    const std::vector<std::uint8_t> again = NetCodec::encode(decoded.message);
    if (!inRange(decoded.message) || again != std::vector<std::uint8_t>(data, data + size)) {
        std::abort();
    }
    return 0;
}
