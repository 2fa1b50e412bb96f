#include "simhost/document/document_file.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <utility>
#include <vector>

#include "simhost/document/score_limits.h"
#include "simhost/document/score_notation.h"

namespace simhost {
namespace {

// Version 2 added the notes' marks. A document without any is written as version 1, which
// every build reads, and means the same in both.
constexpr std::string_view kHeader = "notavo-sim document ";
constexpr int kPlainVersion = 1;
constexpr int kMarksVersion = 2;

bool HasMarks(const Score& score) {
    for (const Measure& measure : score.Measures()) {
        for (const auto& staff : measure.staves) {
            for (const Voice& voice : staff) {
                for (const Event& event : voice.events) {
                    if (!event.marks.Empty()) return true;
                }
            }
        }
    }
    return false;
}
constexpr std::string_view kHexDigits = "0123456789abcdef";

std::string TagText(std::uint32_t tag) {
    std::string chars;
    for (int shift = 24; shift >= 0; shift -= 8) {
        chars.push_back(static_cast<char>((tag >> shift) & 0xFF));
    }
    const bool printable = std::all_of(chars.begin(), chars.end(),
                                       [](char c) { return c > ' ' && c < 0x7F && c != '#'; });
    if (printable) return chars;
    char hex[11];
    std::snprintf(hex, sizeof hex, "0x%08X", tag);
    return hex;
}

std::string HexText(const std::uint8_t* bytes, std::size_t count) {
    if (count == 0) return "-";
    std::string text;
    text.reserve(2 * count);
    for (std::size_t i = 0; i < count; ++i) {
        text.push_back(kHexDigits[bytes[i] >> 4]);
        text.push_back(kHexDigits[bytes[i] & 0xF]);
    }
    return text;
}

std::vector<std::string_view> Words(std::string_view line) {
    std::vector<std::string_view> words;
    std::size_t pos = 0;
    while (pos < line.size()) {
        while (pos < line.size() && (line[pos] == ' ' || line[pos] == '\t')) ++pos;
        const std::size_t begin = pos;
        while (pos < line.size() && line[pos] != ' ' && line[pos] != '\t') ++pos;
        if (pos > begin) words.push_back(line.substr(begin, pos - begin));
    }
    return words;
}

// Reads the lines one by one into a new score and record store; the first error stops it.
class Reader {
public:
    explicit Reader(std::string fileName) { error_.file = std::move(fileName); }

    ParsedDocument Read(std::string_view text) {
        if (text.empty()) {
            lineNumber_ = 1;
            Fail("the file is empty");
            return ParsedDocument{std::nullopt, error_};
        }
        std::size_t begin = 0;
        bool sawHeader = false;
        while (begin <= text.size() && !failed_) {
            const std::size_t end = std::min(text.find('\n', begin), text.size());
            std::string_view line = text.substr(begin, end - begin);
            if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
            ++lineNumber_;
            begin = end + 1;
            if (!sawHeader) {
                Header(line);
                sawHeader = true;
                continue;
            }
            const auto words = Words(line);
            if (words.empty() || words.front().starts_with('#')) continue;
            Line(words, line);
        }
        if (failed_) return ParsedDocument{std::nullopt, error_};
        return ParsedDocument{Document(std::move(score_), std::move(records_), selection_, number_),
                              {}};
    }

private:
    void Fail(std::string message) {
        if (failed_) return;
        failed_ = true;
        error_.line = lineNumber_;
        error_.message = std::move(message);
    }

    void Header(std::string_view line) {
        const std::string plain = std::string(kHeader) + std::to_string(kPlainVersion);
        const std::string marked = std::string(kHeader) + std::to_string(kMarksVersion);
        if (line == marked) {
            version_ = kMarksVersion;
        } else if (line != plain) {
            Fail("not a document file: the first line must be \"" + plain + "\" or \"" + marked +
                 "\"");
        }
    }

    template <typename Int>
    std::optional<Int> Number(std::string_view word, std::string_view what, std::int64_t min,
                              std::int64_t max) {
        std::int64_t value = 0;
        const auto [end, ec] = std::from_chars(word.data(), word.data() + word.size(), value);
        if (ec != std::errc{} || end != word.data() + word.size() || value < min || value > max) {
            Fail(std::string(what) + " must be a number from " + std::to_string(min) + " to " +
                 std::to_string(max) + ", not \"" + std::string(word) + "\"");
            return std::nullopt;
        }
        return static_cast<Int>(value);
    }

    bool Count(const std::vector<std::string_view>& words, std::size_t count,
               std::string_view usage) {
        if (words.size() == count) return true;
        // Built by appending: GCC 12 warns falsely (-Wrestrict) on "literal" + string&& here.
        std::string message = "\"";
        message.append(words.front()).append("\" takes ").append(std::to_string(count - 1));
        message.append(" values: ").append(usage);
        Fail(message);
        return false;
    }

