#include "base/inifile.h"

#include "base/settings.h"

#include <QFile>

namespace {

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

IniDocument ReadDocument(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return IniDocument();
    return IniDocument::Parse(file.readAll());
}

} // namespace

IniDocument IniDocument::Parse(const QByteArray& bytes) {
    IniDocument document;
    const QString content = QString::fromUtf8(bytes);
    if (content.isEmpty())
        return document;
    if (content.contains(QStringLiteral("\r\n")))
        document.m_newline = QStringLiteral("\r\n");
    document.m_lines = content.split(QLatin1Char('\n'));
    for (QString& line : document.m_lines)
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
    if (!document.m_lines.isEmpty() && document.m_lines.last().isEmpty())
        document.m_lines.removeLast(); // the final line break
    return document;
}

QByteArray IniDocument::Bytes() const {
    return (m_lines.join(m_newline) + m_newline).toUtf8();
}

QString IniDocument::Value(const QString& section, const QString& key) const {
    const qsizetype header = FindSection(m_lines, section);
    if (header < 0)
        return QString();
    const qsizetype end = SectionEnd(m_lines, header);
    for (qsizetype i = header + 1; i < end; ++i) {
        const QString& line = m_lines[i];
        if (KeyMatches(line, key)) {
            const QString value = line.mid(line.indexOf(QLatin1Char('=')) + 1).trimmed();
            return value.isNull() ? QStringLiteral("") : value;
        }
    }
    return QString();
}

void IniDocument::Set(const QString& section, const QString& key, const QString& value) {
    QString clean = value;
    clean.replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
    const QString entry = key + QLatin1Char('=') + clean;

    const qsizetype header = FindSection(m_lines, section);
    if (header < 0) {
        m_lines << QLatin1Char('[') + section + QLatin1Char(']') << entry;
        return;
    }
    const qsizetype end = SectionEnd(m_lines, header);
    for (qsizetype i = header + 1; i < end; ++i)
        if (KeyMatches(m_lines[i], key)) {
            m_lines[i] = entry;
            return;
        }
    // After the section's last non-empty line, so that blank separator lines stay between sections.
    qsizetype at = end;
    while (at > header + 1 && m_lines[at - 1].trimmed().isEmpty())
        --at;
    m_lines.insert(at, entry);
}

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

QString IniString(const IniDocument& document, const QString& section, const QString& key,
                  const QString& defaultValue) {
    const QString value = document.Value(section, key);
    return value.isNull() ? defaultValue : value;
}

int IniInteger(const IniDocument& document, const QString& section, const QString& key, int defaultValue) {
    int value = defaultValue;
    if (!ParseIniInteger(document.Value(section, key), value))
        return defaultValue;
    return value;
}

QString IniFile::ReadString(const QString& section, const QString& key, const QString& defaultValue) const {
    return IniString(ReadDocument(m_path), section, key, defaultValue);
}

int IniFile::ReadInteger(const QString& section, const QString& key, int defaultValue) const {
    return IniInteger(ReadDocument(m_path), section, key, defaultValue);
}

bool IniFile::ReadBool(const QString& section, const QString& key, bool defaultValue) const {
    return ReadInteger(section, key, defaultValue ? 1 : 0) != 0;
}

bool IniFile::WriteString(const QString& section, const QString& key, const QString& value) const {
    return WriteSettingsFile(m_path, TSettingsChanges().Set(section, key, value)).Written();
}

bool IniFile::WriteInteger(const QString& section, const QString& key, int value) const {
    return WriteString(section, key, QString::number(value));
}

bool IniFile::WriteBool(const QString& section, const QString& key, bool value) const {
    return WriteInteger(section, key, value ? 1 : 0);
}
