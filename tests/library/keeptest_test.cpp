// Keeping a test in the program's library as the windows do: a record of no load data is never kept,
// and the library says so without a box of its own (the windows tell it).
#include "library/keeptest.h"
#include "library/programlibrary.h"
#include "tests/support/recordbuilder.h"
#include "tests/support/scriptedmessages.h"
#include "tests/support/tempsettings.h"

#include <gtest/gtest.h>

namespace {

class KeepTest : public ::testing::Test {
protected:
    ~KeepTest() override { CloseProgramLibrary(); }
    TempSettings settings;
    ScriptedMessages boxes;
};

} // namespace

TEST_F(KeepTest, RecordOfNoLoadDataIsNeverAddedAndSaysSo) {
    auto empty = std::make_unique<TZRTestRec>();
    empty->SetDeviceInfo(diDeviceID, QStringLiteral("DEF-0042"));
    EXPECT_EQ(KeepTestInLibrary(*empty, std::nullopt).outcome, TKeepOutcome::NoLoadData);

    auto full = MakeFullRecord();
    const TKeepResult added = KeepTestInLibrary(*full, std::nullopt);
    EXPECT_EQ(added.outcome, TKeepOutcome::Kept);
    EXPECT_FALSE(added.alreadyPresent);
    EXPECT_TRUE(KeepTestInLibrary(*full, std::nullopt).alreadyPresent);
    EXPECT_TRUE(boxes.Shown().isEmpty());
    QString why;
    ASSERT_TRUE(ProgramLibrary(why));
    EXPECT_EQ(ProgramLibrary(why)->List().size(), 1u);
}
