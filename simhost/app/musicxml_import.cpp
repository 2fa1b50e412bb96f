// Reading a MusicXML score, in three phases:
//   1. The XML is parsed whole (pugixml) and its root checked: a partwise score with parts.
//   2. The parts' staves are counted and laid out as the document's staves, one after another,
//      with a brace for each part of several (Run).
//   3. Each part is read measure by measure (ReadPart, ReadMeasure): its attributes (divisions,
//      clefs, keys, times), then its notes, rests, <backup> and <forward> in file order, each on
//      its staff and voice at the part's time cursor. A measure is checked against the caps as
//      it grows (WithinCaps), so that what a file costs follows from its events.
// Then the document is built from what was read (BuildDocument): measure records, voices,
// allotments and preferences. A compressed file (.mxl) is opened beside its archive reader
// (mxl_archive.cpp) and its score read here.
#include "simhost/app/musicxml_import.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <exception>
#include <fstream>
#include <pugixml.hpp>
#include <sstream>
#include <tuple>
#include <utility>
#include <vector>

#include "simhost/app/measure_voices.h"
#include "simhost/app/musicxml_clef.h"
#include "simhost/app/musicxml_marks.h"
#include "simhost/app/mxl_archive.h"
#include "simhost/app/note_values.h"
#include "simhost/app/xml_values.h"
#include "simhost/document/document_builder.h"
#include "simhost/document/score_limits.h"
#include "simhost/document/score_notation.h"
#include "simhost/document/signature_room.h"

namespace simhost {
namespace {

constexpr std::string_view kZipMagic = "PK\x03\x04";
constexpr std::int64_t kMaxStavesOfPart = 16;
constexpr std::int64_t kStaffLines = 5;

std::string Element(pugi::xml_node node) { return "<" + std::string(node.name()) + ">"; }

// The time signature, key and closing barline of one measure, from the first part that
// states them, and whether any part calls it implicit.
struct MeasureInfo {
    std::optional<std::pair<std::int16_t, std::int16_t>> time;  // beats, beat duration
    std::optional<std::int16_t> key;
    std::optional<MeasureFields::Barline> barline;
    bool uncounted = false;
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
        std::vector<PartStaves> layout;
        for (std::size_t i = 0; i < parts.size(); ++i) {
            const auto count = StaffCount(parts[i]);
            if (!count) return Failed();
            if (const auto error = CheckStaves(score_.Staves().size() + *count)) {
                Fail(parts[i], *error);
                return Failed();
            }
            layout.push_back(PartStaves{score_.Staves().size(), *count});
            for (std::size_t s = 0; s < *count; ++s) {
                const auto slot = static_cast<std::int16_t>(score_.Staves().size() + 1);
                score_.AddStaff(Staff{slot, static_cast<std::uint16_t>(slot),
                                      static_cast<std::int16_t>(i + 1), kTrebleClef});
            }
            if (*count > 1) {
                score_.Groups().push_back(
                    StaffGroup{static_cast<std::int16_t>(layout.back().first + 1),
                               static_cast<std::int16_t>(layout.back().first + *count)});
            }
        }
        for (std::size_t i = 0; i < parts.size(); ++i) {
            if (!ReadPart(parts[i], layout[i])) return Failed();
        }
        if (score_.Measures().empty()) {
            context_.clear();
            Fail(root, "the score has no <measure>");
            return Failed();
        }
        return ParsedDocument{BuildDocument(), {}, warnings_};
    }

private:
    // Where a part's staves stand among the document's.
    struct PartStaves {
        std::size_t first = 0;
        std::size_t count = 1;
    };
    // The note a <chord/> note belongs with.
    struct LastNote {
        std::size_t staff = 0;
        Rational onset;
        bool hidden = false;
    };
    struct MeasureState {
        std::vector<MeasureVoices> voices;  // one per staff of the part
        Rational cursor;
        Rational length;  // the furthest the cursor went
        std::optional<LastNote> last;
    };

    ParsedDocument Failed() const { return ParsedDocument{std::nullopt, error_, {}}; }

    bool Fail(pugi::xml_node at, const std::string& message) {
        error_.line = lines_.LineOf(at.offset_debug());
        error_.message = context_ + message;
        return false;
    }

    void Warn(pugi::xml_node at, const std::string& message) {
        warnings_.push_back(DocumentFileError{error_.file, lines_.LineOf(at.offset_debug()),
                                              "warning: " + context_ + message});
    }

