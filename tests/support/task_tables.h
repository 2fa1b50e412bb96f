// The allotment tables of the nine tasks, written out row by row as the tasks are defined, so
// that a wrong width in the extension's own tables cannot be copied into what a test expects.
// Durations count 1024 per quarter note; widths count 24 per staff space.
#pragma once

#include <cstdint>
#include <map>

namespace quortest {

// Duration to width.
using AllotmentTable = std::map<std::int16_t, std::int16_t>;

enum class Table { Tight, Medium, Loose, Optical };

struct TableRow {
    std::int16_t duration;
    std::int16_t tight;
    std::int16_t medium;
    std::int16_t loose;
};

// Tight, Medium and Loose share their durations.
inline constexpr TableRow kSharedTableRows[] = {
    // duration, Tight, Medium, Loose; then the note value
    {0, 72, 72, 72},        // (none)
    {96, 36, 36, 36},       // dotted 64th
    {128, 29, 29, 36},      // 32nd: narrower than the dotted 64th in Tight and Medium
    {170, 36, 36, 42},      // 16th triplet, lower
    {171, 36, 36, 42},      // 16th triplet, upper
    {192, 36, 42, 48},      // dotted 32nd
    {256, 36, 42, 48},      // 16th
    {341, 42, 48, 59},      // 8th triplet, lower
    {342, 42, 48, 59},      // 8th triplet, upper
    {384, 48, 59, 72},      // dotted 16th
    {512, 48, 59, 72},      // 8th
    {682, 59, 72, 84},      // quarter triplet, lower
    {683, 59, 72, 84},      // quarter triplet, upper
    {768, 72, 84, 95},      // dotted 8th
    {1024, 72, 84, 95},     // quarter
    {1365, 84, 95, 108},    // half triplet, lower
    {1366, 84, 95, 108},    // half triplet, upper
    {1536, 95, 108, 120},   // dotted quarter
    {2048, 95, 120, 144},   // half
    {3072, 120, 144, 167},  // dotted half
    {4096, 144, 167, 192},  // whole
};

// 'Optical', also written by "Golden Ratio with Edited Dots".
inline const AllotmentTable kOpticalTable = {
    {0, 84}, {128, 34}, {256, 47}, {512, 61}, {1024, 84}, {2048, 143}, {4096, 197}, {8192, 253},
};

inline AllotmentTable TableOf(Table table) {
    if (table == Table::Optical) return kOpticalTable;
    AllotmentTable rows;
    for (const TableRow& row : kSharedTableRows) {
        rows[row.duration] = table == Table::Tight    ? row.tight
                             : table == Table::Medium ? row.medium
                                                      : row.loose;
    }
    return rows;
}

}  // namespace quortest
