#include "spacing/spacing_tasks.h"

#include <array>

namespace {

constexpr std::array<SpacingTaskEntry, 9> kTasks = {{
    {1, 1, "Tight Allotment",
     "Allotment spacing like in the library 'Tight Spacing'.\n21 allotments."},
    {2, 1, "Medium Allotment",
     "Allotment spacing like in the library 'Medium Spacing'.\n21 allotments."},
    {3, 1, "Loose Allotment",
     "Allotment spacing like in the library 'Loose Spacing'.\n21 allotments."},
    {5, 1, "'Optical' Allotment",
     "Allotment spacing with a ratio around 1.4. Ratio between quarter and half notes are "
     "wider.\n8 allotments."},
    {4, 1, "Golden Ratio with Edited Dots",
     "Allotment like the library 'Fibonacci Spacing with Edited Dots'. The dotted values "
     "require smaller width than their relative duration.\n23 allotments."},
    {6, 1, "Golden Ratio Scaling",
     "Scaled spacing with a 1.618 ratio and a quarter note reference width of 3.5 spaces."},
    {7, 1, "Square Root 2 Scaling",
     "Scaled spacing with a 1.414 ratio and a quarter note reference width of 3.5 spaces."},
    {8, 1, "Tight Scaling",
     "Scaled spacing with a 1.35 ratio and a quarter note reference width of 3.0 spaces."},
    {9, 1, "No Scaling",
     "Disabled spacing, were every duration has the width of 3.0 spaces.\nUseful for "
     "Schenker graphs, chant-like notation, etc."},
}};

// Triplet durations that are not whole numbers appear twice, as the whole numbers below and
// above (170 and 171 for the sixteenth-note triplet).
constexpr std::array<AllotmentRow, 21> kTight = {{
    {0, 72},    {96, 36},   {128, 29},  {170, 36},  {171, 36},  {192, 36},   {256, 36},
    {341, 42},  {342, 42},  {384, 48},  {512, 48},  {682, 59},  {683, 59},   {768, 72},
    {1024, 72}, {1365, 84}, {1366, 84}, {1536, 95}, {2048, 95}, {3072, 120}, {4096, 144},
}};

constexpr std::array<AllotmentRow, 21> kMedium = {{
    {0, 72},    {96, 36},   {128, 29},  {170, 36},   {171, 36},   {192, 42},   {256, 42},
    {341, 48},  {342, 48},  {384, 59},  {512, 59},   {682, 72},   {683, 72},   {768, 84},
    {1024, 84}, {1365, 95}, {1366, 95}, {1536, 108}, {2048, 120}, {3072, 144}, {4096, 167},
}};

constexpr std::array<AllotmentRow, 21> kLoose = {{
    {0, 72},    {96, 36},    {128, 36},   {170, 42},   {171, 42},   {192, 48},   {256, 48},
    {341, 59},  {342, 59},   {384, 72},   {512, 72},   {682, 84},   {683, 84},   {768, 95},
    {1024, 95}, {1365, 108}, {1366, 108}, {1536, 120}, {2048, 144}, {3072, 167}, {4096, 192},
}};

constexpr std::array<AllotmentRow, 8> kOptical = {{
    {0, 84},
    {128, 34},
    {256, 47},
    {512, 61},
    {1024, 84},
    {2048, 143},
    {4096, 197},
    {8192, 253},
}};

}  // namespace

std::span<const SpacingTaskEntry> SpacingTaskTable() { return kTasks; }

std::optional<SpacingTaskContent> SpacingTaskContentFor(std::int32_t taskId) {
    switch (taskId) {
        case 1:
            return SpacingTaskContent{kTight, std::nullopt};
        case 2:
            return SpacingTaskContent{kMedium, std::nullopt};
        case 3:
            return SpacingTaskContent{kLoose, std::nullopt};
        // "Golden Ratio with Edited Dots" writes the 'Optical' rows, as the 'Optical' task does.
        case 4:
        case 5:
            return SpacingTaskContent{kOptical, std::nullopt};
        case 6:
            return SpacingTaskContent{{}, ScalingSetting{1.61803399, 84}};
        case 7:
            return SpacingTaskContent{{}, ScalingSetting{1.41421356, 84}};
        case 8:
            return SpacingTaskContent{{}, ScalingSetting{1.35, 72}};
        case 9:
            return SpacingTaskContent{{}, ScalingSetting{1.0, 72}};
        default:
            return std::nullopt;
    }
}

std::int32_t ScalingFactorFor(double ratio) { return static_cast<std::int32_t>(ratio * 10000.0); }