    // The most <staves> any of the part's attributes states; 1 without any.
    std::optional<std::size_t> StaffCount(pugi::xml_node part) {
        std::int64_t count = 1;
        for (const pugi::xml_node measure : part.children("measure")) {
            for (const pugi::xml_node attributes : measure.children("attributes")) {
                const pugi::xml_node staves = attributes.child("staves");
                if (!staves) continue;
                const auto value = ParseInteger(TextOf(staves));
                if (!value || *value < 1 || *value > kMaxStavesOfPart) {
                    context_ = "part \"" + std::string(part.attribute("id").value()) + "\": ";
                    Fail(staves,
                         "<staves> must be a number from 1 to " + std::to_string(kMaxStavesOfPart));
                    return std::nullopt;
                }
                count = std::max(count, *value);
            }
        }
        return static_cast<std::size_t>(count);
    }

    std::optional<Rational> Duration(pugi::xml_node owner) {
        const pugi::xml_node duration = owner.child("duration");
        if (!duration) {
            Fail(owner, Element(owner) + " has no <duration>");
            return std::nullopt;
        }
        if (!divisions_) {
            Fail(owner, Element(owner) + " comes before any <divisions>");
            return std::nullopt;
        }
        const std::string text(TextOf(duration));
        const auto value = ParseDecimal(text);
        if (!value || *value <= Rational(0)) {
            Fail(duration, "<duration> must be a positive number, not \"" + text + "\"");
            return std::nullopt;
        }
        // 1024 per quarter from <divisions> per quarter.
        const auto time = CheckedProduct(
            *value, Rational(kQuarter) * Rational(divisions_->Den(), divisions_->Num()));
        if (!time || !IsMeasureTime(*time)) {
            Fail(duration, "<duration> \"" + text + "\" " +
                               (time ? MeasureTimeError(*time) : "is more than a measure holds"));
            return std::nullopt;
        }
        return *time;
    }

    // Moves the cursor on; a measure may run past its time signature (a cadenza), but not past
    // what any measure may hold.
    bool Advance(pugi::xml_node owner, MeasureState& state, Rational by) {
        const auto moved = CheckedSum(state.cursor, by);
        if (!moved || !IsMeasureTime(*moved)) {
            return Fail(owner,
                        Element(owner) + " " +
                            (moved ? MeasureTimeError(*moved) : "is more than a measure holds"));
        }
        state.cursor = *moved;
        return true;
    }

    // The part's staff (from 0) a note or <forward> names with <staff>; staff 1 without one.
    std::optional<std::size_t> StaffOf(pugi::xml_node owner) {
        const pugi::xml_node staff = owner.child("staff");
        if (!staff) return 0;
        const auto number = ParseInteger(TextOf(staff));
        if (!number || *number < 1 || static_cast<std::size_t>(*number) > part_.count) {
            Fail(staff, "<staff> \"" + std::string(TextOf(staff)) + "\" names no staff of the " +
                            "part, which has " + std::to_string(part_.count) +
                            (part_.count == 1 ? " staff" : " staves"));
            return std::nullopt;
        }
        return static_cast<std::size_t>(*number - 1);
    }

    bool ReadPart(pugi::xml_node part, PartStaves staves) {
        divisions_.reset();
        part_ = staves;
        partTime_ = Rational(kWhole);
        previousLength_ = Rational(0);
        multipleRestLeft_ = 0;
        clefStated_.assign(staves.count, false);
        const std::string id = part.attribute("id").value();
        std::size_t index = 0;
        pugi::xml_node first;
        for (const pugi::xml_node measure : part.children("measure")) {
            if (!first) first = measure;
            ++index;
            if (const auto error = CheckMeasures(index)) {
                context_ = "part \"" + id + "\": ";
                return Fail(measure, *error);
            }
            context_ = "part \"" + id + "\", measure " + std::to_string(index);
            const std::string number = measure.attribute("number").value();
            if (!number.empty() && number != std::to_string(index)) {
                context_ += " (numbered \"" + number + "\")";
            }
            context_ += ": ";
            while (score_.Measures().size() < index) score_.AddMeasure();
            if (infos_.size() < index) infos_.resize(index);
            if (!ReadMeasure(measure, index - 1)) return false;
        }
        if (!first) return true;
        context_ = "part \"" + id + "\", measure 1: ";
        for (std::size_t s = 0; s < staves.count; ++s) {
            if (clefStated_[s]) continue;
            Warn(first, staves.count == 1 ? std::string("the part has no <clef>: it is drawn "
                                                        "under a treble clef")
                                          : "staff " + std::to_string(s + 1) +
                                                " has no <clef>: it is drawn under a treble clef");
        }
        return true;
    }

