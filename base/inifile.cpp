#include "base/inifile.h"

#include <QFile>
#include <QSaveFile>
#include <QStringList>

namespace {

struct IniText {
    QStringList lines;
    QString newline = QStringLiteral("\n");
};

IniText ReadLines(const QString& path) {
    IniText text;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return text;
    const QString content = QString::fromUtf8(file.readAll());
    if (content.contains(QStringLiteral("\r\n")))
        text.newline = QStringLiteral("\r\n");
    text.lines = content.split(QLatin1Char('\n'));
    for (QString& line : text.lines)
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
    if (!text.lines.isEmpty() && text.lines.last().isEmpty())
        text.lines.removeLast(); // the final line break
    return text;
}

// The section name of a "[name]" line, or a null string for any other line.
QString SectionOf(const QString& line) {
    const QString t = line.trimmed();
    if (t.size() >= 2 && t.startsWith(QLatin1Char('[')) && t.endsWith(QLatin1Char(']')))
        return t.mid(1, t.size() - 2).trimmed();
    return QString();
}

bool KeyMatches(const QString& line, const QString& key) {
    const qsizetype eq = line.indexOf(QLatin1Char('='));
    return eq > 0 && line.left(eq).trimmed().compare(key, Qt::CaseInsensitive) == 0;
}

// Index of the section header line, or -1.
qsizetype FindSection(const QStringList& lines, const QString& section) {
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString name = SectionOf(lines[i]);
        if (!name.isNull() && name.compare(section, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

// Index of the line after the section's last line.
qsizetype SectionEnd(const QStringList& lines, qsizetype header) {
    qsizetype i = header + 1;
    while (i < lines.size() && SectionOf(lines[i]).isNull())
        ++i;
    return i;
}

} // namespace

bool ParseIniInteger(const QString& text, int& value) {
    const QString t = text.trimmed();
    // QString::toInt takes a NUL character for the end of the text and would read "12<NUL>x" as 12.
    if (t.contains(QChar(u'\0')))
        return false;
    bool ok = false;
    const int parsed = t.toInt(&ok, 10);
    if (!ok)
        return false;
    value = parsed;
    return true;
}

QString IniFile::ReadString(const QString& section, const QString& key, const QString& defaultValue) const {
    const IniText text = ReadLines(m_path);
    const qsizetype header = FindSection(text.lines, section);
    if (header < 0)
        return defaultValue;
    const qsizetype end = SectionEnd(text.lines, header);
    for (qsizetype i = header + 1; i < end; ++i) {
        const QString& line = text.lines[i];
        if (KeyMatches(line, key))
            return line.mid(line.indexOf(QLatin1Char('=')) + 1).trimmed();
    }
    return defaultValue;
}

int IniFile::ReadInteger(const QString& section, const QString& key, int defaultValue) const {
    int value = defaultValue;
    if (!ParseIniInteger(ReadString(section, key, QString()), value))
        return defaultValue;
    return value;
}

bool IniFile::ReadBool(const QString& section, const QString& key, bool defaultValue) const {
    return ReadInteger(section, key, defaultValue ? 1 : 0) != 0;
}

bool IniFile::WriteString(const QString& section, const QString& key, const QString& value) const {
    IniText text = ReadLines(m_path);
    QString clean = value;
    clean.replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
    const QString entry = key + QLatin1Char('=') + clean;

    const qsizetype header = FindSection(text.lines, section);
    if (header < 0) {
        text.lines << QLatin1Char('[') + section + QLatin1Char(']') << entry;
    } else {
        const qsizetype end = SectionEnd(text.lines, header);
        qsizetype found = -1;
        for (qsizetype i = header + 1; i < end && found < 0; ++i)
            if (KeyMatches(text.lines[i], key))
                found = i;
        if (found >= 0) {
            text.lines[found] = entry;
        } else {
            // After the section's last non-empty line, so that blank separator lines stay between sections.
            qsizetype at = end;
            while (at > header + 1 && text.lines[at - 1].trimmed().isEmpty())
                --at;
            text.lines.insert(at, entry);
        }
    }

    QSaveFile file(m_path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    const QByteArray bytes = (text.lines.join(text.newline) + text.newline).toUtf8();
    if (file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

bool IniFile::WriteInteger(const QString& section, const QString& key, int value) const {
    return WriteString(section, key, QString::number(value));
}

bool IniFile::WriteBool(const QString& section, const QString& key, bool value) const {
    return WriteInteger(section, key, value ? 1 : 0);
}
