// Where the settings file lives.
#include "base/global.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(DataFolder, MissingFolderIsCreatedWithItsParents) {
    QTemporaryDir config;
    const QString root = config.filePath(QStringLiteral("deep/config"));
    SetupDataFolderIn(root);
    EXPECT_EQ(DataFolder, root + QStringLiteral("/Velmora/CorvexZR/"));
    EXPECT_TRUE(QFileInfo(DataFolder).isDir());
    EXPECT_EQ(SettingsFilePath, DataFolder + QStringLiteral("corvexzr.ini"));
    EXPECT_TRUE(ExeFolder.endsWith(QLatin1Char('/')));
}

TEST(DataFolder, ExistingFolderIsUsedUnchanged) {
    QTemporaryDir config;
    const QString folder = config.filePath(QStringLiteral("Velmora/CorvexZR"));
    ASSERT_TRUE(QDir().mkpath(folder));
    QFile marker(folder + QStringLiteral("/corvexzr.ini"));
    ASSERT_TRUE(marker.open(QIODevice::WriteOnly));
    marker.write("[EditInfo]\nMAKE=Kept\n");
    marker.close();

    SetupDataFolderIn(config.path() + QLatin1Char('/')); // a trailing separator is not doubled
    EXPECT_EQ(DataFolder, config.path() + QStringLiteral("/Velmora/CorvexZR/"));
    QFile again(SettingsFilePath);
    ASSERT_TRUE(again.open(QIODevice::ReadOnly));
    EXPECT_EQ(again.readAll(), QByteArray("[EditInfo]\nMAKE=Kept\n"));
}

TEST(DataFolder, NoConfigurationFolderFallsBackToTheExecutablesFolder) {
    SetupDataFolderIn(QString());
    EXPECT_EQ(DataFolder, ExeFolder);
    EXPECT_EQ(SettingsFilePath, ExeFolder + QStringLiteral("corvexzr.ini"));
}

TEST(DataFolder, DefaultIsThePerUserConfigurationFolder) {
    QTemporaryDir home;
    qputenv("XDG_CONFIG_HOME", home.path().toLocal8Bit());
    SetupDataFolder();
    qunsetenv("XDG_CONFIG_HOME");
    EXPECT_EQ(SettingsFilePath, home.path() + QStringLiteral("/Velmora/CorvexZR/corvexzr.ini"));
}
