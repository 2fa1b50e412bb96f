#include "simhost/app/musicxml_import.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <exception>
#include <fstream>
#include <pugixml.hpp>
#include <sstream>
#include <tuple>
#include <utility>
#include <vector>

#include "simhost/app/measure_voices.h"
#include "simhost/app/note_values.h"
#include "simhost/app/zip_archive.h"
#include "simhost/document/document_builder.h"

namespace simhost {
namespace {

constexpr std::string_view kZipMagic = "PK\x03\x04";
constexpr std::string_view kContainerEntry = "META-INF/container.xml";
constexpr std::int64_t kMaxDecimalDigits = 15;

struct TypeName {
    std::string_view name;
    std::int32_t value;
};

constexpr std::array<TypeName, 9> kTypeNames = {{
    {"breve", kBreve},
    {"whole", kWhole},
    {"half", kHalf},
    {"quarter", kQuarter},
    {"eighth", kEighth},
    {"16th", kSixteenth},
    {"32nd", kThirtySecond},
    {"64th", kSixtyFourth},
    {"128th", kHundredTwentyEighth},
}};

std::string_view Trimmed(std::string_view text) {
    const auto space = [](char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; };
    while (!text.empty() && space(text.front())) text.remove_prefix(1);
    while (!text.empty() && space(text.back())) text.remove_suffix(1);
    return text;
}

std::string_view TextOf(pugi::xml_node node) { return Trimmed(node.child_value()); }

// A decimal number as MusicXML writes durations and divisions ("480", "0.5"), exactly.
std::optional<Rational> ParseDecimal(std::string_view text) {
    text = Trimmed(text);
    bool negative = false;
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    std::int64_t num = 0;
    std::int64_t den = 1;
    std::int64_t digits = 0;
    bool point = false;
    for (const char c : text) {
        if (c == '.' && !point) {
            point = true;
            continue;
        }
        if (c < '0' || c > '9' || ++digits > kMaxDecimalDigits) return std::nullopt;
        num = num * 10 + (c - '0');
        if (point) den *= 10;
    }
    if (digits == 0) return std::nullopt;
    return Rational(negative ? -num : num, den);
}

std::optional<std::int64_t> ParseInteger(std::string_view text) {
    text = Trimmed(text);
    std::int64_t value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc{} || end != text.data() + text.size() || text.empty()) return std::nullopt;
    return value;
}

std::optional<std::int32_t> ValueOfType(std::string_view name) {
    for (const TypeName& type : kTypeNames) {
        if (type.name == name) return type.value;
    }
    return std::nullopt;
}

// "5/12 of a quarter", "3 quarters": a duration as a reader of an error can check it.
std::string QuarterText(Rational duration) {
    const Rational quarters = duration * Rational(1, kQuarter);
    if (quarters.Den() == 1) {
        return std::to_string(quarters.Num()) + (quarters.Num() == 1 ? " quarter" : " quarters");
    }
    return std::to_string(quarters.Num()) + "/" + std::to_string(quarters.Den()) + " of a quarter";
}

class LineIndex {
public:
    explicit LineIndex(std::string_view text) {
        for (std::size_t i = 0; i < text.size(); ++i) {
            if (text[i] == '\n') newlines_.push_back(i);
        }
    }
    // 1-based; 0 when the offset is unknown.
    std::size_t LineOf(std::ptrdiff_t offset) const {
        if (offset < 0) return 0;
        const auto at = static_cast<std::size_t>(offset);
        return static_cast<std::size_t>(std::lower_bound(newlines_.begin(), newlines_.end(), at) -
                                        newlines_.begin()) +
               1;
    }

private:
    std::vector<std::size_t> newlines_;
};

// The time signature, key and closing barline of one measure, from the first part that
// states them.
struct MeasureInfo {
    std::optional<std::pair<std::int16_t, std::int16_t>> time;  // beats, beat duration
    std::optional<std::int16_t> key;
    std::optional<MeasureFields::Barline> barline;
};

class Importer {
public:
    Importer(std::string_view text, std::string fileName) : text_(text), lines_(text) {
        error_.file = std::move(fileName);
    }

