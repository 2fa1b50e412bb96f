// Compressed scores (.mxl): the score is found through the archive's container or as its first
// MusicXML entry, and a damaged archive is refused with what is wrong.
#include "simhost/app/mxl_archive.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "simhost/app/musicxml_import.h"
#include "simhost/document/document_file.h"
#include "tests/app/imported_score.h"
#include "tests/app/musicxml_text.h"
#include "tests/app/zip_builder.h"
#include "tests/support/row_name.h"

namespace {

using apptest::ZipBytes;
using apptest::ZipEntry;

const std::string kScore =
    apptest::Partwise({{apptest::Attributes(2, 4) + apptest::Note("C5", "2", "quarter") +
                        apptest::Note("D5", "6", "half", "<dot/>")}});

const std::string kContainer =
    "<?xml version=\"1.0\"?><container><rootfiles>"
    "<rootfile full-path=\"music/score.xml\" "
    "media-type=\"application/vnd.recordare.musicxml+xml\"/>"
    "</rootfiles></container>";

std::string Text(const simhost::ParsedDocument& parsed) {
    return parsed.document ? simhost::FormatDocumentText(*parsed.document)
                           : parsed.error.Describe();
}

TEST(MxlArchive, ReadsTheScoreTheContainerNamesAsIfItWereUncompressed) {
    const std::string archive = ZipBytes({{"mimetype", "application/vnd.recordare.musicxml", false},
                                          {"META-INF/container.xml", kContainer},
                                          {"other.xml", "<not-this/>"},
                                          {"music/score.xml", kScore}});
    const auto compressed = simhost::ImportMusicXml(archive, "score.mxl");
    ASSERT_TRUE(compressed.document) << compressed.error.Describe();
    EXPECT_EQ(Text(compressed), Text(simhost::ImportMusicXml(kScore, "score.musicxml")));
}

// A piano score compressed reads to the same two braced staves as the file itself.
TEST(MxlArchive, APianoScoreInAnArchiveKeepsItsStavesAndClefs) {
    std::ifstream file(
        std::filesystem::path(__FILE__).parent_path() / "scores" / "piano_crossing.musicxml",
        std::ios::binary);
    std::ostringstream score;
    score << file.rdbuf();
    const std::string archive =
        ZipBytes({{"META-INF/container.xml", kContainer}, {"music/score.xml", score.str(), true}});
    const auto compressed = simhost::ImportMusicXml(archive, "piano.mxl");
    ASSERT_TRUE(compressed.document) << compressed.error.Describe();
    EXPECT_EQ(Text(compressed), Text(simhost::ImportMusicXml(score.str(), "piano.musicxml")));
    EXPECT_EQ(compressed.document->GetScore().Staves().size(), 2u);
    EXPECT_EQ(apptest::StaffClefs(*compressed.document), (std::vector<std::string>{"G2", "F4"}));
}

TEST(MxlArchive, WithoutAContainerReadsTheFirstMusicXmlEntry) {
    for (const bool deflate : {false, true}) {
        const std::string archive =
            ZipBytes({{"readme.txt", "hello", deflate}, {"piece.musicxml", kScore, deflate}});
        const auto parsed = simhost::ImportMusicXml(archive, "score.mxl");
        EXPECT_TRUE(parsed.document) << parsed.error.Describe();
    }
}

TEST(MxlArchive, AnErrorInsideTheArchiveNamesTheEntryAndItsLine) {
    const std::string archive = ZipBytes({{"a/score.xml", "<score-partwise>\n<part>\n"}});
    EXPECT_EQ(simhost::ImportMusicXml(archive, "x.mxl").error.Describe(),
              "x.mxl/a/score.xml:2: malformed XML: Start-end tags mismatch");
}

struct DamageCase {
    const char* name;
    std::string bytes;
    std::string error;
};

void PrintTo(const DamageCase& c, std::ostream* os) { *os << c.name; }

class DamagedArchive : public ::testing::TestWithParam<DamageCase> {};

TEST_P(DamagedArchive, IsRefusedWithWhatIsWrong) {
    const auto parsed = simhost::ImportMusicXml(GetParam().bytes, "x.mxl");
    EXPECT_FALSE(parsed.document);
    EXPECT_EQ(parsed.error.Describe(), GetParam().error);
}

std::string WithByteFlipped(std::string bytes, std::size_t at) {
    bytes[at] = static_cast<char>(bytes[at] ^ 0x20);
    return bytes;
}

std::string WithField(std::string bytes, std::size_t at, std::uint32_t value) {
    for (std::size_t i = 0; i < 4; ++i)
        bytes[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
    return bytes;
}

// In a stored entry the data follows the 30-byte local header and the name.
const std::string kStored = ZipBytes({{"s.xml", kScore, false}});
const std::string kDeflated = ZipBytes({{"s.xml", kScore, true}});

// A field of the one entry's local header and the same field of its directory entry, which
// sits 16 bytes further into its record.
std::string WithEntryField(std::string bytes, std::size_t local, std::uint16_t value) {
    const std::size_t directory = bytes.size() - 22 - 46 - 5;
    for (const std::size_t at : {local, directory + local + 2}) {
        bytes[at] = static_cast<char>(value & 0xFF);
        bytes[at + 1] = static_cast<char>(value >> 8);
    }
    return bytes;
}

std::string WithSize(std::string bytes, std::uint32_t size) {
    bytes = WithField(bytes, 22, size);
    return WithField(bytes, bytes.size() - 22 - 46 - 5 + 24, size);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DamagedArchive,
    ::testing::Values(
        DamageCase{"NoDirectory", "PK\x03\x04" + std::string(40, ' '),
                   "x.mxl: not a zip archive: it has no directory"},
        DamageCase{"WrongChecksum", WithByteFlipped(kStored, 30 + 5 + 40),
                   "x.mxl: a damaged entry (wrong checksum) in the archive: s.xml"},
        DamageCase{"TooShort", "PK\x03\x04", "x.mxl: too short to be a zip archive"},
        // The directory claims more compressed bytes than the archive holds.
        DamageCase{"Truncated", WithField(kStored, kStored.size() - 22 - 46 - 5 + 20, 0x10000),
                   "x.mxl: a truncated entry in the archive: s.xml"},
        // Only the methods a score needs are taken, whatever libzip could decode.
        DamageCase{"Bzip2", WithEntryField(kDeflated, 8, 12),
                   "x.mxl: an entry compressed by method 12, which this reader does not know, in "
                   "the archive: s.xml"},
        DamageCase{"Xz", WithEntryField(kDeflated, 8, 95),
                   "x.mxl: an entry compressed by method 95, which this reader does not know, in "
                   "the archive: s.xml"},
        DamageCase{"Encrypted", WithEntryField(kDeflated, 6, 1),
                   "x.mxl: an encrypted entry in the archive: s.xml"},
        DamageCase{"TooLarge", WithSize(kDeflated, simhost::kMaxZipEntryBytes + 1),
                   "x.mxl: an entry too large in the archive: s.xml"},
        DamageCase{"StoredSizesDisagree", WithSize(kStored, 100),
                   "x.mxl: a damaged entry in the archive: s.xml"},
        DamageCase{"ContainerWithoutRootFile",
                   ZipBytes({{"META-INF/container.xml", "<container/>"}, {"s.xml", kScore}}),
                   "x.mxl: META-INF/container.xml in the archive names no <rootfile>"},
        DamageCase{"ContainerNamesAMissingEntry",
                   ZipBytes({{"META-INF/container.xml", kContainer}}),
                   "x.mxl: the archive has no music/score.xml"},
        DamageCase{"NoScore", ZipBytes({{"readme.txt", "hello"}}),
                   "x.mxl: the archive holds no MusicXML score"}),
    quortest::RowName{});

}  // namespace
