// Little-endian field access in host record images, whatever the machine's byte order.
#pragma once

#include <cstdint>

inline std::int16_t ReadInt16(const std::uint8_t* bytes, int offset) {
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(bytes[offset]) |
                                     static_cast<std::uint16_t>(bytes[offset + 1] << 8));
}

inline void WriteInt16(std::uint8_t* bytes, int offset, std::int16_t value) {
    const auto raw = static_cast<std::uint16_t>(value);
    bytes[offset] = static_cast<std::uint8_t>(raw & 0xFF);
    bytes[offset + 1] = static_cast<std::uint8_t>(raw >> 8);
}

// A 32-bit value stored as two 16-bit words, low word first.
inline std::int32_t ReadInt32(const std::uint8_t* bytes, int offset) {
    const auto low = static_cast<std::uint16_t>(ReadInt16(bytes, offset));
    const auto high = static_cast<std::uint16_t>(ReadInt16(bytes, offset + 2));
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(low) |
                                     (static_cast<std::uint32_t>(high) << 16));
}

inline void WriteInt32(std::uint8_t* bytes, int offset, std::int32_t value) {
    const auto raw = static_cast<std::uint32_t>(value);
    WriteInt16(bytes, offset, static_cast<std::int16_t>(raw & 0xFFFF));
    WriteInt16(bytes, offset + 2, static_cast<std::int16_t>(raw >> 16));
}
