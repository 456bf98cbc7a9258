#include "record/RecordCheck.h"

#include <array>

#include "codec/ByteWriter.h"

namespace {

std::array<std::uint32_t, 256> crcTable() {
    std::array<std::uint32_t, 256> table{};
    for (std::uint32_t i = 0; i < 256; ++i) {
        std::uint32_t c = i;
        for (int bit = 0; bit < 8; ++bit) {
            c = (c & 1u) != 0 ? 0xedb88320u ^ (c >> 1) : c >> 1;
        }
        table[i] = c;
    }
    return table;
}

}  // namespace

std::uint32_t RecordCheck::over(std::uint32_t state, const std::uint8_t* data, std::size_t size) {
    static const std::array<std::uint32_t, 256> table = crcTable();
    std::uint32_t c = ~state;
    for (std::size_t i = 0; i < size; ++i) {
        c = table[(c ^ data[i]) & 0xffu] ^ (c >> 8);
    }
    return ~c;
}

void RecordCheck::close(std::vector<std::uint8_t>& out, std::size_t from, std::uint32_t& state) {
    state = over(state, out.data() + from, out.size() - from);
    const std::size_t checkAt = out.size();
    ByteWriter(out).fixed(stored(state), kBytes);
    state = over(state, out.data() + checkAt, kBytes);
}