    bool ReadMeasure(pugi::xml_node measure, std::size_t index) {
        if (std::string_view(measure.attribute("implicit").value()) == "yes") {
            infos_[index].uncounted = true;
        }
        MeasureState state;
        state.voices.resize(part_.count);
        Measure& target = score_.Measures()[index];
        const std::size_t otherParts = EventCount(target);
        for (const pugi::xml_node child : measure.children()) {
            const std::string_view name = child.name();
            bool ok = true;
            if (name == "note") {
                ok = ReadNote(child, state);
            } else if (name == "backup" || name == "forward") {
                ok = Move(child, state, name == "forward");
            } else if (name == "attributes") {
                ok = ReadAttributes(child, index, state);
            } else if (name == "barline") {
                ReadBarline(child, infos_[index]);
            } else if (name == "direction") {
                ReadDirection(child);
            }
            if (!ok || !WithinCaps(child, state, otherParts)) return false;
            state.length = std::max(state.length, state.cursor);
        }
        for (std::size_t s = 0; s < part_.count; ++s) {
            std::vector<Voice> voices = state.voices[s].Finish();
            if (voices.empty() && multipleRestLeft_ > 0) {
                if (auto rest = MeasureRest(partTime_)) {
                    rest->wholeMeasure = true;
                    voices.push_back(Voice{{*rest}});
                }
            }
            target.staves[part_.first + s] = std::move(voices);
        }
        std::stable_sort(target.clefChanges.begin(), target.clefChanges.end(),
                         [](const ClefChange& a, const ClefChange& b) { return a.at < b.at; });
        if (const auto error = CheckMeasure(target)) return Fail(measure, *error);
        if (multipleRestLeft_ > 0) --multipleRestLeft_;
        previousLength_ = state.length > Rational(0) ? state.length : partTime_;
        return true;
    }

    // What a measure holds is checked as it grows, so that no file makes the reader build a
    // measure beyond the caps before refusing it.
    bool WithinCaps(pugi::xml_node at, const MeasureState& state, std::size_t otherParts) {
        std::size_t mostVoices = 0;
        std::size_t events = otherParts;
        for (const MeasureVoices& voices : state.voices) {
            mostVoices = std::max(mostVoices, voices.LaneCount());
            events += voices.EventCount();
        }
        const auto error = CheckMeasureSize(mostVoices, events);
        return !error || Fail(at, *error);
    }

    bool Move(pugi::xml_node move, MeasureState& state, bool forward) {
        const auto duration = Duration(move);
        if (!duration) return false;
        if (forward) {
            const auto staff = StaffOf(move);
            if (!staff || !Advance(move, state, *duration)) return false;
            const std::string_view voice = TextOf(move.child("voice"));
            if (!voice.empty()) state.voices[*staff].FillTo(std::string(voice), state.cursor);
        } else {
            if (*duration > state.cursor) {
                return Fail(move, "<backup> goes back " + QuarterText(*duration) +
                                      ", before the start of the measure");
            }
            state.cursor = state.cursor - *duration;
        }
        state.last.reset();
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
            // Microtones are rounded to the nearest semitone, and triple sharps and flats kept
            // as double ones: the score holds what the document file writes.
            const auto exact = ParseDecimal(TextOf(alterNode));
            if (!exact) return Fail(alterNode, "<alter> must be a number");
            alter =
                std::clamp<std::int64_t>(static_cast<std::int64_t>(std::lround(exact->ToDouble())),
                                         -kMaxAccidentals, kMaxAccidentals);
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
        if (!actual || !normal || *actual < 1 || *normal < 1 || *actual > kMaxTupletCount ||
            *normal > kMaxTupletCount) {
            return Fail(modification,
                        "<time-modification> needs <actual-notes> and <normal-notes>, counts "
                        "from 1 to " +
                            std::to_string(kMaxTupletCount));
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
        if (!actualCount || !normalCount || *actualCount < 1 || *normalCount < 1 ||
            *actualCount > kMaxTupletCount || *normalCount > kMaxTupletCount) {
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
                    placed.starts.push_back(
                        TupletMark{number, StatedRatio(tuplet), ReadTupletLook(tuplet)});
                } else if (type == "stop") {
                    placed.stops.push_back(number);
                }
            }
        }
    }

