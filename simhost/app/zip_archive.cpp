#include "simhost/app/zip_archive.h"

#include <algorithm>
#include <zlib.h>

#include "framework/data/byte_fields.h"

namespace simhost {
namespace {

constexpr std::uint32_t kEndOfDirectory = 0x06054b50;
constexpr std::uint32_t kDirectoryEntry = 0x02014b50;
constexpr std::uint32_t kLocalHeader = 0x04034b50;
constexpr std::size_t kEndOfDirectoryBytes = 22;
constexpr std::size_t kDirectoryEntryBytes = 46;
constexpr std::size_t kLocalHeaderBytes = 30;
constexpr std::size_t kMaxCommentBytes = 65535;
constexpr std::uint16_t kMethodStored = 0;
constexpr std::uint16_t kMethodDeflated = 8;
constexpr std::uint16_t kFlagEncrypted = 0x0001;

// Little-endian fields; the caller has checked that they lie inside the bytes.
std::uint16_t U16(std::string_view bytes, std::size_t at) {
    return ReadUint16(reinterpret_cast<const std::uint8_t*>(bytes.data()), at);
}

std::uint32_t U32(std::string_view bytes, std::size_t at) {
    return ReadUint32(reinterpret_cast<const std::uint8_t*>(bytes.data()), at);
}

bool Inflate(std::string_view compressed, std::string& out) {
    z_stream stream{};
    // Negative window bits: raw deflate data, as zip stores it, without a zlib header.
    if (inflateInit2(&stream, -MAX_WBITS) != Z_OK) return false;
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(compressed.data()));
    stream.avail_in = static_cast<uInt>(compressed.size());
    stream.next_out = reinterpret_cast<Bytef*>(out.data());
    stream.avail_out = static_cast<uInt>(out.size());
    const int result = inflate(&stream, Z_FINISH);
    const bool complete = result == Z_STREAM_END && stream.total_out == out.size();
    inflateEnd(&stream);
    return complete;
}

}  // namespace

std::optional<ZipArchive> ZipArchive::Open(std::string_view bytes, std::string* error) {
    const auto fail = [&](const char* message) {
        *error = message;
        return std::nullopt;
    };
    if (bytes.size() < kEndOfDirectoryBytes) return fail("too short to be a zip archive");
    // The end record is last, followed only by a comment of at most 65535 bytes.
    const std::size_t lowest = bytes.size() > kEndOfDirectoryBytes + kMaxCommentBytes
                                   ? bytes.size() - kEndOfDirectoryBytes - kMaxCommentBytes
                                   : 0;
    std::optional<std::size_t> end;
    for (std::size_t at = bytes.size() - kEndOfDirectoryBytes + 1; at-- > lowest;) {
        if (U32(bytes, at) == kEndOfDirectory) {
            end = at;
            break;
        }
    }
    if (!end) return fail("not a zip archive: it has no directory");
    if (U16(bytes, *end + 4) != 0 || U16(bytes, *end + 6) != 0) {
        return fail("a zip archive over several disks");
    }
    const std::uint16_t count = U16(bytes, *end + 10);
    const std::uint32_t directory = U32(bytes, *end + 16);
    if (count == 0xFFFF || directory == 0xFFFFFFFF) return fail("a zip archive of 64-bit sizes");

    ZipArchive archive(bytes);
    std::size_t at = directory;
    for (std::uint16_t i = 0; i < count; ++i) {
        if (at + kDirectoryEntryBytes > *end || U32(bytes, at) != kDirectoryEntry) {
            return fail("the zip archive's directory is damaged");
        }
        Entry entry;
        entry.flags = U16(bytes, at + 8);
        entry.method = U16(bytes, at + 10);
        entry.crc = U32(bytes, at + 16);
        entry.compressedSize = U32(bytes, at + 20);
        entry.size = U32(bytes, at + 24);
        const std::size_t nameBytes = U16(bytes, at + 28);
        const std::size_t extraBytes = U16(bytes, at + 30);
        const std::size_t commentBytes = U16(bytes, at + 32);
        entry.localHeader = U32(bytes, at + 42);
        if (at + kDirectoryEntryBytes + nameBytes > *end) {
            return fail("the zip archive's directory is damaged");
        }
        entry.name = std::string(bytes.substr(at + kDirectoryEntryBytes, nameBytes));
        archive.entries_.push_back(std::move(entry));
        at += kDirectoryEntryBytes + nameBytes + extraBytes + commentBytes;
    }
    return archive;
}

std::vector<std::string> ZipArchive::Names() const {
    std::vector<std::string> names;
    for (const Entry& entry : entries_) names.push_back(entry.name);
    return names;
}

std::optional<std::string> ZipArchive::Read(std::string_view name, std::string* error) const {
    const auto fail = [&](std::string message) {
        *error = std::move(message);
        return std::nullopt;
    };
    const auto it = std::find_if(entries_.begin(), entries_.end(),
                                 [&](const Entry& entry) { return entry.name == name; });
    if (it == entries_.end()) return fail("the archive has no " + std::string(name));
    const Entry& entry = *it;
    const std::string named = " in the archive: " + entry.name;
    if (entry.flags & kFlagEncrypted) return fail("an encrypted entry" + named);
    if (entry.size > kMaxZipEntryBytes) return fail("an entry too large" + named);
    const std::size_t local = entry.localHeader;
    if (local + kLocalHeaderBytes > bytes_.size() || U32(bytes_, local) != kLocalHeader) {
        return fail("a damaged entry" + named);
    }
    const std::size_t data =
        local + kLocalHeaderBytes + U16(bytes_, local + 26) + U16(bytes_, local + 28);
    if (data + entry.compressedSize > bytes_.size()) return fail("a truncated entry" + named);
    const std::string_view compressed = bytes_.substr(data, entry.compressedSize);

    std::string out;
    if (entry.method == kMethodStored) {
        if (entry.compressedSize != entry.size) return fail("a damaged entry" + named);
        out = std::string(compressed);
    } else if (entry.method == kMethodDeflated) {
        out.resize(entry.size);
        if (!Inflate(compressed, out)) return fail("a damaged entry" + named);
    } else {
        return fail("an entry compressed by method " + std::to_string(entry.method) +
                    ", which this reader does not know," + named);
    }
    const auto crc = static_cast<std::uint32_t>(
        crc32(0L, reinterpret_cast<const Bytef*>(out.data()), static_cast<uInt>(out.size())));
    if (crc != entry.crc) return fail("a damaged entry (wrong checksum)" + named);
    return out;
}

}  // namespace simhost
