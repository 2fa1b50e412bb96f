// libFuzzer target: a compressed MusicXML score (.mxl) as a user hands it to notavo-sim, read
// through the reader's public function, then laid out, respaced, drawn and saved
// (reader_session.h). Seeds: the sample and test scores, packed with a container and without
// one; dictionary: the MusicXML words and the archive's own (reader_inputs.cmake).
//
// Mutated as bytes alone, an archive almost never gets past its checksums to the score inside.
// So most mutations unpack the archive, change one entry (its contents or its name) and pack it
// again with sound checksums; the rest change the archive's bytes as they are.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <random>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "simhost/app/musicxml_import.h"
#include "tests/app/zip_builder.h"
#include "tests/fuzz/reader_session.h"
#include "tests/fuzz/zip_entries.h"

extern "C" std::size_t LLVMFuzzerMutate(std::uint8_t* data, std::size_t size, std::size_t maxSize);

namespace {

// Mutates the bytes of `text` in place, within `room` bytes.
void MutateText(std::string& text, std::size_t room) {
    const std::size_t size = text.size();
    text.resize(std::max(room, size));
    text.resize(LLVMFuzzerMutate(reinterpret_cast<std::uint8_t*>(text.data()), size, text.size()));
}

}  // namespace

extern "C" std::size_t LLVMFuzzerCustomMutator(std::uint8_t* data, std::size_t size,
                                               std::size_t maxSize, unsigned int seed) {
    std::minstd_rand random(seed);
    auto entries = quorfuzz::UnpackZip(std::string_view(reinterpret_cast<const char*>(data), size));
    if (random() % 4 == 0 || !entries || entries->empty()) {
        return LLVMFuzzerMutate(data, size, maxSize);
    }
    apptest::ZipEntry& entry = (*entries)[random() % entries->size()];
    if (random() % 8 == 0) {
        MutateText(entry.name, entry.name.size() + 16);
    } else {
        MutateText(entry.bytes, maxSize);
    }
    std::string packed;
    try {
        packed = apptest::ZipBytes(*entries);
    } catch (const std::runtime_error&) {
        return LLVMFuzzerMutate(data, size, maxSize);
    }
    if (packed.size() > maxSize) return LLVMFuzzerMutate(data, size, maxSize);
    std::copy(packed.begin(), packed.end(), data);
    return packed.size();
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    constexpr std::string_view kFile = "fuzz.mxl";
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    // What does not start as an archive is read as plain MusicXML: the other target's to try.
    if (!bytes.starts_with("PK\x03\x04")) return -1;
    quorfuzz::UseParsed(simhost::ImportMusicXml(bytes, std::string(kFile)), kFile, false);
    return 0;
}
