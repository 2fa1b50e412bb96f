// The voices of one staff in one measure, built from notes placed in time the way MusicXML
// places them: a cursor that <backup> and <forward> move, and a voice name on every note. The
// score wants each voice as events one after another from the start of the measure, so gaps
// become spaces (time the voice spends elsewhere, not drawn: MusicXML writes every rest it
// shows) and tuplet groups are marked where they start and stop. Grace notes take no time:
// they join their lane at their onset and leave its end where it was.
//
// A note that would overlap the previous note of its own voice (a file that backs up into a
// voice) goes into another lane of that voice, which becomes a voice of its own: every note
// keeps its onset, which is all that spacing needs.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "simhost/document/rational.h"
#include "simhost/document/score.h"

namespace simhost {

// A <tuplet> notation on a note. Its ratio is there only when the notation states it
// (<tuplet-actual> and <tuplet-normal>); else it is whatever the note's time modification
// leaves over once the groups around it are accounted for.
struct TupletMark {
    std::int32_t number = 1;
    std::optional<Tuplet> ratio;
    TupletLook look;
};

struct PlacedNote {
    std::string voice;
    Rational onset;             // from the start of the measure, 1024 per quarter
    Event event;                // value, dots and pitches; tuplet marks are left to the builder
    Tuplet modification{1, 1};  // the note's <time-modification>; 1:1 for none
    // With <normal-type> (and <normal-dot>), the duration a group of this modification is
    // counted in; else the shortest value in the group.
    std::optional<Rational> normalValue;
    std::vector<TupletMark> starts;
    std::vector<std::int32_t> stops;  // the numbers of the groups that stop at this note
};

class MeasureVoices {
public:
    // Adds a note after every note added before it in its lane. The event's value and dots,
    // scaled by its modification, must give the note's duration: the groups opened here make
    // up exactly that modification. Answers an error text for tuplet marks that cannot be
    // resolved or nest deeper than kMaxTupletNesting, else nothing.
    std::optional<std::string> AddNote(const PlacedNote& note);
    // A further pitch of the note added last (a MusicXML chord note), with that note's marks
    // (musicxml_marks.h); a rest takes none.
    void AddChordPitch(const Pitch& pitch, const NoteMarks& marks, TieMark tie);
    // Spaces in the voice up to a position (a <forward> that names its voice).
    void FillTo(const std::string& voice, Rational position);

    // Every event added so far, spaces included, and the lanes they stand in: what the measure
    // costs before Finish.
    std::size_t EventCount() const { return events_; }
    std::size_t LaneCount() const { return lanes_.size(); }

    // Every lane as one voice, in the order the lanes were first used; open groups are closed
    // at the last event, since a group never crosses a barline in the score.
    std::vector<Voice> Finish();

private:
    struct Group {
        Tuplet ratio;
        bool inferred = false;
        std::int32_t number = 0;  // of an explicit group
        Rational plainSoFar;      // of an inferred group: its events' plain durations
        Rational unit;            // of an inferred group: the value it is counted in
        bool unitStated = false;
    };
    struct Lane {
        std::string voice;
        Rational end;
        Voice music;
        std::vector<Group> open;  // outermost first
    };

    Lane& LaneFor(const std::string& voice, Rational onset);
    bool Pad(Lane& lane, Rational position);
    void Push(Lane& lane, Event event);
    static bool RoomForGroup(const Lane& lane);
    static void CloseGroups(Lane& lane, std::size_t keep);
    // Nothing when the ratios multiply beyond what exact time can hold.
    static std::optional<Rational> Product(const std::vector<Group>& groups, bool explicitOnly);

    std::vector<Lane> lanes_;
    std::optional<std::size_t> lastLane_;
    std::size_t events_ = 0;
};

}  // namespace simhost
