// Little-endian fields in byte images, whatever the machine's byte order: the host's records,
// and the substitute host's files that store numbers the same way.
//
// Nothing here checks bounds. The extension reads fixed fields of buffers it sized itself, on
// its hot path; a caller whose bytes come from outside checks that the field fits first.
#pragma once

#include <cstddef>
#include <cstdint>

inline std::uint16_t ReadUint16(const std::uint8_t* bytes, std::size_t offset) {
    return static_cast<std::uint16_t>(bytes[offset] | (bytes[offset + 1] << 8));
}

inline std::int16_t ReadInt16(const std::uint8_t* bytes, std::size_t offset) {
    return static_cast<std::int16_t>(ReadUint16(bytes, offset));
}

// The host stores a 32-bit value as two 16-bit words, low word first: the same bytes as a
// little-endian 32-bit field.
inline std::uint32_t ReadUint32(const std::uint8_t* bytes, std::size_t offset) {
    return static_cast<std::uint32_t>(ReadUint16(bytes, offset)) |
           (static_cast<std::uint32_t>(ReadUint16(bytes, offset + 2)) << 16);
}

inline std::int32_t ReadInt32(const std::uint8_t* bytes, std::size_t offset) {
    return static_cast<std::int32_t>(ReadUint32(bytes, offset));
}

inline void WriteUint16(std::uint8_t* bytes, std::size_t offset, std::uint16_t value) {
    bytes[offset] = static_cast<std::uint8_t>(value & 0xFF);
    bytes[offset + 1] = static_cast<std::uint8_t>(value >> 8);
}

inline void WriteInt16(std::uint8_t* bytes, std::size_t offset, std::int16_t value) {
    WriteUint16(bytes, offset, static_cast<std::uint16_t>(value));
}

inline void WriteInt32(std::uint8_t* bytes, std::size_t offset, std::int32_t value) {
    const auto raw = static_cast<std::uint32_t>(value);
    WriteUint16(bytes, offset, static_cast<std::uint16_t>(raw & 0xFFFF));
    WriteUint16(bytes, offset + 2, static_cast<std::uint16_t>(raw >> 16));
}
