#pragma once
// A settings folder of the test's own: SettingsFilePath points into a temporary folder for the
// object's life, so tests never read or write the user's real settings.

#include "base/global.h"
#include "base/settings.h"

#include <QTemporaryDir>

class TempSettings {
public:
    TempSettings() { SetupDataFolderIn(m_dir.path()); }
    ~TempSettings() { SetupDataFolderIn(QString()); }
    // The program's settings object, on this folder's settings file.
    TSettings& Ini() const { return ProgramSettings(); }
    QString Folder() const { return m_dir.path(); }

private:
    QTemporaryDir m_dir;
};
