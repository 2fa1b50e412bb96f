#include "spacing/spacing_tasks.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "spacing/task_info.h"
#include "tests/support/row_name.h"
#include "tests/support/task_tables.h"

namespace {

using quortest::AllotmentTable;
using quortest::Table;
using quortest::TableOf;

struct TaskCase {
    int position;
    std::int32_t id;
    const char* title;
    std::optional<Table> table;  // the rows an allotment task writes
    std::int32_t factor;         // scaling factor written, 0 for an allotment task
    std::int16_t refWidth;       // scaling reference width
};

const TaskCase kCases[] = {
    {0, 1, "Tight Allotment", Table::Tight, 0, 0},
    {1, 2, "Medium Allotment", Table::Medium, 0, 0},
    {2, 3, "Loose Allotment", Table::Loose, 0, 0},
    {3, 5, "'Optical' Allotment", Table::Optical, 0, 0},
    // The 'Optical' rows, not the 23 its description speaks of.
    {4, 4, "Golden Ratio with Edited Dots", Table::Optical, 0, 0},
    {5, 6, "Golden Ratio Scaling", {}, 16180, 84},
    {6, 7, "Square Root 2 Scaling", {}, 14142, 84},
    {7, 8, "Tight Scaling", {}, 13500, 72},
    {8, 9, "No Scaling", {}, 10000, 72},
};

void PrintTo(const TaskCase& c, std::ostream* os) { *os << c.title; }

class EachTask : public ::testing::TestWithParam<TaskCase> {};

TEST_P(EachTask, HasItsIdTitleAndContent) {
    const TaskCase& c = GetParam();
    const SpacingTaskEntry& entry = SpacingTaskTable()[c.position];
    EXPECT_EQ(entry.id, c.id);
    EXPECT_STREQ(entry.title, c.title);
    EXPECT_EQ(entry.flag, 1);

    const auto content = SpacingTaskContentFor(c.id);
    ASSERT_TRUE(content.has_value());
    if (c.table) {
        EXPECT_FALSE(content->scaling.has_value());
        // Every row, in the order written: ascending duration, as the expected table runs.
        std::vector<std::pair<std::int16_t, std::int16_t>> rows;
        for (const AllotmentRow& row : content->allotments) {
            rows.emplace_back(static_cast<std::int16_t>(row.duration), row.width);
        }
        const AllotmentTable expected = TableOf(*c.table);
        EXPECT_EQ(rows, (std::vector<std::pair<std::int16_t, std::int16_t>>(expected.begin(),
                                                                            expected.end())));
    } else {
        EXPECT_TRUE(content->allotments.empty());
        ASSERT_TRUE(content->scaling.has_value());
        EXPECT_EQ(ScalingFactorFor(content->scaling->ratio), c.factor);
        EXPECT_EQ(content->scaling->referenceWidth, c.refWidth);
    }
}

INSTANTIATE_TEST_SUITE_P(ListOrder, EachTask, ::testing::ValuesIn(kCases), quortest::RowName{});

TEST(SpacingTasks, IdsOutsideOneToNineHaveNoContent) {
    for (const std::int32_t id : {0, 10, -1, 65537}) {
        EXPECT_FALSE(SpacingTaskContentFor(id).has_value()) << id;
    }
}

TEST(SpacingTasks, DescriptionsCarryTheirLineFeeds) {
    const std::string tight = SpacingTaskTable()[0].description;
    EXPECT_EQ(tight, "Allotment spacing like in the library 'Tight Spacing'.\n21 allotments.");
    const std::string noScaling = SpacingTaskTable()[8].description;
    EXPECT_EQ(noScaling.find('\n'), noScaling.find("Useful") - 1);
    EXPECT_EQ(std::string(SpacingTaskTable()[5].description).find('\n'), std::string::npos);
}

TEST(TaskInfos, BuildingTwiceLeavesNineListedTasksInTableOrder) {
    NCNoteSpacingTaskInfos tasks;
    BuildSpacingTasks(tasks);
    BuildSpacingTasks(tasks);
    ASSERT_EQ(tasks.Count(), 9);
    const std::int32_t ids[] = {1, 2, 3, 5, 4, 6, 7, 8, 9};
    for (int i = 0; i < 9; ++i) {
        NCNoteSpacingTaskInfo* task = tasks.TaskAt(i);
        EXPECT_EQ(task->TaskId(), ids[i]);
        EXPECT_TRUE(task->IsListed());
        EXPECT_TRUE(task->IsPredefined());
        EXPECT_EQ(task->Settings().Count(), 18);
        EXPECT_EQ(task->Method().ReferenceDuration(), 1024);
        EXPECT_STREQ(task->DisplayText().Text8(), SpacingTaskTable()[i].title);
    }
    EXPECT_STREQ(tasks.TaskAt(4)->DisplayText().Text8(), "Golden Ratio with Edited Dots");
}

}  // namespace