    void Line(const std::vector<std::string_view>& words, std::string_view line) {
        const std::string_view keyword = words.front();
        if (keyword == "number") {
            NumberLine(words);
        } else if (keyword == "staff") {
            StaffLine(words);
        } else if (keyword == "brace") {
            BraceLine(words);
        } else if (keyword == "clef") {
            ClefLine(words);
        } else if (keyword == "selection") {
            SelectionLine(words);
        } else if (keyword == "measure") {
            MeasureLine(words);
        } else if (keyword == "voice") {
            VoiceLine(words, line);
        } else if (keyword == "record") {
            RecordLine(words);
        } else {
            Fail("unknown item \"" + std::string(keyword) + "\"");
        }
    }

    void NumberLine(const std::vector<std::string_view>& words) {
        if (!Count(words, 2, "number DOCUMENT")) return;
        if (auto number = Number<std::int16_t>(words[1], "the document number", 1, 32767)) {
            number_ = *number;
        }
    }

    std::optional<Clef> ClefWord(std::string_view word) {
        const auto clef = ParseClef(word);
        if (!clef) {
            Fail("a clef is written like G2, F4, C3, G2-8, percussion or TAB, not \"" +
                 std::string(word) + "\"");
        }
        return clef;
    }

    void StaffLine(const std::vector<std::string_view>& words) {
        if (words.size() != 5 && !Count(words, 4, "staff SLOT KEY INSTRUMENT [CLEF]")) return;
        if (!score_.Measures().empty()) return Fail("a staff after the first measure");
        const auto slot = Number<std::int16_t>(words[1], "a staff slot", 1, 32767);
        const auto key = Number<std::uint16_t>(words[2], "a staff key", 0, 65535);
        const auto instrument = Number<std::int16_t>(words[3], "an instrument", -32768, 32767);
        if (!slot || !key || !instrument) return;
        if (score_.StaffInSlot(*slot)) {
            return Fail("a second staff in slot " + std::to_string(*slot));
        }
        if (auto error = CheckStaves(score_.Staves().size() + 1)) return Fail(*error);
        Clef clef = kTrebleClef;
        if (words.size() == 5) {
            const auto stated = ClefWord(words[4]);
            if (!stated) return;
            clef = *stated;
        }
        score_.AddStaff(Staff{*slot, *key, *instrument, clef});
    }

    void BraceLine(const std::vector<std::string_view>& words) {
        if (!Count(words, 3, "brace FIRST LAST")) return;
        const auto first = Number<std::int16_t>(words[1], "a staff slot", 1, 32767);
        const auto last = Number<std::int16_t>(words[2], "a staff slot", 1, 32767);
        if (!first || !last) return;
        if (*first >= *last) return Fail("a brace joins at least two staves, from the upper one");
        for (std::int16_t slot = *first; slot <= *last; ++slot) {
            if (!score_.StaffInSlot(slot)) return Fail("no staff in slot " + std::to_string(slot));
            if (score_.GroupOf(slot)) {
                return Fail("the staff in slot " + std::to_string(slot) + " has a brace already");
            }
        }
        score_.Groups().push_back(StaffGroup{*first, *last});
    }

    // "2048", or "1024/3" for a point inside a tuplet.
    std::optional<Rational> Time(std::string_view word) {
        const std::size_t slash = word.find('/');
        const auto num =
            Number<std::int64_t>(word.substr(0, slash), "a time in 1024ths", 0, kMaxMeasureLength);
        if (!num) return std::nullopt;
        if (slash == std::string_view::npos) return Rational(*num);
        const auto den =
            Number<std::int64_t>(word.substr(slash + 1), "a time's divisor", 1, kMaxTimeDivisor);
        if (!den) return std::nullopt;
        return Rational(*num, *den);
    }

    void ClefLine(const std::vector<std::string_view>& words) {
        if (!Count(words, 4, "clef SLOT AT CLEF")) return;
        if (score_.Measures().empty()) return Fail("a clef change before the first measure");
        const auto slot = Number<std::int16_t>(words[1], "a staff slot", 1, 32767);
        if (!slot) return;
        const auto staff = score_.StaffIndexOfSlot(*slot);
        if (!staff) return Fail("no staff in slot " + std::to_string(*slot));
        const auto at = Time(words[2]);
        if (!at) return;
        const auto clef = ClefWord(words[3]);
        if (!clef) return;
        score_.Measures().back().clefChanges.push_back(ClefChange{*staff, *at, *clef});
    }

