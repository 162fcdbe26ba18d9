// The settings object: what other programs write is seen, two writers at once lose nothing, and a
// write that fails leaves the file as it was and says so.
#include "base/settings.h"
#include "tests/support/filefaults.h"
#include "tests/support/recordbuilder.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

class SettingsFile : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("corvexzr.ini"));
    const QString section = QStringLiteral("EditInfo");

    QStringList FolderFiles() const { return QDir(dir.path()).entryList(QDir::Files | QDir::Hidden); }
    void Age(const QDateTime& when) const {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        ASSERT_TRUE(file.setFileTime(when, QFileDevice::FileModificationTime));
    }
};

void WriteKeys(const QString& path, const QString& prefix, int count) {
    TSettings settings(path);
    for (int i = 0; i < count; ++i)
        settings.WriteInteger(QStringLiteral("Race"), prefix + QString::number(i), i);
}

} // namespace

TEST_F(SettingsFile, AKeyAnotherWriterWroteIsSeen) {
    const TSettings reader(path);
    TSettings writer(path);
    EXPECT_EQ(reader.ReadString(section, QStringLiteral("MAKE"), QStringLiteral("none")),
              QStringLiteral("none"));
    ASSERT_TRUE(writer.WriteString(section, QStringLiteral("MAKE"), QStringLiteral("Acme")).Written());
    EXPECT_EQ(reader.ReadString(section, QStringLiteral("MAKE"), QString()), QStringLiteral("Acme"));
    // Same size, at once: the file's time may not have moved on.
    ASSERT_TRUE(IniFile(path).WriteString(section, QStringLiteral("MAKE"), QStringLiteral("Zeta")));
    EXPECT_EQ(reader.ReadString(section, QStringLiteral("MAKE"), QString()), QStringLiteral("Zeta"));

    // A file long settled is read from memory until its time or its size changes.
    const QDateTime old = QDateTime::currentDateTime().addSecs(-3600);
    Age(old);
    EXPECT_EQ(reader.ReadString(section, QStringLiteral("MAKE"), QString()), QStringLiteral("Zeta"));
    ASSERT_TRUE(
        writer.WriteString(section, QStringLiteral("MAKE"), QStringLiteral("Acme Medical")).Written());
    Age(old);
    EXPECT_EQ(reader.ReadString(section, QStringLiteral("MAKE"), QString()), QStringLiteral("Acme Medical"));
    ASSERT_TRUE(
        writer.WriteString(section, QStringLiteral("MAKE"), QStringLiteral("Acme Surgery")).Written());
    Age(old.addSecs(-60));
    EXPECT_EQ(reader.ReadString(section, QStringLiteral("MAKE"), QString()), QStringLiteral("Acme Surgery"));
}

TEST_F(SettingsFile, TwoProgramsWritingAtOnceLoseNoKey) {
    constexpr int Count = 150;
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        WriteKeys(path, QStringLiteral("CHILD_"), Count);
        _exit(0); // no exit handlers: the child shares the parent's files
    }
    WriteKeys(path, QStringLiteral("PARENT_"), Count);
    int status = -1;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));

    const IniFile file(path);
    int lost = 0;
    for (int i = 0; i < Count; ++i)
        for (const QString& prefix : {QStringLiteral("CHILD_"), QStringLiteral("PARENT_")})
            lost += file.ReadInteger(QStringLiteral("Race"), prefix + QString::number(i), -1) == i ? 0 : 1;
    EXPECT_EQ(lost, 0);
    EXPECT_EQ(FolderFiles(), QStringList{QStringLiteral("corvexzr.ini")}); // the lock is gone
}

TEST_F(SettingsFile, FailedWriteLosesNothingAndSaysSo) {
    // Long enough that a fresh copy no longer fits under the file size limit below.
    QByteArray before = "; kept by hand\r\n[EditInfo]\r\nMAKE=Acme\r\n[Notes]\r\n";
    while (before.size() < 4000)
        before += "NOTE=" + QByteArray(60, 'x') + "\r\n";
    WriteBytes(path, before);
    TSettings settings(path);
    {
        const FileSizeLimit diskFull(before.size() + 10);
        const TSettingsStatus status = settings.WriteString(QStringLiteral("Notes"), QStringLiteral("LONG"),
                                                            QString(100, QLatin1Char('y')));
        EXPECT_EQ(status.fault, TSettingsFault::Unwritable);
        EXPECT_TRUE(status.reason.contains(QDir::toNativeSeparators(path)));
    }
    EXPECT_EQ(ReadBytes(path), before);
    EXPECT_EQ(FolderFiles(), QStringList{QStringLiteral("corvexzr.ini")}); // no half-written copy left

    {
        const ReadOnlyFolder readOnly(dir.path());
        EXPECT_EQ(RunWithoutPrivileges([&] {
                      TSettings other(path);
                      const TSettingsStatus status =
                          other.WriteString(section, QStringLiteral("MAKE"), QStringLiteral("New"));
                      return status.fault == TSettingsFault::Unwritable &&
                                     other.ReadString(section, QStringLiteral("MAKE"), QString()) ==
                                         QStringLiteral("Acme")
                                 ? 0
                                 : 1;
                  }),
                  0);
    }
    EXPECT_EQ(ReadBytes(path), before);

    // A file that cannot be read is never written whole from nothing.
    QFile::setPermissions(dir.path(), QFileDevice::Permissions(0x7777));
    QFile::setPermissions(path, QFileDevice::Permissions());
    EXPECT_EQ(
        RunWithoutPrivileges([&] {
            return TSettings(path).WriteString(section, QStringLiteral("TECH"), QStringLiteral("JD")).fault ==
                           TSettingsFault::Unreadable
                       ? 0
                       : 1;
        }),
        0);
    QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    EXPECT_EQ(ReadBytes(path), before);
}
