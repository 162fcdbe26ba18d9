#pragma once
// The settings file: sections of key=value lines. Every call opens the file, reads or writes what it
// needs and closes it again, so a write reaches the disk at once and two windows never hold stale
// copies. A missing file, section or key gives the caller's default. Lines the program does not know
// are kept as they stand. Section and key names are matched without regard to case.

#include <QString>

class IniFile {
public:
    explicit IniFile(QString path) : m_path(std::move(path)) {}

    QString ReadString(const QString& section, const QString& key, const QString& defaultValue) const;
    // A value that is not a whole decimal number (optional sign, digits, surrounding spaces) that
    // fits an int gives the default.
    int ReadInteger(const QString& section, const QString& key, int defaultValue) const;
    bool ReadBool(const QString& section, const QString& key, bool defaultValue) const;

    // False when the file could not be written; the file then stays as it was.
    bool WriteString(const QString& section, const QString& key, const QString& value) const;
    bool WriteInteger(const QString& section, const QString& key, int value) const;
    bool WriteBool(const QString& section, const QString& key, bool value) const;

    const QString& Path() const { return m_path; }

private:
    QString m_path;
};

// Parses a whole decimal int as the settings file stores it; false when the text is anything else.
bool ParseIniInteger(const QString& text, int& value);