    ParsedDocument Run() {
        pugi::xml_document xml;
        const pugi::xml_parse_result parsed = xml.load_buffer(text_.data(), text_.size());
        if (!parsed) {
            error_.line = lines_.LineOf(parsed.offset);
            error_.message = std::string("malformed XML: ") + parsed.description();
            return Failed();
        }
        const pugi::xml_node root = xml.document_element();
        const std::string_view rootName = root.name();
        if (rootName == "score-timewise") {
            Fail(root, "a timewise score: only partwise MusicXML (<score-partwise>) is read");
            return Failed();
        }
        if (rootName != "score-partwise") {
            Fail(root, "not a MusicXML score: the root element is <" + std::string(rootName) + ">");
            return Failed();
        }
        std::vector<pugi::xml_node> parts;
        for (const pugi::xml_node part : root.children("part")) parts.push_back(part);
        if (parts.empty()) {
            Fail(root, "the score has no <part>");
            return Failed();
        }
        for (std::size_t i = 0; i < parts.size(); ++i) {
            const auto slot = static_cast<std::int16_t>(i + 1);
            score_.AddStaff(Staff{slot, static_cast<std::uint16_t>(slot), slot});
        }
        for (std::size_t i = 0; i < parts.size(); ++i) {
            if (!ReadPart(parts[i], i)) return Failed();
        }
        if (score_.Measures().empty()) {
            context_.clear();
            Fail(root, "the score has no <measure>");
            return Failed();
        }
        return ParsedDocument{BuildDocument(), {}};
    }

private:
    struct MeasureState {
        MeasureVoices voices;
        Rational cursor;
        bool hasNote = false;  // a note that a <chord/> note can join
    };

    ParsedDocument Failed() const { return ParsedDocument{std::nullopt, error_}; }

    bool Fail(pugi::xml_node at, const std::string& message) {
        error_.line = lines_.LineOf(at.offset_debug());
        error_.message = context_ + message;
        return false;
    }

    std::optional<Rational> Duration(pugi::xml_node owner) {
        const std::string element = "<" + std::string(owner.name()) + ">";
        const pugi::xml_node duration = owner.child("duration");
        if (!duration) {
            Fail(owner, element + " has no <duration>");
            return std::nullopt;
        }
        if (!divisions_) {
            Fail(owner, element + " comes before any <divisions>");
            return std::nullopt;
        }
        const auto value = ParseDecimal(TextOf(duration));
        if (!value || *value <= Rational(0)) {
            Fail(duration, "<duration> must be a positive number, not \"" +
                               std::string(TextOf(duration)) + "\"");
            return std::nullopt;
        }
        // 1024 per quarter from <divisions> per quarter.
        return *value * Rational(kQuarter) * Rational(divisions_->Den(), divisions_->Num());
    }

    bool ReadPart(pugi::xml_node part, std::size_t staff) {
        divisions_.reset();
        const std::string id = part.attribute("id").value();
        std::size_t index = 0;
        for (const pugi::xml_node measure : part.children("measure")) {
            ++index;
            context_ = "part \"" + id + "\", measure " + std::to_string(index);
            const std::string number = measure.attribute("number").value();
            if (!number.empty() && number != std::to_string(index)) {
                context_ += " (numbered \"" + number + "\")";
            }
            context_ += ": ";
            while (score_.Measures().size() < index) score_.AddMeasure();
            if (infos_.size() < index) infos_.resize(index);
            if (!ReadMeasure(measure, index - 1, staff)) return false;
        }
        return true;
    }

    bool ReadMeasure(pugi::xml_node measure, std::size_t index, std::size_t staff) {
        MeasureState state;
        for (const pugi::xml_node child : measure.children()) {
            const std::string_view name = child.name();
            bool ok = true;
            if (name == "note") {
                ok = ReadNote(child, state);
            } else if (name == "backup" || name == "forward") {
                ok = Move(child, state, name == "forward");
            } else if (name == "attributes") {
                ok = ReadAttributes(child, infos_[index]);
            } else if (name == "barline") {
                ReadBarline(child, infos_[index]);
            }
            if (!ok) return false;
        }
        score_.Measures()[index].staves[staff] = state.voices.Finish();
        return true;
    }

    bool Move(pugi::xml_node move, MeasureState& state, bool forward) {
        const auto duration = Duration(move);
        if (!duration) return false;
        if (forward) {
            state.cursor += *duration;
            const std::string_view voice = TextOf(move.child("voice"));
            if (!voice.empty()) state.voices.FillTo(std::string(voice), state.cursor);
        } else {
            if (*duration > state.cursor) {
                return Fail(move, "<backup> goes back " + QuarterText(*duration) +
                                      ", before the start of the measure");
            }
            state.cursor = state.cursor - *duration;
        }
        state.hasNote = false;
        return true;
    }

