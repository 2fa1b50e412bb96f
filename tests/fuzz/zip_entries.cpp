#include "tests/fuzz/zip_entries.h"

#include <cstdint>
#include <string>
#include <zlib.h>

namespace quorfuzz {
namespace {

constexpr std::uint32_t kLocalHeader = 0x04034b50;
constexpr std::uint32_t kDirectoryEntry = 0x02014b50;
constexpr std::uint32_t kEndOfDirectory = 0x06054b50;
constexpr std::size_t kLocalHeaderBytes = 30;
constexpr std::size_t kDirectoryEntryBytes = 46;
constexpr std::size_t kEndBytes = 22;
constexpr std::uint32_t kStored = 0;
constexpr std::uint32_t kDeflated = 8;
// An entry larger than this is not unpacked: the target's inputs are far smaller.
constexpr std::uint32_t kMaxEntryBytes = 1u << 20;

std::uint32_t Field(std::string_view bytes, std::size_t at, std::size_t width) {
    std::uint32_t value = 0;
    for (std::size_t i = width; i-- > 0;) {
        value = value << 8 | static_cast<unsigned char>(bytes[at + i]);
    }
    return value;
}

std::optional<std::string> Inflated(std::string_view compressed, std::uint32_t size) {
    std::string out(size, '\0');
    z_stream stream{};
    if (inflateInit2(&stream, -MAX_WBITS) != Z_OK) return std::nullopt;
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(compressed.data()));
    stream.avail_in = static_cast<uInt>(compressed.size());
    stream.next_out = reinterpret_cast<Bytef*>(out.data());
    stream.avail_out = static_cast<uInt>(out.size());
    const int result = inflate(&stream, Z_FINISH);
    const bool whole = result == Z_STREAM_END && stream.total_out == size;
    inflateEnd(&stream);
    if (!whole) return std::nullopt;
    return out;
}

}  // namespace

std::optional<std::vector<apptest::ZipEntry>> UnpackZip(std::string_view bytes) {
    if (bytes.size() < kEndBytes) return std::nullopt;
    // The end record, with no comment after it, as every archive the mutator packs has.
    const std::size_t end = bytes.size() - kEndBytes;
    if (Field(bytes, end, 4) != kEndOfDirectory) return std::nullopt;
    const std::size_t count = Field(bytes, end + 10, 2);
    std::size_t at = Field(bytes, end + 16, 4);
    std::vector<apptest::ZipEntry> entries;
    for (std::size_t i = 0; i < count; ++i) {
        if (at + kDirectoryEntryBytes > end || Field(bytes, at, 4) != kDirectoryEntry) {
            return std::nullopt;
        }
        const std::uint32_t method = Field(bytes, at + 10, 2);
        const std::uint32_t compressed = Field(bytes, at + 20, 4);
        const std::uint32_t size = Field(bytes, at + 24, 4);
        const std::size_t name = Field(bytes, at + 28, 2);
        const std::size_t local = Field(bytes, at + 42, 4);
        if (at + kDirectoryEntryBytes + name > end || local + kLocalHeaderBytes > end ||
            Field(bytes, local, 4) != kLocalHeader || size > kMaxEntryBytes) {
            return std::nullopt;
        }
        const std::size_t data =
            local + kLocalHeaderBytes + Field(bytes, local + 26, 2) + Field(bytes, local + 28, 2);
        if (data + compressed > end) return std::nullopt;
        apptest::ZipEntry entry;
        entry.name = std::string(bytes.substr(at + kDirectoryEntryBytes, name));
        entry.deflate = method == kDeflated;
        if (method == kStored) {
            entry.bytes = std::string(bytes.substr(data, compressed));
        } else if (method == kDeflated) {
            auto inflated = Inflated(bytes.substr(data, compressed), size);
            if (!inflated) return std::nullopt;
            entry.bytes = std::move(*inflated);
        } else {
            return std::nullopt;
        }
        entries.push_back(std::move(entry));
        at += kDirectoryEntryBytes + name + Field(bytes, at + 30, 2) + Field(bytes, at + 32, 2);
    }
    return entries;
}

}  // namespace quorfuzz
