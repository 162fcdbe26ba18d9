#pragma once
// The settings file's format: sections of key=value lines. A missing file, section or key gives the
// caller's default. Lines the program does not know are kept as they stand. Section and key names are
// matched without regard to case. The program's own settings go through TSettings (base/settings.h),
// which owns the file; IniFile reads and writes any file of this format without keeping a copy.

#include <QByteArray>
#include <QString>
#include <QStringList>

// The text of one settings file in memory, line by line, with its line ending kept.
class IniDocument {
public:
    static IniDocument Parse(const QByteArray& bytes);
    QByteArray Bytes() const;

    // A null string when the section or the key is missing.
    QString Value(const QString& section, const QString& key) const;
    // Replaces the key in place, else adds it at the end of its section, else adds the section. Line
    // breaks in `value` become spaces, so that no value breaks the file apart.
    void Set(const QString& section, const QString& key, const QString& value);

private:
    QStringList m_lines;
    QString m_newline = QStringLiteral("\n");
};

// Parses a whole decimal int as the settings file stores it; false when the text is anything else.
bool ParseIniInteger(const QString& text, int& value);

// The typed reads every holder of a document offers: a value that is not a whole decimal number
// (optional sign, digits, surrounding spaces) that fits an int gives the default.
QString IniString(const IniDocument& document, const QString& section, const QString& key,
                  const QString& defaultValue);
int IniInteger(const IniDocument& document, const QString& section, const QString& key, int defaultValue);

class IniFile {
public:
    explicit IniFile(QString path) : m_path(std::move(path)) {}

    // Each read reads the whole file again.
    QString ReadString(const QString& section, const QString& key, const QString& defaultValue) const;
    int ReadInteger(const QString& section, const QString& key, int defaultValue) const;
    bool ReadBool(const QString& section, const QString& key, bool defaultValue) const;

    // False when the file could not be written; the file then stays as it was. Written under the
    // same lock as TSettings writes.
    bool WriteString(const QString& section, const QString& key, const QString& value) const;
    bool WriteInteger(const QString& section, const QString& key, int value) const;
    bool WriteBool(const QString& section, const QString& key, bool value) const;

    const QString& Path() const { return m_path; }

private:
    QString m_path;
};
