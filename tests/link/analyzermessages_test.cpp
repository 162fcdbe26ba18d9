// The boxes of the analyzer's notices that the fault matrix cannot provoke: the driver's own failures
// and an open that finds no analyzer, or one this account may not use.
#include "link/analyzermessages.h"
#include "tests/support/qtprinters.h"

#include <gtest/gtest.h>

namespace {

struct Expected {
    const char* text;
    const char* caption;
    MsgIcon icon;
    int flags;
};

void ExpectBox(const AnalyzerNotice& notice, const Expected& expected) {
    const MessageRequest box = AnalyzerMessage(notice);
    EXPECT_EQ(box.text, QString::fromUtf8(expected.text));
    EXPECT_EQ(box.caption, QString::fromUtf8(expected.caption));
    EXPECT_EQ(box.icon, expected.icon);
    EXPECT_EQ(box.buttons, MsgButtons::OK);
    EXPECT_EQ(box.flags, expected.flags);
}

TEST(AnalyzerMessages, DriverFailuresAndFailedOpensAreToldWithTheirNumbers) {
    using Kind = TransportFault::Kind;
    ExpectBox(AnalyzerNotice::Fault({Kind::ReadStatus, 4}),
              {"Read status is: 4", "Error reading from device", MsgIcon::Error, mfNone});
    ExpectBox(AnalyzerNotice::Fault({Kind::ShortRead, 36}),
              {"Bytes read: 36", "Error reading from device", MsgIcon::Error, mfNone});
    ExpectBox(AnalyzerNotice::Fault({Kind::WriteStatus, 4}),
              {"Write status is: 4", "Error writing to device", MsgIcon::None, mfNone});
    ExpectBox(AnalyzerNotice::Fault({Kind::ShortWrite, 2}),
              {"Bytes written: 2", "Error writing to device", MsgIcon::None, mfNone});
    ExpectBox(AnalyzerNotice::OpenFailed(LinkError::NotDetected),
              {"Device Not Detected.\nPlease check connection.\n\nOperation Canceled.", "Error",
               MsgIcon::Error, mfNoOwner});
    // Checking the cable does not help an account that may not use the analyzer: the help does.
    ExpectBox(AnalyzerNotice::OpenFailed(LinkError::NotPermitted),
              {"Device Not Detected.\nPlease check connection.\n\nOperation Canceled.\n\nThe analyzer is "
               "connected, but this user account may not use it: see \"Giving your Linux account access to "
               "the analyzer\" in the help.",
               "Error", MsgIcon::Error, mfNoOwner});
}

} // namespace
