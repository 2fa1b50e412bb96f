#include "simhost/app/measure_music.h"

#include <algorithm>
#include <utility>

#include "simhost/app/beam_groups.h"
#include "simhost/app/shown_accidentals.h"

namespace simhost::layout {

MeasureMusic LayOutMeasure(const Document& document, std::int32_t number, double x,
                           double firstStaff, bool byMarks) {
    MeasureMusic music;
    music.number = number;
    const auto number16 = static_cast<std::int16_t>(number);
    music.fields = FieldsOf(document, number);
    music.x = x;
    music.width = MeasureWidth(document, number16);
    const Measure* measure = document.GetScore().MeasureNumber(number);
    if (measure == nullptr) return music;
    const Score& score = document.GetScore();
    music.placed = PlaceEvents(document, *measure, number16, music.fields, x);
    music.staves.resize(music.placed.size());
    for (std::size_t s = 0; s < music.placed.size(); ++s) {
        StaffMusic& staff = music.staves[s];
        std::vector<PlacedEvent>& placed = music.placed[s];
        staff.top = StaffTop(firstStaff, s);
        std::vector<TimedEvent> timed;
        timed.reserve(placed.size());
        for (const PlacedEvent& item : placed) timed.push_back(item.timed);
        staff.accidentals = ShownAccidentals(timed, music.fields.key);
        for (std::size_t i = 0; i < placed.size(); ++i) {
            staff.where.emplace(placed[i].timed.event, i);
        }
        staff.beamOf.assign(placed.size(), 0);
        const auto layOut = [&](const PlacedEvent& item) {
            return LayOutChord(item, staff.top, score.ClefAt(s, number, item.timed.onset),
                               staff.accidentals);
        };
        std::size_t sounding = 0;
        for (const Voice& voice : measure->staves[s]) {
            if (std::any_of(voice.events.begin(), voice.events.end(),
                            [](const Event& e) { return !e.space && !e.IsGrace(); })) {
                ++sounding;
            }
            for (const BeamGroup& group :
                 BeamGroupsOf(voice, byMarks, music.fields.beats, music.fields.beatDuration)) {
                std::vector<std::size_t> members;
                for (const Event* member : group.events) members.push_back(staff.where.at(member));
                BeamLayout beam = LayOutBeam(group, members, placed, layOut);
                if (beam.bars.empty()) continue;
                for (const auto& [index, y] : beam.stemEnds) staff.beamEnds[index] = y;
                for (const std::size_t member : members)
                    staff.beamOf[member] = staff.beams.size() + 1;
                staff.beams.push_back(std::move(beam));
            }
        }
        staff.severalVoices = sounding > 1;
    }
    return music;
}

ChordLayout LayOutEvent(const Document& document, const MeasureMusic& measure, std::size_t staff,
                        std::size_t index) {
    const StaffMusic& music = measure.staves[staff];
    const PlacedEvent& item = measure.placed[staff][index];
    ChordLayout chord = LayOutChord(
        item, music.top, document.GetScore().ClefAt(staff, measure.number, item.timed.onset),
        music.accidentals);
    const auto beamEnd = music.beamEnds.find(index);
    if (beamEnd != music.beamEnds.end() && chord.stem) {
        chord.stem->end = beamEnd->second;
        chord.flags = 0;
    }
    return chord;
}

Reach ReachOf(const ChordLayout& chord) {
    Reach reach{1e9, -1e9};
    for (const PlacedHead& head : chord.heads) {
        reach.top = std::min(reach.top, head.y - chord.ry);
        reach.bottom = std::max(reach.bottom, head.y + chord.ry);
    }
    if (chord.stem) {
        reach.top = std::min(reach.top, chord.stem->end);
        reach.bottom = std::max(reach.bottom, chord.stem->end);
    }
    return reach;
}

}  // namespace simhost::layout
