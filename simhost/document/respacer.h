// The host's respacing of music (command 12106): each measure of a range, over all its staves,
// is laid out anew by the document's allotments and music spacing preferences as they stand
// when it runs. It writes the measure's width into its 'SOMS' record (every other field kept)
// and the position of every note and rest into one note position record per measure and staff.
// All of it goes through Document::Write, so that it belongs to the edit that is open.
#pragma once

#include <cstdint>
#include <vector>

#include "host/services/nx_types.h"
#include "simhost/document/document.h"
#include "simhost/document/note_widths.h"

namespace simhost {

constexpr std::int32_t kRespaceSelectionCommand = 12106;

// Note positions: item = measure number, incidence = staff slot; one signed 16-bit position
// (from the opening barline, 24 per staff space) per event, voice after voice. The host keeps
// them for drawing; a plug-in has no use for them.
constexpr std::uint32_t kTagNotePositions = MakeTag("EPOS");

class Respacer {
public:
    explicit Respacer(Document& document) : document_(document) {}

    // The measures first..last that have a measure record; answers how many were respaced.
    std::int32_t RespaceMeasures(std::int16_t first, std::int16_t last);
    // The measures of the selection; nothing when nothing is selected. A start measure of 0
    // with a later end counts from measure 1.
    std::int32_t RespaceSelection();
    // A measure whose width was set from outside (by a plug-in) keeps its notes inside its
    // barlines: the positions between the leading and the trailing space are stretched or
    // squeezed in proportion, the first note staying where it stood.
    void FitToWidth(std::int16_t number, std::int16_t previousWidth);

private:
    void RespaceMeasure(std::int16_t number, const NoteWidths& widths);

    Document& document_;
};

// The positions of one measure and staff as the respacer stored them; empty when none.
std::vector<std::int16_t> NotePositions(const Document& document, std::int16_t measure,
                                        std::int16_t slot);

}  // namespace simhost