    bool ReadPitch(pugi::xml_node note, Pitch* pitch) {
        pugi::xml_node source = note.child("pitch");
        const char* stepName = "step";
        const char* octaveName = "octave";
        if (!source) {
            source = note.child("unpitched");
            stepName = "display-step";
            octaveName = "display-octave";
        }
        if (!source) return Fail(note, "<note> has neither <pitch>, <unpitched> nor <rest>");
        constexpr std::string_view kSteps = "CDEFGAB";
        const std::string_view step = TextOf(source.child(stepName));
        const std::size_t stepIndex = step.size() == 1 ? kSteps.find(step[0]) : kSteps.npos;
        if (stepIndex == kSteps.npos) {
            return Fail(source, "<" + std::string(stepName) +
                                    "> must be one of C D E F G A B, not \"" + std::string(step) +
                                    "\"");
        }
        const auto octave = ParseInteger(TextOf(source.child(octaveName)));
        if (!octave || *octave < 0 || *octave > 9) {
            return Fail(source, "<" + std::string(octaveName) + "> must be a number from 0 to 9");
        }
        std::int64_t alter = 0;
        if (const pugi::xml_node alterNode = source.child("alter")) {
            // Microtones are rounded to the nearest semitone: the score holds whole ones.
            const auto exact = ParseDecimal(TextOf(alterNode));
            if (!exact) return Fail(alterNode, "<alter> must be a number");
            alter = std::clamp<std::int64_t>(
                static_cast<std::int64_t>(std::lround(exact->ToDouble())), -3, 3);
        }
        *pitch = Pitch{static_cast<std::int8_t>(stepIndex), static_cast<std::int8_t>(alter),
                       static_cast<std::int8_t>(*octave)};
        return true;
    }

    bool ReadModification(pugi::xml_node note, PlacedNote& placed) {
        const pugi::xml_node modification = note.child("time-modification");
        if (!modification) return true;
        const auto actual = ParseInteger(TextOf(modification.child("actual-notes")));
        const auto normal = ParseInteger(TextOf(modification.child("normal-notes")));
        constexpr std::int64_t kMaxNotes = 1 << 16;
        if (!actual || !normal || *actual < 1 || *normal < 1 || *actual > kMaxNotes ||
            *normal > kMaxNotes) {
            return Fail(modification,
                        "<time-modification> needs <actual-notes> and <normal-notes>, counts "
                        "from 1 to " +
                            std::to_string(kMaxNotes));
        }
        placed.modification =
            Tuplet{static_cast<std::int32_t>(*actual), static_cast<std::int32_t>(*normal)};
        if (const auto normalType = ValueOfType(TextOf(modification.child("normal-type")))) {
            const auto dots =
                static_cast<std::int32_t>(std::distance(modification.children("normal-dot").begin(),
                                                        modification.children("normal-dot").end()));
            placed.normalValue = DottedDuration(*normalType, dots);
        }
        return true;
    }

    // The ratio a <tuplet> states with <tuplet-actual> and <tuplet-normal>; nothing when it
    // states none.
    static std::optional<Tuplet> StatedRatio(pugi::xml_node tuplet) {
        const pugi::xml_node actual = tuplet.child("tuplet-actual");
        const pugi::xml_node normal = tuplet.child("tuplet-normal");
        const auto actualCount = ParseInteger(TextOf(actual.child("tuplet-number")));
        const auto normalCount = ParseInteger(TextOf(normal.child("tuplet-number")));
        constexpr std::int64_t kMaxCount = 1 << 16;
        if (!actualCount || !normalCount || *actualCount < 1 || *normalCount < 1 ||
            *actualCount > kMaxCount || *normalCount > kMaxCount) {
            return std::nullopt;
        }
        // Three quarters in the time of one half: the counts are weighed by their values.
        const auto actualType = ValueOfType(TextOf(actual.child("tuplet-type")));
        const auto normalType = ValueOfType(TextOf(normal.child("tuplet-type")));
        if (actualType && normalType) {
            const Rational scale(*normalCount * *normalType, *actualCount * *actualType);
            return Tuplet{static_cast<std::int32_t>(scale.Den()),
                          static_cast<std::int32_t>(scale.Num())};
        }
        return Tuplet{static_cast<std::int32_t>(*actualCount),
                      static_cast<std::int32_t>(*normalCount)};
    }

    static void ReadTupletMarks(pugi::xml_node note, PlacedNote& placed) {
        for (const pugi::xml_node notations : note.children("notations")) {
            for (const pugi::xml_node tuplet : notations.children("tuplet")) {
                const std::string_view type = tuplet.attribute("type").value();
                const std::int32_t number = tuplet.attribute("number").as_int(1);
                if (type == "start") {
                    placed.starts.push_back(TupletMark{number, StatedRatio(tuplet)});
                } else if (type == "stop") {
                    placed.stops.push_back(number);
                }
            }
        }
    }

