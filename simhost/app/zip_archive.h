// The entries of a zip archive held in memory, as a compressed MusicXML file (.mxl) packs its
// score: stored or deflated entries, read through zlib. Archives that span disks, need 64-bit
// sizes or are encrypted are refused, since no score needs them.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace simhost {

class ZipArchive {
public:
    // The archive's directory; nothing, with *error set, when the bytes are not an archive this
    // reader can take apart. The archive keeps a view of the bytes: they must outlive it.
    static std::optional<ZipArchive> Open(std::string_view bytes, std::string* error);

    // Entry names in the order of the archive's directory.
    std::vector<std::string> Names() const;
    // The uncompressed bytes of one entry; nothing, with *error set, when there is no such entry
    // or it is damaged (its checksum is checked).
    std::optional<std::string> Read(std::string_view name, std::string* error) const;

private:
    struct Entry {
        std::string name;
        std::uint16_t method = 0;
        std::uint16_t flags = 0;
        std::uint32_t crc = 0;
        std::uint32_t compressedSize = 0;
        std::uint32_t size = 0;
        std::uint32_t localHeader = 0;
    };

    explicit ZipArchive(std::string_view bytes) : bytes_(bytes) {}

    std::string_view bytes_;
    std::vector<Entry> entries_;
};

// An entry larger than this is refused: a score is far smaller, and a forged size must not make
// the reader allocate without limit.
constexpr std::uint32_t kMaxZipEntryBytes = 64u << 20;

}  // namespace simhost
