#include "simhost/document/measure_record.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {

using simhost::MeasureFields;

MeasureFields Sample() {
    MeasureFields fields;
    fields.width = 300;
    fields.leadingSpace = 24;
    fields.beats = 3;
    fields.beatDuration = 512;
    fields.key = -3;
    fields.barline = MeasureFields::Barline::Final;
    fields.flags = simhost::kMeasureFlagUncounted;
    fields.numberShown = 7;
    fields.trailingSpace = 12;
    return fields;
}

TEST(MeasureRecord, FieldsReadBackAsWritten) {
    EXPECT_EQ(MeasureFields::Read(Sample().ToRecord()), Sample());
}

TEST(MeasureRecord, FieldsPastAShortRecordsEndReadAsZero) {
    const std::vector<std::uint8_t> whole = Sample().ToRecord();
    struct Case {
        std::size_t size;
        MeasureFields expected;
    };
    MeasureFields shortLayout = Sample();
    shortLayout.trailingSpace = 0;
    MeasureFields cutInBeatDuration;  // 7 bytes: width, leading space, beats and half a field
    cutInBeatDuration.width = 300;
    cutInBeatDuration.leadingSpace = 24;
    cutInBeatDuration.beats = 3;
    cutInBeatDuration.beatDuration = 0;
    MeasureFields empty;
    empty.beats = 0;
    empty.beatDuration = 0;
    for (const Case& c : {Case{simhost::kMeasureBytesShort, shortLayout},
                          Case{7, cutInBeatDuration}, Case{0, empty}}) {
        const std::vector<std::uint8_t> cut(whole.begin(),
                                            whole.begin() + static_cast<std::ptrdiff_t>(c.size));
        EXPECT_EQ(MeasureFields::Read(cut), c.expected) << c.size << " bytes";
    }
}

TEST(MeasureRecord, WritingGrowsAShortRecordAndKeepsTheBytesWithoutMeaning) {
    std::vector<std::uint8_t> record(simhost::kMeasureBytesShort, 0x5A);
    Sample().WriteInto(record);
    ASSERT_EQ(record.size(), simhost::kMeasureBytesLong);
    EXPECT_EQ(MeasureFields::Read(record), Sample());
    for (std::size_t i = 16; i < 26; ++i) EXPECT_EQ(record[i], 0x5A) << "byte " << i;
}

}  // namespace