    bool ReadNote(pugi::xml_node note, MeasureState& state) {
        if (note.child("grace")) return true;
        const bool chord = static_cast<bool>(note.child("chord"));
        if (note.child("cue")) {
            // Left out; the time it takes stays a gap in its voice.
            if (chord) return true;
            const auto duration = Duration(note);
            if (!duration) return false;
            state.cursor += *duration;
            state.hasNote = false;
            return true;
        }
        const bool rest = static_cast<bool>(note.child("rest"));
        if (chord && state.hasNote) {
            if (rest) return true;
            Pitch pitch;
            if (!ReadPitch(note, &pitch)) return false;
            state.voices.AddChordPitch(pitch);
            return true;
        }
        const auto sounding = Duration(note);
        if (!sounding) return false;

        PlacedNote placed;
        const std::string_view voice = TextOf(note.child("voice"));
        placed.voice = voice.empty() ? "1" : std::string(voice);
        placed.onset = state.cursor;
        if (!rest) {
            Pitch pitch;
            if (!ReadPitch(note, &pitch)) return false;
            placed.event.pitches.push_back(pitch);
        }
        if (!ReadModification(note, placed)) return false;
        ReadTupletMarks(note, placed);
        if (!ChooseValue(note, *sounding, placed)) return false;

        if (const auto error = state.voices.AddNote(placed)) return Fail(note, *error);
        state.cursor += *sounding;
        state.hasNote = true;
        return true;
    }

    // The value and dots the note is written with when they last its duration; else the value
    // its duration makes, since the duration is what the file's time follows.
    bool ChooseValue(pugi::xml_node note, Rational sounding, PlacedNote& placed) {
        const Tuplet& m = placed.modification;
        const Rational plain = sounding * Rational(m.actual, m.normal);
        const auto written = ValueOfType(TextOf(note.child("type")));
        const auto dots = static_cast<std::int32_t>(
            std::distance(note.children("dot").begin(), note.children("dot").end()));
        if (written && DottedDuration(*written, dots) == plain) {
            placed.event.value = *written;
            placed.event.dots = dots;
            return true;
        }
        if (note.child("rest").attribute("measure").as_bool()) {
            const auto rest = MeasureRest(sounding);
            if (!rest) return Fail(note, "a measure rest of " + QuarterText(sounding));
            placed.event.value = rest->value;
            placed.event.dots = rest->dots;
            placed.modification =
                rest->tupletStarts.empty() ? Tuplet{1, 1} : rest->tupletStarts.front();
            placed.starts.clear();
            placed.stops.clear();
            return true;
        }
        if (const auto fit = NoteValueOf(plain)) {
            placed.event.value = fit->value;
            placed.event.dots = fit->dots;
            return true;
        }
        std::string message =
            "<note> lasts " + QuarterText(sounding) + ", which no note value and dots make";
        if (m.actual != 1 || m.normal != 1) {
            message += " in a " + std::to_string(m.actual) + ":" + std::to_string(m.normal) +
                       " <time-modification>";
        }
        return Fail(note, message);
    }

    bool ReadAttributes(pugi::xml_node attributes, MeasureInfo& info) {
        if (const pugi::xml_node divisions = attributes.child("divisions")) {
            const auto value = ParseDecimal(TextOf(divisions));
            if (!value || *value <= Rational(0)) {
                return Fail(divisions, "<divisions> must be a positive number, not \"" +
                                           std::string(TextOf(divisions)) + "\"");
            }
            divisions_ = *value;
        }
        if (const pugi::xml_node time = attributes.child("time");
            time && !time.child("senza-misura") && !info.time) {
            // "3+2" beats are added up.
            std::int64_t beats = 0;
            std::string_view text = TextOf(time.child("beats"));
            bool valid = !text.empty();
            while (valid && !text.empty()) {
                const std::size_t plus = text.find('+');
                const auto part = ParseInteger(text.substr(0, plus));
                valid = part && *part > 0;
                if (valid) beats += *part;
                text = plus == text.npos ? std::string_view() : text.substr(plus + 1);
            }
            const auto beatType = ParseInteger(TextOf(time.child("beat-type")));
            if (!valid || beats > 1000) return Fail(time, "<beats> must be a positive count");
            if (!beatType || *beatType < 1 || *beatType > 64 || kWhole % *beatType != 0 ||
                (*beatType & (*beatType - 1)) != 0) {
                return Fail(time, "<beat-type> must be 1, 2, 4, 8, 16, 32 or 64");
            }
            info.time = std::pair{static_cast<std::int16_t>(beats),
                                  static_cast<std::int16_t>(kWhole / *beatType)};
        }
        if (const pugi::xml_node key = attributes.child("key"); key && key.child("fifths")) {
            const auto fifths = ParseInteger(TextOf(key.child("fifths")));
            if (!fifths || *fifths < -7 || *fifths > 7) {
                return Fail(key, "<fifths> must be a number from -7 to 7");
            }
            if (!info.key) info.key = static_cast<std::int16_t>(*fifths);
        }
        return true;
    }

