// Compressed MusicXML files (.mxl): the entries of a zip archive held in memory, read through
// libzip, and the score the archive holds. Only stored and deflated entries are taken: no score
// needs more, and every other method is code a user's file could reach for nothing.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "simhost/document/document_file.h"

struct zip;

namespace simhost {

class MxlArchive {
public:
    // The archive's directory; nothing, with *error set, when the bytes are not an archive this
    // reader can take apart. The archive keeps a view of the bytes: they must outlive it.
    static std::optional<MxlArchive> Open(std::string_view bytes, std::string* error);

    // Entry names in the order of the archive's directory.
    std::vector<std::string> Names() const;
    // The uncompressed bytes of one entry; nothing, with *error set, when there is no such entry
    // or it is damaged (its checksum is checked).
    std::optional<std::string> Read(std::string_view name, std::string* error) const;

private:
    struct Close {
        void operator()(zip* archive) const;
    };
    MxlArchive(zip* archive, std::size_t bytes) : archive_(archive), bytes_(bytes) {}

    std::unique_ptr<zip, Close> archive_;
    std::size_t bytes_;
};

// The score inside a compressed MusicXML file (.mxl): the first root file its container names,
// else the first MusicXML entry outside META-INF. Errors name the archive and the entry, and the
// line within the entry where there is one.
ParsedDocument ImportMxl(std::string_view bytes, const std::string& fileName);

// An entry larger than this is refused: a score is far smaller, and a forged size must not make
// the reader allocate without limit.
constexpr std::uint32_t kMaxZipEntryBytes = 64u << 20;

}  // namespace simhost
