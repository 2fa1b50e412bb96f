#include "simhost/app/spacing_report.h"

#include <sstream>
#include <vector>

#include "simhost/document/measure_record.h"
#include "simhost/document/respacer.h"

namespace simhost {

namespace {

std::string Numbers(const std::vector<std::int16_t>& values) {
    if (values.empty()) return "(not placed)";
    std::string out;
    for (const std::int16_t value : values) out += (out.empty() ? "" : " ") + std::to_string(value);
    return out;
}

std::string Width(const Document& document, std::int16_t measure) {
    const std::optional<MeasureFields> fields = document.MeasureRecord(measure);
    return fields ? std::to_string(fields->width) : "(no record)";
}

}  // namespace

std::string DescribeChanges(const Document& before, const Document& after, MeasureRange span) {
    std::ostringstream out;
    for (std::int16_t m = span.first; m <= span.last; ++m) {
        const std::string was = Width(before, m);
        const std::string now = Width(after, m);
        out << "measure " << m << "  width " << was;
        if (now != was) out << " -> " << now;
        out << '\n';
        for (const Staff& staff : after.GetScore().Staves()) {
            const std::string p0 = Numbers(NotePositions(before, m, staff.slot));
            const std::string p1 = Numbers(NotePositions(after, m, staff.slot));
            out << "  staff " << staff.slot << "  " << p0;
            if (p1 != p0) out << "  ->  " << p1;
            out << '\n';
        }
    }
    return out.str();
}

}  // namespace simhost