    static void ReadBarline(pugi::xml_node barline, MeasureInfo& info) {
        const std::string_view location = barline.attribute("location").value();
        if (!location.empty() && location != "right") return;
        if (info.barline) return;
        const std::string_view style = TextOf(barline.child("bar-style"));
        if (std::string_view(barline.child("repeat").attribute("direction").value()) ==
            "backward") {
            info.barline = MeasureFields::Barline::RepeatEnd;
        } else if (style == "light-heavy") {
            info.barline = MeasureFields::Barline::Final;
        } else if (style == "light-light" || style == "heavy-heavy") {
            info.barline = MeasureFields::Barline::Double;
        }
    }

    Document BuildDocument() const {
        // The preference records and allotments as every built document has them.
        RecordStore records = DocumentBuilder()
                                  .withAllotments(std::vector<AllotmentRow>(
                                      kImportedAllotments.begin(), kImportedAllotments.end()))
                                  .Build()
                                  .Records();
        MeasureFields fields;
        fields.width = kImportedMeasureWidth;
        fields.leadingSpace = kImportedLeadingSpace;
        fields.trailingSpace = kImportedTrailingSpace;
        for (std::size_t m = 0; m < score_.Measures().size(); ++m) {
            const MeasureInfo& info = infos_[m];
            if (info.time) std::tie(fields.beats, fields.beatDuration) = *info.time;
            if (info.key) fields.key = *info.key;
            fields.barline = info.barline.value_or(MeasureFields::Barline::Single);
            records.Put(RecordId{kTagMeasureRecord, static_cast<std::int16_t>(m + 1), 0},
                        StoredRecord{{}, fields.ToRecord()});
        }
        const Staff& top = score_.Staves().front();
        const Staff& bottom = score_.Staves().back();
        const NXRegionRecord selection{top.key,
                                       static_cast<std::uint16_t>(top.slot),
                                       1,
                                       0,
                                       bottom.key,
                                       static_cast<std::uint16_t>(bottom.slot),
                                       static_cast<std::int16_t>(score_.Measures().size()),
                                       static_cast<std::uint32_t>(fields.Length())};
        return Document(score_, std::move(records), selection);
    }

    std::string_view text_;
    LineIndex lines_;
    DocumentFileError error_;
    std::string context_;
    std::optional<Rational> divisions_;
    Score score_;
    std::vector<MeasureInfo> infos_;
};

// The score inside a compressed file: the first root file its container names, else the first
// MusicXML entry outside META-INF.
ParsedDocument ImportArchive(std::string_view bytes, const std::string& fileName) {
    const auto fail = [&](std::string message) {
        return ParsedDocument{std::nullopt, DocumentFileError{fileName, 0, std::move(message)}};
    };
    std::string error;
    const auto archive = ZipArchive::Open(bytes, &error);
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
    return Importer(*text, fileName + "/" + entry).Run();
}

}  // namespace

ParsedDocument ImportMusicXml(std::string_view bytes, const std::string& fileName) {
    try {
        if (bytes.starts_with(kZipMagic)) return ImportArchive(bytes, fileName);
        return Importer(bytes, fileName).Run();
    } catch (const std::exception& e) {
        return ParsedDocument{std::nullopt,
                              DocumentFileError{fileName, 0, std::string("not read: ") + e.what()}};
    }
}

ParsedDocument ImportMusicXmlFile(const std::string& path) {
    try {
        std::ifstream file(path, std::ios::binary);
        if (!file) {
            return ParsedDocument{std::nullopt, DocumentFileError{path, 0, "cannot be read"}};
        }
        std::ostringstream bytes;
        bytes << file.rdbuf();
        return ImportMusicXml(bytes.str(), path);
    } catch (const std::exception& e) {
        return ParsedDocument{std::nullopt,
                              DocumentFileError{path, 0, std::string("not read: ") + e.what()}};
    }
}

}  // namespace simhost
