#include "simhost/app/mxl_archive.h"

#include <pugixml.hpp>
#include <zip.h>

#include "simhost/app/musicxml_import.h"

namespace simhost {
namespace {

// Where a compressed MusicXML file names its score.
constexpr std::string_view kContainerEntry = "META-INF/container.xml";
// The end of a zip's directory alone takes 22 bytes.
constexpr std::size_t kShortestArchive = 22;

// What is wrong with an archive that libzip would not open, in a reader's words.
std::string OpenError(int code) {
    switch (code) {
        case ZIP_ER_NOZIP:
            return "not a zip archive: it has no directory";
        case ZIP_ER_MULTIDISK:
            return "a zip archive over several disks";
        case ZIP_ER_INCONS:
            return "the zip archive's directory is damaged";
        default: {
            zip_error_t error;
            zip_error_init_with_code(&error, code);
            std::string text =
                std::string("not read as a zip archive: ") + zip_error_strerror(&error);
            zip_error_fini(&error);
            return text;
        }
    }
}

}  // namespace

void MxlArchive::Close::operator()(zip* archive) const { zip_discard(archive); }

std::optional<MxlArchive> MxlArchive::Open(std::string_view bytes, std::string* error) {
    if (bytes.size() < kShortestArchive) {
        *error = "too short to be a zip archive";
        return std::nullopt;
    }
    zip_error_t failure;
    zip_error_init(&failure);
    zip_source_t* source = zip_source_buffer_create(bytes.data(), bytes.size(), 0, &failure);
    zip* archive = source != nullptr ? zip_open_from_source(source, ZIP_RDONLY, &failure) : nullptr;
    if (archive == nullptr) {
        // A source that did not become an archive is still ours to free.
        if (source != nullptr) zip_source_free(source);
        *error = OpenError(zip_error_code_zip(&failure));
        zip_error_fini(&failure);
        return std::nullopt;
    }
    zip_error_fini(&failure);
    return MxlArchive(archive, bytes.size());
}

std::vector<std::string> MxlArchive::Names() const {
    std::vector<std::string> names;
    const zip_int64_t count = zip_get_num_entries(archive_.get(), 0);
    for (zip_int64_t i = 0; i < count; ++i) {
        if (const char* name = zip_get_name(archive_.get(), static_cast<zip_uint64_t>(i), 0)) {
            names.emplace_back(name);
        }
    }
    return names;
}

std::optional<std::string> MxlArchive::Read(std::string_view name, std::string* error) const {
    const auto fail = [&](std::string message) {
        *error = std::move(message);
        return std::nullopt;
    };
    const std::string wanted(name);
    zip_stat_t stat;
    zip_stat_init(&stat);
    if (zip_stat(archive_.get(), wanted.c_str(), 0, &stat) != 0) {
        return fail("the archive has no " + wanted);
    }
    const std::string named = " in the archive: " + wanted;
    if ((stat.valid & ZIP_STAT_ENCRYPTION_METHOD) && stat.encryption_method != ZIP_EM_NONE) {
        return fail("an encrypted entry" + named);
    }
    if (stat.comp_method != ZIP_CM_STORE && stat.comp_method != ZIP_CM_DEFLATE) {
        return fail("an entry compressed by method " + std::to_string(stat.comp_method) +
                    ", which this reader does not know," + named);
    }
    if (stat.size > kMaxZipEntryBytes) return fail("an entry too large" + named);
    // No entry holds more than the whole archive; a stored one holds its bytes as they are.
    if (stat.comp_size > bytes_) return fail("a truncated entry" + named);
    if (stat.comp_method == ZIP_CM_STORE && stat.comp_size != stat.size) {
        return fail("a damaged entry" + named);
    }

    zip_file_t* file = zip_fopen_index(archive_.get(), stat.index, 0);
    if (file == nullptr) return fail("a damaged entry" + named);
    std::string out(static_cast<std::size_t>(stat.size), '\0');
    std::size_t done = 0;
    zip_int64_t n = 0;
    // The checksum is checked once the last byte is read, so reading goes on to the end.
    while (done < out.size() && (n = zip_fread(file, out.data() + done, out.size() - done)) > 0) {
        done += static_cast<std::size_t>(n);
    }
    char probe = 0;
    if (n >= 0 && done == out.size()) n = zip_fread(file, &probe, 1);
    const int code = n < 0 ? zip_error_code_zip(zip_file_get_error(file)) : ZIP_ER_OK;
    zip_fclose(file);
    if (code == ZIP_ER_CRC) return fail("a damaged entry (wrong checksum)" + named);
    if (code == ZIP_ER_EOF || code == ZIP_ER_READ) return fail("a truncated entry" + named);
    if (code != ZIP_ER_OK || n != 0 || done != out.size()) return fail("a damaged entry" + named);
    return out;
}

ParsedDocument ImportMxl(std::string_view bytes, const std::string& fileName) {
    const auto fail = [&](std::string message) {
        return ParsedDocument{std::nullopt, DocumentFileError{fileName, 0, std::move(message)}};
    };
    std::string error;
    const auto archive = MxlArchive::Open(bytes, &error);
    if (!archive) return fail(error);
    std::string entry;
    if (const auto container = archive->Read(kContainerEntry, &error)) {
        pugi::xml_document xml;
        if (!xml.load_buffer(container->data(), container->size())) {
            return fail(std::string(kContainerEntry) + " in the archive is malformed");
        }
        entry = xml.document_element()
                    .child("rootfiles")
                    .child("rootfile")
                    .attribute("full-path")
                    .value();
        if (entry.empty()) {
            return fail(std::string(kContainerEntry) + " in the archive names no <rootfile>");
        }
    } else {
        for (const std::string& name : archive->Names()) {
            const bool score = name.ends_with(".xml") || name.ends_with(".musicxml");
            if (score && !name.starts_with("META-INF/")) {
                entry = name;
                break;
            }
        }
        if (entry.empty()) return fail("the archive holds no MusicXML score");
    }
    const auto text = archive->Read(entry, &error);
    if (!text) return fail(error);
    return ImportMusicXmlScore(*text, fileName + "/" + entry);
}

}  // namespace simhost
