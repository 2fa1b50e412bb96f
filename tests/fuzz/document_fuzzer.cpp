// libFuzzer target: a document file (.ntv) as a user hands it to notavo-sim, read, then laid
// out (unless it keeps a layout of its own), respaced, drawn and saved again
// (reader_session.h). Seeds: the sample documents; dictionary: generated from the format's
// words by reader_inputs.cmake.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "simhost/document/document_file.h"
#include "tests/fuzz/reader_session.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    constexpr std::string_view kFile = "fuzz.ntv";
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    quorfuzz::UseParsed(simhost::ParseDocumentText(text, std::string(kFile)), kFile, true);
    return 0;
}
