// libFuzzer target: a MusicXML score (.musicxml, .xml) as a user hands it to notavo-sim, read,
// then laid out, respaced, drawn and saved (reader_session.h). Seeds: the sample scores and the
// test scores; dictionary: the words the reader looks for (reader_inputs.cmake).
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "simhost/app/musicxml_import.h"
#include "tests/fuzz/reader_session.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    constexpr std::string_view kFile = "fuzz.musicxml";
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    // A file that starts as an archive is read as one: that is the archive target's to try.
    if (bytes.starts_with("PK")) return -1;
    quorfuzz::UseParsed(simhost::ImportMusicXml(bytes, std::string(kFile)), kFile, true);
    return 0;
}
