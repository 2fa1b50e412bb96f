#include "spacing/spacing_tasks.h"

#include <gtest/gtest.h>

#include <string>

#include "spacing/task_info.h"

namespace {

struct TaskCase {
    int position;
    std::int32_t id;
    const char* title;
    std::size_t rows;         // allotment rows, 0 for a scaling task
    std::int32_t factor;      // scaling factor written, 0 for an allotment task
    std::int16_t refWidth;    // scaling reference width
    std::int16_t firstWidth;  // width of the duration-0 row
    std::int32_t lastDuration;
};

const TaskCase kCases[] = {
    {0, 1, "Tight Allotment", 21, 0, 0, 72, 4096},
    {1, 2, "Medium Allotment", 21, 0, 0, 72, 4096},
    {2, 3, "Loose Allotment", 21, 0, 0, 72, 4096},
    {3, 5, "'Optical' Allotment", 8, 0, 0, 84, 8192},
    {4, 4, "Golden Ratio with Edited Dots", 8, 0, 0, 84, 8192},
    {5, 6, "Golden Ratio Scaling", 0, 16180, 84, 0, 0},
    {6, 7, "Square Root 2 Scaling", 0, 14142, 84, 0, 0},
    {7, 8, "Tight Scaling", 0, 13500, 72, 0, 0},
    {8, 9, "No Scaling", 0, 10000, 72, 0, 0},
};

class EachTask : public ::testing::TestWithParam<TaskCase> {};

TEST_P(EachTask, HasItsIdTitleAndContent) {
    const TaskCase& c = GetParam();
    const SpacingTaskEntry& entry = SpacingTaskTable()[c.position];
    EXPECT_EQ(entry.id, c.id);
    EXPECT_STREQ(entry.title, c.title);
    EXPECT_EQ(entry.flag, 1);

    const auto content = SpacingTaskContentFor(c.id);
    ASSERT_TRUE(content.has_value());
    EXPECT_EQ(content->allotments.size(), c.rows);
    if (c.rows > 0) {
        EXPECT_FALSE(content->scaling.has_value());
        EXPECT_EQ(content->allotments.front().duration, 0);
        EXPECT_EQ(content->allotments.front().width, c.firstWidth);
        EXPECT_EQ(content->allotments.back().duration, c.lastDuration);
        for (std::size_t i = 1; i < content->allotments.size(); ++i) {
            EXPECT_LT(content->allotments[i - 1].duration, content->allotments[i].duration);
        }
    } else {
        ASSERT_TRUE(content->scaling.has_value());
        EXPECT_EQ(ScalingFactorFor(content->scaling->ratio), c.factor);
        EXPECT_EQ(content->scaling->referenceWidth, c.refWidth);
    }
}

INSTANTIATE_TEST_SUITE_P(ListOrder, EachTask, ::testing::ValuesIn(kCases));

TEST(SpacingTasks, IdsOutsideOneToNineHaveNoContent) {
    for (const std::int32_t id : {0, 10, -1, 65537}) {
        EXPECT_FALSE(SpacingTaskContentFor(id).has_value()) << id;
    }
}

TEST(SpacingTasks, TheThirtySecondNoteIsNarrowerThanTheDottedSixtyFourthInTightAndMedium) {
    for (const std::int32_t id : {1, 2}) {
        const auto content = SpacingTaskContentFor(id);
        const auto rows = content->allotments;
        EXPECT_EQ(rows[1].duration, 96);
        EXPECT_EQ(rows[1].width, 36);
        EXPECT_EQ(rows[2].duration, 128);
        EXPECT_EQ(rows[2].width, 29);
    }
    const auto loose = SpacingTaskContentFor(3);
    EXPECT_EQ(loose->allotments[2].width, 36);
}

TEST(SpacingTasks, EditedDotsWritesTheOpticalRows) {
    const auto opticalTask = SpacingTaskContentFor(5);
    const auto editedDotsTask = SpacingTaskContentFor(4);
    const auto optical = opticalTask->allotments;
    const auto editedDots = editedDotsTask->allotments;
    ASSERT_EQ(optical.size(), editedDots.size());
    for (std::size_t i = 0; i < optical.size(); ++i) {
        EXPECT_EQ(optical[i].duration, editedDots[i].duration);
        EXPECT_EQ(optical[i].width, editedDots[i].width);
    }
    EXPECT_EQ(optical.back().width, 253);
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
