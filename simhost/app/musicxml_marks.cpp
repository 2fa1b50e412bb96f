#include "simhost/app/musicxml_marks.h"

#include <array>
#include <string_view>

#include "simhost/app/xml_values.h"

namespace simhost {
namespace {

template <typename Mark>
struct Word {
    std::string_view word;
    Mark mark;
};

constexpr std::array<Word<BeamMark>, 5> kBeamWords = {{
    {"begin", BeamMark::Begin},
    {"continue", BeamMark::Continue},
    {"end", BeamMark::End},
    {"forward hook", BeamMark::ForwardHook},
    {"backward hook", BeamMark::BackwardHook},
}};

constexpr std::array<Word<StemDirection>, 3> kStemWords = {{
    {"up", StemDirection::Up},
    {"down", StemDirection::Down},
    {"none", StemDirection::None},
}};

constexpr std::array<Word<Placement>, 2> kPlacementWords = {{
    {"above", Placement::Above},
    {"below", Placement::Below},
}};

constexpr std::array<Word<TupletNumber>, 3> kNumberWords = {{
    {"actual", TupletNumber::Actual},
    {"both", TupletNumber::Both},
    {"none", TupletNumber::Hidden},
}};

template <typename Mark, std::size_t N>
Mark Lookup(const std::array<Word<Mark>, N>& words, std::string_view text) {
    for (const Word<Mark>& word : words) {
        if (word.word == text) return word.mark;
    }
    return Mark{};
}

void ReadBeams(pugi::xml_node note, NoteMarks& marks) {
    for (const pugi::xml_node beam : note.children("beam")) {
        const auto level = beam.attribute("number").as_int(1);
        if (level < 1 || level > kMaxBeamLevels) continue;
        const BeamMark mark = Lookup(kBeamWords, TextOf(beam));
        if (mark == BeamMark::Unstated) continue;
        const auto index = static_cast<std::size_t>(level - 1);
        if (marks.beams.size() <= index) marks.beams.resize(index + 1);
        if (marks.beams[index] == BeamMark::Unstated) marks.beams[index] = mark;
    }
}

void AddTie(TieMark& tie, std::string_view type) {
    if (type == "start") tie.start = true;
    if (type == "stop") tie.stop = true;
}

}  // namespace

NoteMarks ReadNoteMarks(pugi::xml_node note) {
    NoteMarks marks;
    ReadBeams(note, marks);
    marks.stem = Lookup(kStemWords, TextOf(note.child("stem")));
    for (const pugi::xml_node notations : note.children("notations")) {
        for (const pugi::xml_node slur : notations.children("slur")) {
            const std::string_view type = slur.attribute("type").value();
            const auto number = slur.attribute("number").as_int(1);
            if ((type != "start" && type != "stop") || number < 1 || number > kMaxSlurNumber) {
                continue;
            }
            marks.slurs.push_back(SlurMark{
                number, type == "start",
                Lookup(kPlacementWords, std::string_view(slur.attribute("placement").value()))});
        }
    }
    return marks;
}

TieMark ReadTie(pugi::xml_node note) {
    TieMark tie;
    for (const pugi::xml_node element : note.children("tie")) {
        AddTie(tie, element.attribute("type").value());
    }
    for (const pugi::xml_node notations : note.children("notations")) {
        for (const pugi::xml_node tied : notations.children("tied")) {
            AddTie(tie, tied.attribute("type").value());
        }
    }
    return tie;
}

TupletLook ReadTupletLook(pugi::xml_node tuplet) {
    TupletLook look;
    const std::string_view bracket = tuplet.attribute("bracket").value();
    if (bracket == "yes") look.bracket = TupletBracket::Shown;
    if (bracket == "no") look.bracket = TupletBracket::Hidden;
    look.number = Lookup(kNumberWords, std::string_view(tuplet.attribute("show-number").value()));
    return look;
}

void JoinChordMarks(NoteMarks& chord, std::size_t pitches, const NoteMarks& note, TieMark tie) {
    if (tie != TieMark{} || !chord.ties.empty()) {
        chord.ties.resize(pitches - 1);
        chord.ties.push_back(tie);
    }
    chord.slurs.insert(chord.slurs.end(), note.slurs.begin(), note.slurs.end());
    if (chord.stem == StemDirection::Unstated) chord.stem = note.stem;
    if (chord.beams.empty()) chord.beams = note.beams;
}

}  // namespace simhost