    void SelectionLine(const std::vector<std::string_view>& words) {
        if (!Count(words, 9, "selection with 8 numbers")) return;
        const auto startKey = Number<std::uint16_t>(words[1], "the start slot key", 0, 65535);
        const auto startSlot = Number<std::uint16_t>(words[2], "the start slot", 0, 65535);
        const auto startMeasure = Number<std::int16_t>(words[3], "the start measure", 0, 32767);
        const auto startPos = Number<std::uint32_t>(words[4], "the start position", 0, 0xFFFFFFFF);
        const auto endKey = Number<std::uint16_t>(words[5], "the end slot key", 0, 65535);
        const auto endSlot = Number<std::uint16_t>(words[6], "the end slot", 0, 65535);
        const auto endMeasure = Number<std::int16_t>(words[7], "the end measure", 0, 32767);
        const auto endPos = Number<std::uint32_t>(words[8], "the end position", 0, 0xFFFFFFFF);
        if (failed_) return;
        selection_ = NXRegionRecord{*startKey, *startSlot, *startMeasure, *startPos,
                                    *endKey,   *endSlot,   *endMeasure,   *endPos};
    }

    void MeasureLine(const std::vector<std::string_view>& words) {
        if (!Count(words, 2, "measure NUMBER")) return;
        const auto expected = static_cast<std::int64_t>(score_.Measures().size()) + 1;
        const auto number = Number<std::int32_t>(words[1], "a measure number", 1, kMaxMeasures);
        if (!number) return;
        if (*number != expected) {
            return Fail("measure " + std::to_string(*number) + " where measure " +
                        std::to_string(expected) + " comes next");
        }
        score_.AddMeasure();
        measureEvents_ = 0;
    }

    void VoiceLine(const std::vector<std::string_view>& words, std::string_view line) {
        if (words.size() < 3) return Fail("\"voice\" takes a staff slot, a voice number, notes");
        if (score_.Measures().empty()) return Fail("a voice before the first measure");
        const auto slot = Number<std::int16_t>(words[1], "a staff slot", 1, 32767);
        const auto number = Number<std::int32_t>(words[2], "a voice number", 1, kMaxVoicesPerStaff);
        if (!slot || !number) return;
        const auto staff = score_.StaffIndexOfSlot(*slot);
        if (!staff) return Fail("no staff in slot " + std::to_string(*slot));
        auto& voices = score_.Measures().back().staves[*staff];
        if (static_cast<std::size_t>(*number) != voices.size() + 1) {
            return Fail("voice " + std::to_string(*number) + " where voice " +
                        std::to_string(voices.size() + 1) + " comes next");
        }
        // The notes are the rest of the line after the third word.
        const std::size_t notesAt =
            static_cast<std::size_t>(words[2].data() - line.data()) + words[2].size();
        NotationError notation;
        auto voice = ParseVoice(line.substr(notesAt), &notation);
        if (!voice) {
            return Fail("column " + std::to_string(notesAt + notation.column) + ": " +
                        notation.message);
        }
        if (version_ < kMarksVersion) {
            for (const Event& event : voice->events) {
                if (!event.marks.Empty()) {
                    return Fail("beams, ties, slurs, stems and tuplet looks need \"" +
                                std::string(kHeader) + std::to_string(kMarksVersion) + "\"");
                }
            }
        }
        measureEvents_ += voice->events.size();
        if (auto error = CheckMeasureSize(voices.size() + 1, measureEvents_)) return Fail(*error);
        if (auto error = CheckVoice(*voice)) return Fail(*error);
        voices.push_back(std::move(*voice));
    }

    std::optional<std::uint32_t> Tag(std::string_view word) {
        if (word.size() == 4) return PackTag(word);
        std::uint32_t tag = 0;
        if (word.size() == 10 && word.starts_with("0x")) {
            const auto [end, ec] = std::from_chars(word.data() + 2, word.data() + 10, tag, 16);
            if (ec == std::errc{} && end == word.data() + 10) return tag;
        }
        Fail("a tag is four characters or 0x and 8 hex digits, not \"" + std::string(word) + "\"");
        return std::nullopt;
    }

    std::optional<std::vector<std::uint8_t>> Hex(std::string_view word, std::string_view what) {
        std::vector<std::uint8_t> bytes;
        if (word == "-") return bytes;
        if (word.size() % 2 != 0) {
            Fail(std::string(what) + " have an odd number of hex digits");
            return std::nullopt;
        }
        for (std::size_t i = 0; i < word.size(); i += 2) {
            const auto high = kHexDigits.find(static_cast<char>(std::tolower(word[i])));
            const auto low = kHexDigits.find(static_cast<char>(std::tolower(word[i + 1])));
            if (high == std::string_view::npos || low == std::string_view::npos) {
                Fail(std::string(what) + " hold \"" + std::string(word.substr(i, 2)) +
                     "\", which is not hex");
                return std::nullopt;
            }
            bytes.push_back(static_cast<std::uint8_t>(high << 4 | low));
        }
        return bytes;
    }