    static std::int32_t DotCount(pugi::xml_node note) {
        return static_cast<std::int32_t>(
            std::distance(note.children("dot").begin(), note.children("dot").end()));
    }

    // Drawn small: a cue note, or a note whose type says cue size.
    static bool CueSized(pugi::xml_node note) {
        const std::string_view size = note.child("type").attribute("size").value();
        return note.child("cue") || size == "cue" || size == "grace-cue";
    }

    bool ReadNote(pugi::xml_node note, MeasureState& state) {
        if (DotCount(note) > kMaxDots) {
            return Fail(note, "a <note> of more than " + std::to_string(kMaxDots) + " <dot>s");
        }
        const bool hidden = std::string_view(note.attribute("print-object").value()) == "no";
        const bool rest = static_cast<bool>(note.child("rest"));
        const auto staff = StaffOf(note);
        if (!staff) return false;
        Rational onset = state.cursor;
        bool advances = true;
        if (note.child("chord") && state.last) {
            // A chord's further notes share its onset and move nothing; one that is not shown
            // shows nothing, and nor does any of a hidden note's chord.
            if (hidden || state.last->hidden || rest) return true;
            if (*staff == state.last->staff) {
                Pitch pitch;
                if (!ReadPitch(note, &pitch)) return false;
                state.voices[*staff].AddChordPitch(pitch, ReadNoteMarks(note), ReadTie(note));
                return true;
            }
            // On another staff the chord's note is a note of its own there.
            onset = state.last->onset;
            advances = false;
        }
        const pugi::xml_node grace = note.child("grace");

        PlacedNote placed;
        const std::string_view voice = TextOf(note.child("voice"));
        placed.voice = voice.empty() ? "1" : std::string(voice);
        placed.onset = onset;
        placed.event.cue = CueSized(note);
        placed.event.marks = ReadNoteMarks(note);
        const auto readPitch = [&] {
            if (rest) return true;
            Pitch pitch;
            if (!ReadPitch(note, &pitch)) return false;
            placed.event.pitches.push_back(pitch);
            if (const TieMark tie = ReadTie(note); tie != TieMark{}) {
                placed.event.marks.ties.push_back(tie);
            }
            return true;
        };
        if (grace) {
            state.last = LastNote{*staff, onset, hidden};
            if (hidden) return true;
            if (rest) return Fail(note, "a <grace> note that is a <rest>");
            if (!readPitch()) return false;
            placed.event.grace = std::string_view(grace.attribute("slash").value()) == "yes"
                                     ? Grace::Slashed
                                     : Grace::Plain;
            placed.event.value = ValueOfType(TextOf(note.child("type"))).value_or(kEighth);
            placed.event.dots = DotCount(note);
            if (const auto error = state.voices[*staff].AddNote(placed)) return Fail(note, *error);
            return true;
        }
        const auto sounding = Duration(note);
        if (!sounding) return false;
        if (advances && !Advance(note, state, *sounding)) return false;
        state.last = LastNote{*staff, onset, hidden};
        // A hidden note's time is a space in its voice, made when the voice goes on.
        if (hidden) return true;
        if (!readPitch()) return false;

        if (!ReadModification(note, placed)) return false;
        ReadTupletMarks(note, placed);
        if (rest && FillsTheMeasure(note, onset, *sounding)) {
            const auto whole = MeasureRest(*sounding);
            if (!whole) return Fail(note, "a measure rest of " + QuarterText(*sounding));
            placed.event.value = whole->value;
            placed.event.dots = whole->dots;
            placed.event.wholeMeasure = true;
            placed.modification =
                whole->tupletStarts.empty() ? Tuplet{1, 1} : whole->tupletStarts.front();
            placed.starts.clear();
            placed.stops.clear();
        } else if (!ChooseValue(note, *sounding, placed)) {
            return false;
        }
        if (const auto error = state.voices[*staff].AddNote(placed)) return Fail(note, *error);
        return true;
    }

