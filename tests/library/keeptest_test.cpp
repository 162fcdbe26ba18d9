// Keeping a test in the program's library as the windows do: a record of no load data is never kept.
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
    for (TKeepAnnounce announce : {TKeepAnnounce::OnlyFailures, TKeepAnnounce::Always})
        EXPECT_EQ(KeepTestInLibrary(*empty, std::nullopt, announce), TKeepOutcome::NoLoadData);
    ASSERT_EQ(boxes.Shown().size(), 2);
    EXPECT_EQ(boxes.Shown()[0].text,
              QStringLiteral("No load of this test has data, so it was not added to the test library."));
    EXPECT_EQ(boxes.Shown()[0].caption, QStringLiteral("Test Library"));

    auto full = MakeFullRecord();
    EXPECT_EQ(KeepTestInLibrary(*full, std::nullopt, TKeepAnnounce::OnlyFailures), TKeepOutcome::Kept);
    EXPECT_EQ(boxes.Shown().size(), 2);
    QString why;
    ASSERT_TRUE(ProgramLibrary(why));
    EXPECT_EQ(ProgramLibrary(why)->List().size(), 1u);
}
