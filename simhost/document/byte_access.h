// Little-endian field access on record bytes, bounds-checked: a field that does not fit in the
// record reads as 0 and is not written.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace simhost {

inline std::int16_t ReadInt16(std::span<const std::uint8_t> bytes, std::size_t offset) {
    if (offset + 2 > bytes.size()) return 0;
    return static_cast<std::int16_t>(bytes[offset] | (bytes[offset + 1] << 8));
}

inline std::uint16_t ReadUint16(std::span<const std::uint8_t> bytes, std::size_t offset) {
    return static_cast<std::uint16_t>(ReadInt16(bytes, offset));
}

inline std::int32_t ReadInt32(std::span<const std::uint8_t> bytes, std::size_t offset) {
    if (offset + 4 > bytes.size()) return 0;
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(bytes[offset]) |
                                     (static_cast<std::uint32_t>(bytes[offset + 1]) << 8) |
                                     (static_cast<std::uint32_t>(bytes[offset + 2]) << 16) |
                                     (static_cast<std::uint32_t>(bytes[offset + 3]) << 24));
}

inline void WriteInt16(std::span<std::uint8_t> bytes, std::size_t offset, std::int16_t value) {
    if (offset + 2 > bytes.size()) return;
    const auto bits = static_cast<std::uint16_t>(value);
    bytes[offset] = static_cast<std::uint8_t>(bits & 0xFF);
    bytes[offset + 1] = static_cast<std::uint8_t>(bits >> 8);
}

inline void WriteUint16(std::span<std::uint8_t> bytes, std::size_t offset, std::uint16_t value) {
    WriteInt16(bytes, offset, static_cast<std::int16_t>(value));
}

inline void WriteInt32(std::span<std::uint8_t> bytes, std::size_t offset, std::int32_t value) {
    if (offset + 4 > bytes.size()) return;
    const auto bits = static_cast<std::uint32_t>(value);
    for (std::size_t i = 0; i < 4; ++i) {
        bytes[offset + i] = static_cast<std::uint8_t>((bits >> (8 * i)) & 0xFF);
    }
}

}  // namespace simhost
