// The settings file's read and write rules.
#include "base/inifile.h"
#include "tests/support/recordbuilder.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class Settings : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("corvexzr.ini"));
    IniFile ini{path};
    QString Text() const { return QString::fromUtf8(ReadBytes(path)); }
};

} // namespace

TEST_F(Settings, MissingFileSectionOrKeyGivesTheDefault) {
    EXPECT_EQ(ini.ReadString(QStringLiteral("EditInfo"), QStringLiteral("MAKE"), QStringLiteral("dflt")),
              QStringLiteral("dflt"));
    EXPECT_EQ(ini.ReadInteger(QStringLiteral("TestReportViewer"), QStringLiteral("TOP"), -1), -1);
    WriteBytes(path, "[Other]\nTOP=5\n");
    EXPECT_EQ(ini.ReadInteger(QStringLiteral("TestReportViewer"), QStringLiteral("TOP"), -1), -1);
    WriteBytes(path, "[TestReportViewer]\nLEFT=5\n");
    EXPECT_EQ(ini.ReadInteger(QStringLiteral("TestReportViewer"), QStringLiteral("TOP"), -1), -1);
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("never-written.ini"))));
}

TEST_F(Settings, WrittenValuesReadBackAndReachTheDiskAtOnce) {
    ASSERT_TRUE(ini.WriteString(QStringLiteral("EditInfo"), QStringLiteral("MAKE"), QStringLiteral("Acme")));
    ASSERT_TRUE(ini.WriteInteger(QStringLiteral("WaveformViewer"), QStringLiteral("TOP"), -1));
    ASSERT_TRUE(ini.WriteBool(QStringLiteral("WaveformViewer"), QStringLiteral("SHOWINFO"), true));
    EXPECT_EQ(Text(), QStringLiteral("[EditInfo]\nMAKE=Acme\n[WaveformViewer]\nTOP=-1\nSHOWINFO=1\n"));
    IniFile other(path); // another reader sees the values straight away
    EXPECT_EQ(other.ReadString(QStringLiteral("EditInfo"), QStringLiteral("MAKE"), QString()),
              QStringLiteral("Acme"));
    EXPECT_EQ(other.ReadInteger(QStringLiteral("WaveformViewer"), QStringLiteral("TOP"), 7), -1);
    EXPECT_TRUE(other.ReadBool(QStringLiteral("WaveformViewer"), QStringLiteral("SHOWINFO"), false));
}

TEST_F(Settings, IntegersThatDoNotParseGiveTheDefault) {
    WriteBytes(path, "[TEST_OPTIONS]\nLOAD_25=abc\nLOAD_50= 5 \nLOAD_75=12abc\nLOAD_100=\nLOAD_125=1.5\n"
                     "LOAD_150=99999999999\nLOAD_175=-3\n");
    const QString s = QStringLiteral("TEST_OPTIONS");
    EXPECT_EQ(ini.ReadInteger(s, QStringLiteral("LOAD_25"), 1), 1);
    EXPECT_EQ(ini.ReadInteger(s, QStringLiteral("LOAD_50"), 1), 5);
    EXPECT_EQ(ini.ReadInteger(s, QStringLiteral("LOAD_75"), 1), 1);
    EXPECT_EQ(ini.ReadInteger(s, QStringLiteral("LOAD_100"), 1), 1);
    EXPECT_EQ(ini.ReadInteger(s, QStringLiteral("LOAD_125"), 1), 1);
    EXPECT_EQ(ini.ReadInteger(s, QStringLiteral("LOAD_150"), 1), 1);
    EXPECT_EQ(ini.ReadInteger(s, QStringLiteral("LOAD_175"), 1), -3);
}

TEST_F(Settings, IntegerFollowedByANulCharacterIsNoNumber) {
    WriteBytes(path, QByteArrayLiteral("[TEST_OPTIONS]\nLOAD_25=0\0junk\nLOAD_50=7\0\n"));
    EXPECT_EQ(ini.ReadInteger(QStringLiteral("TEST_OPTIONS"), QStringLiteral("LOAD_25"), 1), 1);
    EXPECT_EQ(ini.ReadInteger(QStringLiteral("TEST_OPTIONS"), QStringLiteral("LOAD_50"), 1), 1);
    int value = 5;
    EXPECT_FALSE(ParseIniInteger(QString::fromUtf8("12\0x", 4), value));
    EXPECT_EQ(value, 5);
}

TEST_F(Settings, OtherLinesAreKeptAndKeysReplacedInPlace) {
    WriteBytes(path, "; written by hand\n[EditInfo]\nSERIAL=1\\2;3,4\nMAKE=Old\n\n[Zeta]\nX=1\n");
    ASSERT_TRUE(ini.WriteString(QStringLiteral("editinfo"), QStringLiteral("make"), QStringLiteral("New")));
    ASSERT_TRUE(ini.WriteString(QStringLiteral("EditInfo"), QStringLiteral("TECH"), QStringLiteral("JD")));
    EXPECT_EQ(
        Text(),
        QStringLiteral("; written by hand\n[EditInfo]\nSERIAL=1\\2;3,4\nmake=New\nTECH=JD\n\n[Zeta]\nX=1\n"));
    // Backslashes, semicolons and commas are plain characters of the value.
    EXPECT_EQ(ini.ReadString(QStringLiteral("EditInfo"), QStringLiteral("SERIAL"), QString()),
              QStringLiteral("1\\2;3,4"));
}

TEST_F(Settings, WindowsLineEndingsAreReadAndKept) {
    WriteBytes(path, "[EditInfo]\r\nMODEL=M1\r\n");
    EXPECT_EQ(ini.ReadString(QStringLiteral("EditInfo"), QStringLiteral("MODEL"), QString()),
              QStringLiteral("M1"));
    ASSERT_TRUE(ini.WriteString(QStringLiteral("EditInfo"), QStringLiteral("MODEL"), QStringLiteral("M2")));
    EXPECT_EQ(ReadBytes(path), QByteArray("[EditInfo]\r\nMODEL=M2\r\n"));
}

TEST_F(Settings, ValuesCannotBreakTheFileApart) {
    ASSERT_TRUE(ini.WriteString(QStringLiteral("EditInfo"), QStringLiteral("FACILITY"),
                                QStringLiteral("A\n[TEST_OPTIONS]\nLOAD_25=0")));
    EXPECT_EQ(ini.ReadInteger(QStringLiteral("TEST_OPTIONS"), QStringLiteral("LOAD_25"), 1), 1);
    EXPECT_EQ(ini.ReadString(QStringLiteral("EditInfo"), QStringLiteral("FACILITY"), QString()),
              QStringLiteral("A [TEST_OPTIONS] LOAD_25=0"));
}

TEST_F(Settings, UnwritableFileReportsFailureAndKeepsOldContent) {
    const IniFile nowhere(dir.filePath(QStringLiteral("missing/folder/corvexzr.ini")));
    EXPECT_FALSE(nowhere.WriteInteger(QStringLiteral("A"), QStringLiteral("B"), 1));
    EXPECT_EQ(nowhere.ReadInteger(QStringLiteral("A"), QStringLiteral("B"), 9), 9);
}