    // A rest is the measure's own when it says so, or when it fills the measure's time from
    // its start written as a whole rest, or with no value at all, as exporters write them.
    bool FillsTheMeasure(pugi::xml_node note, Rational onset, Rational sounding) const {
        if (std::string_view(note.child("rest").attribute("measure").value()) == "yes") {
            return true;
        }
        const std::string_view type = TextOf(note.child("type"));
        return onset == Rational(0) && sounding == partTime_ && (type.empty() || type == "whole");
    }

    // The value and dots the note is written with when they last its duration; else the value
    // its duration makes, since the duration is what the file's time follows.
    bool ChooseValue(pugi::xml_node note, Rational sounding, PlacedNote& placed) {
        const Tuplet& m = placed.modification;
        const Rational plain = sounding * Rational(m.actual, m.normal);
        const auto written = ValueOfType(TextOf(note.child("type")));
        const std::int32_t dots = DotCount(note);
        if (written && DottedDuration(*written, dots) == plain) {
            placed.event.value = *written;
            placed.event.dots = dots;
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

    // The measure a key or time signature belongs to: its own at its start (after a <backup>
    // to it too), else the next.
    MeasureInfo& InfoFor(pugi::xml_node element, std::size_t index, const MeasureState& state) {
        if (state.cursor == Rational(0)) return infos_[index];
        Warn(element, Element(element) +
                          " inside the measure: a measure has one, so it is taken "
                          "from the next measure on");
        if (infos_.size() < index + 2) infos_.resize(index + 2);
        return infos_[index + 1];
    }

    bool ReadTime(pugi::xml_node time, std::size_t index, const MeasureState& state) {
        if (time.child("senza-misura")) return true;
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
        const auto beatDuration = static_cast<std::int16_t>(kWhole / *beatType);
        if (!IsMeasureTime(Rational(beats * beatDuration))) {
            return Fail(time, "<time> " + MeasureTimeError(Rational(beats * beatDuration)));
        }
        partTime_ = Rational(beats * beatDuration);
        MeasureInfo& info = InfoFor(time, index, state);
        if (!info.time) info.time = std::pair{static_cast<std::int16_t>(beats), beatDuration};
        return true;
    }

    bool ReadKey(pugi::xml_node key, std::size_t index, const MeasureState& state) {
        if (!key.child("fifths")) {
            Warn(key, "a <key> without <fifths> (a key of its own steps) is left out");
            return true;
        }
        const auto fifths = ParseInteger(TextOf(key.child("fifths")));
        if (!fifths || *fifths < -7 || *fifths > 7) {
            return Fail(key, "<fifths> must be a number from -7 to 7");
        }
        MeasureInfo& info = InfoFor(key, index, state);
        if (!info.key) info.key = static_cast<std::int16_t>(*fifths);
        return true;
    }

    // Where a clef takes over: a staff's own clef in the first measure's opening attributes; a
    // clef at a later measure's start stands before its barline, at the end of the measure
    // before, unless it says it stands after the barline; any other at the cursor. A clef that
    // is already in force changes nothing.
    bool ReadClef(pugi::xml_node element, std::size_t index, const MeasureState& state) {
        const auto number = element.attribute("number").as_llong(1);
        if (number < 1 || static_cast<std::size_t>(number) > part_.count) {
            return Fail(element, "<clef number=\"" + std::to_string(number) +
                                     "\"> names no staff of the part");
        }
        const ClefElement reading = ReadClefElement(element);
        if (!reading.clef) return Fail(reading.at, reading.message);
        if (!reading.message.empty()) Warn(reading.at, reading.message);
        const std::size_t local = static_cast<std::size_t>(number - 1);
        const std::size_t staff = part_.first + local;
        const Clef clef = *reading.clef;
        const bool atStart = state.cursor == Rational(0);
        if (index == 0 && atStart) {
            score_.Staves()[staff].clef = clef;
            clefStated_[local] = true;
            return true;
        }
        const bool afterBarline =
            std::string_view(element.attribute("after-barline").value()) == "yes";
        std::size_t measure = index;
        Rational at = state.cursor;
        if (atStart && !afterBarline) {
            measure = index - 1;
            at = previousLength_;
        }
        if (score_.ClefAt(staff, static_cast<std::int32_t>(measure + 1), at) == clef) return true;
        score_.Measures()[measure].clefChanges.push_back(ClefChange{staff, at, clef});
        return true;
    }

    bool ReadAttributes(pugi::xml_node attributes, std::size_t index, MeasureState& state) {
        if (const pugi::xml_node divisions = attributes.child("divisions")) {
            const auto value = ParseDecimal(TextOf(divisions));
            if (!value || *value <= Rational(0)) {
                return Fail(divisions, "<divisions> must be a positive number, not \"" +
                                           std::string(TextOf(divisions)) + "\"");
            }
            divisions_ = *value;
        }
        if (const pugi::xml_node key = attributes.child("key");
            key && !ReadKey(key, index, state)) {
            return false;
        }
        if (const pugi::xml_node time = attributes.child("time");
            time && !ReadTime(time, index, state)) {
            return false;
        }
        for (const pugi::xml_node clef : attributes.children("clef")) {
            if (!ReadClef(clef, index, state)) return false;
        }
        for (const pugi::xml_node details : attributes.children("staff-details")) {
            const auto lines = ParseInteger(TextOf(details.child("staff-lines")));
            if (lines && *lines != kStaffLines) {
                Warn(details, "a staff of " + std::to_string(*lines) + " lines is drawn with five");
            }
        }
        for (const pugi::xml_node style : attributes.children("measure-style")) {
            ReadMeasureStyle(style);
        }
        return true;
    }

    void ReadMeasureStyle(pugi::xml_node style) {
        if (const pugi::xml_node rest = style.child("multiple-rest")) {
            const auto count = ParseInteger(TextOf(rest));
            if (count && *count > 0) multipleRestLeft_ = static_cast<std::size_t>(*count);
        }
        for (const char* name : {"slash", "beat-repeat", "measure-repeat"}) {
            if (const pugi::xml_node shown = style.child(name);
                shown && std::string_view(shown.attribute("type").value()) != "stop") {
                Warn(shown, "<" + std::string(name) +
                                ">: the notes are drawn as written, not "
                                "as the repeat or slash signs it shows");
            }
        }
    }

    void ReadDirection(pugi::xml_node direction) {
        for (const pugi::xml_node type : direction.children("direction-type")) {
            const pugi::xml_node shift = type.child("octave-shift");
            if (shift && std::string_view(shift.attribute("type").value()) != "stop") {
                Warn(shift,
                     "<octave-shift>: the notes under it are drawn at their own pitch, "
                     "without the octave line");
            }
        }
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
        std::int16_t uncounted = 0;
        for (std::size_t m = 0; m < score_.Measures().size(); ++m) {
            const MeasureInfo& info = infos_[m];
            const auto number = static_cast<std::int16_t>(m + 1);
            const MeasureFields previous = fields;
            if (info.time) std::tie(fields.beats, fields.beatDuration) = *info.time;
            if (info.key) fields.key = *info.key;
            // The first measure's signatures stand with the clefs, before its barline.
            const bool timeChanges =
                fields.beats != previous.beats || fields.beatDuration != previous.beatDuration;
            fields.leadingSpace = static_cast<std::int16_t>(
                kImportedLeadingSpace +
                (m == 0 ? 0 : SignatureRoom(previous.key, fields.key, timeChanges)));
            fields.barline = info.barline.value_or(MeasureFields::Barline::Single);
            fields.flags = info.uncounted ? kMeasureFlagUncounted : 0;
            uncounted = static_cast<std::int16_t>(uncounted + (info.uncounted ? 1 : 0));
            fields.numberShown = uncounted == 0 || info.uncounted
                                     ? 0
                                     : static_cast<std::int16_t>(number - uncounted);
            records.Put(RecordId{kTagMeasureRecord, number, 0},
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
    std::vector<DocumentFileError> warnings_;
    std::string context_;
    Score score_;
    std::vector<MeasureInfo> infos_;
    // Of the part being read:
    PartStaves part_;
    std::optional<Rational> divisions_;
    Rational partTime_{kWhole};         // its measures' length by its time signature
    Rational previousLength_;           // how far its previous measure went
    std::size_t multipleRestLeft_ = 0;  // measures of a multiple rest still to come
    std::vector<bool> clefStated_;      // per staff: whether its own clef was given
};

}  // namespace

ParsedDocument ImportMusicXmlScore(std::string_view text, const std::string& fileName) {
    return Importer(text, fileName).Run();
}

ParsedDocument ImportMusicXml(std::string_view bytes, const std::string& fileName) {
    try {
        if (bytes.starts_with(kZipMagic)) return ImportMxl(bytes, fileName);
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