    void RecordLine(const std::vector<std::string_view>& words) {
        if (!Count(words, 6, "record TAG ITEM INCIDENCE RESERVED DATA")) return;
        const auto tag = Tag(words[1]);
        if (!tag) return;
        const auto item = Number<std::int16_t>(words[2], "an item number", -32768, 32767);
        const auto incidence = Number<std::int16_t>(words[3], "an incidence", -32768, 32767);
        if (!item || !incidence) return;
        const auto reserved = Hex(words[4], "the reserved bytes");
        if (!reserved) return;
        if (reserved->size() != 4) return Fail("the reserved bytes are 4 bytes (8 hex digits)");
        auto data = Hex(words[5], "the data bytes");
        if (!data) return;
        if (data->size() > static_cast<std::size_t>(kMaxRecordBytes)) {
            return Fail("a record of more than " + std::to_string(kMaxRecordBytes) + " bytes");
        }
        const RecordId id{*tag, *item, *incidence};
        if (records_.Contains(id)) return Fail("a second record with the same tag and key");
        StoredRecord record;
        std::copy(reserved->begin(), reserved->end(), record.reserved.begin());
        record.bytes = std::move(*data);
        records_.Put(id, std::move(record));
    }

    DocumentFileError error_;
    bool failed_ = false;
    std::size_t lineNumber_ = 0;
    Score score_;
    RecordStore records_;
    NXRegionRecord selection_{};
    std::int16_t number_ = 1;
    std::size_t measureEvents_ = 0;  // of the last measure
    int version_ = kPlainVersion;
};

}  // namespace

std::string DocumentFileError::Describe() const {
    if (line == 0) return file + ": " + message;
    return file + ":" + std::to_string(line) + ": " + message;
}

std::string FormatDocumentText(const Document& document) {
    std::ostringstream out;
    const Score& score = document.GetScore();
    out << kHeader << (HasMarks(score) ? kMarksVersion : kPlainVersion) << '\n';
    out << "number " << document.Number() << '\n';
    for (const Staff& staff : score.Staves()) {
        out << "staff " << staff.slot << ' ' << staff.key << ' ' << staff.instrument << ' '
            << ClefText(staff.clef) << '\n';
    }
    for (const StaffGroup& group : score.Groups()) {
        out << "brace " << group.firstSlot << ' ' << group.lastSlot << '\n';
    }
    const NXRegionRecord& s = document.Selection();
    out << "selection " << s.startSlotKey << ' ' << s.startSlot << ' ' << s.startMeasure << ' '
        << s.startPosition << ' ' << s.endSlotKey << ' ' << s.endSlot << ' ' << s.endMeasure << ' '
        << s.endPosition << '\n';
    for (std::size_t m = 0; m < score.Measures().size(); ++m) {
        out << "measure " << m + 1 << '\n';
        const Measure& measure = score.Measures()[m];
        for (std::size_t staff = 0; staff < measure.staves.size(); ++staff) {
            for (std::size_t v = 0; v < measure.staves[staff].size(); ++v) {
                out << "voice " << score.Staves()[staff].slot << ' ' << v + 1;
                const std::string notes = FormatVoice(measure.staves[staff][v]);
                if (!notes.empty()) out << ' ' << notes;
                out << '\n';
            }
        }
        for (const ClefChange& change : measure.clefChanges) {
            out << "clef " << score.Staves()[change.staff].slot << ' ' << change.at.Num();
            if (change.at.Den() != 1) out << '/' << change.at.Den();
            out << ' ' << ClefText(change.clef) << '\n';
        }
    }
    for (const auto& [id, record] : document.Records().All()) {
        out << "record " << TagText(id.tag) << ' ' << id.item << ' ' << id.incidence << ' '
            << HexText(record.reserved.data(), record.reserved.size()) << ' '
            << HexText(record.bytes.data(), record.bytes.size()) << '\n';
    }
    return out.str();
}

ParsedDocument ParseDocumentText(std::string_view text, const std::string& fileName) {
    return Reader(fileName).Read(text);
}

std::optional<DocumentFileError> WriteDocumentFile(const Document& document,
                                                   const std::string& path) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    if (file) file << FormatDocumentText(document);
    if (file.flush()) return std::nullopt;
    return DocumentFileError{path, 0, "cannot be written"};
}

ParsedDocument ReadDocumentFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) return ParsedDocument{std::nullopt, DocumentFileError{path, 0, "cannot be read"}};
    std::ostringstream text;
    text << file.rdbuf();
    return ParseDocumentText(text.str(), path);
}

}  // namespace simhost
