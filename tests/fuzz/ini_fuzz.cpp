// Fuzz target: any bytes as the settings file. The input is four lines and then the file:
//   section, key, value, a text for the whole-number parser, then the file's bytes.
// A key that is a decimal number n takes the section and key of the file's line n instead (modulo
// the line count), so that reads and writes often meet the lines the file already has.
//
// Checks: reads of any names do not crash and agree with one another; a write of names the program
// could use (no control characters, "=", "[" or "]", no spaces at the ends) succeeds, reads back as
// written (line breaks in the value become spaces and the value is trimmed, as the file format
// holds it), and keeps every other line of the file as it was; the whole-number parser accepts
// exactly an optional sign and ASCII digits, with spaces around, that fit an int, and what it
// accepts is the number QString::number writes back (checked on the fourth line and on the value
// of every line of the file).
#include "base/inifile.h"
#include "tests/fuzz/fuzzcheck.h"

#include <QFile>
#include <QStringList>
#include <QTemporaryDir>
#include <limits>
#include <optional>

namespace {

// The file's lines as the settings file reads them (UTF-8, LF or CR LF, no final empty line), and
// then without any carriage return left at their ends. A line is written back with the text it was
// read with, and a carriage return that was part of that text (the file's last line "x<CR><CR>" with
// no line feed) then reads as part of a CR LF line break: a stray carriage return at the end of a
// line, which no reader of a value or a section name sees, may go.
QStringList LinesOf(const QByteArray& bytes) {
    QStringList lines = QString::fromUtf8(bytes).split(QLatin1Char('\n'));
    for (QString& line : lines)
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast(); // the final line break
    for (QString& line : lines)
        while (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
    return lines;
}

// The whole-number rule written out: spaces, an optional sign, ASCII digits, spaces; within int.
std::optional<int> ReferenceInteger(const QString& text) {
    const QString t = text.trimmed();
    qsizetype pos = 0;
    const bool negative = t.startsWith(QLatin1Char('-'));
    if (negative || t.startsWith(QLatin1Char('+')))
        ++pos;
    if (pos == t.size())
        return std::nullopt;
    long long value = 0;
    for (; pos < t.size(); ++pos) {
        const char16_t c = t[pos].unicode();
        if (c < u'0' || c > u'9')
            return std::nullopt;
        value = value * 10 + (c - u'0');
        if (value > 1LL + std::numeric_limits<int>::max())
            return std::nullopt;
    }
    if (negative)
        value = -value;
    if (value < std::numeric_limits<int>::min() || value > std::numeric_limits<int>::max())
        return std::nullopt;
    return static_cast<int>(value);
}

void CheckIntegerParser(const QString& text) {
    int value = 12345;
    const bool parsed = ParseIniInteger(text, value);
    const std::optional<int> expected = ReferenceInteger(text);
    FuzzCheck(parsed == expected.has_value(), "ParseIniInteger accepts exactly a whole number");
    if (!parsed) {
        FuzzCheck(value == 12345, "a text that is no number leaves the value alone");
        return;
    }
    FuzzCheck(value == *expected, "ParseIniInteger gives the number's value");
    int again = 0;
    FuzzCheck(ParseIniInteger(QString::number(value), again) && again == value,
              "the number reads back from QString::number");
}

// A name the program could use: no control characters, "=", "[" or "]", no spaces at the ends.
QString UsableName(const QString& name, const char* fallback) {
    QString clean;
    for (QChar c : name)
        if (c.category() != QChar::Other_Control && c != QLatin1Char('=') && c != QLatin1Char('[') &&
            c != QLatin1Char(']'))
            clean += c;
    clean = clean.trimmed();
    return clean.isEmpty() ? QString::fromLatin1(fallback) : clean;
}

// The section and key of line `index` of the file: the key left of its "=", the section of the
// header above it.
void NamesOfLine(const QStringList& lines, qsizetype index, QString& section, QString& key) {
    const QString& line = lines[index];
    const qsizetype eq = line.indexOf(QLatin1Char('='));
    key = eq > 0 ? line.left(eq).trimmed() : line.trimmed();
    for (qsizetype i = index; i >= 0; --i) {
        const QString t = lines[i].trimmed();
        if (t.size() >= 2 && t.startsWith(QLatin1Char('[')) && t.endsWith(QLatin1Char(']'))) {
            section = t.mid(1, t.size() - 2).trimmed();
            return;
        }
    }
}

void CheckReads(const IniFile& ini, const QString& section, const QString& key) {
    const QString text = ini.ReadString(section, key, QStringLiteral("\x01none"));
    int parsed = 0;
    const bool number = text != QStringLiteral("\x01none") && ParseIniInteger(text, parsed);
    FuzzCheck(ini.ReadInteger(section, key, -7) == (number ? parsed : -7),
              "ReadInteger agrees with ReadString");
    FuzzCheck(ini.ReadBool(section, key, true) == (number ? parsed != 0 : true),
              "ReadBool agrees with ReadInteger");
}

// `after` is `before` with the entry put in: one line replaced by it, one line inserted, or the
// section header and the entry appended.
void CheckLinesKept(const QStringList& before, const QStringList& after, const QString& section,
                    const QString& entry) {
    const qsizetype added = after.size() - before.size();
    FuzzCheck(added >= 0 && added <= 2, "a write adds at most two lines");
    qsizetype head = 0;
    while (head < before.size() && head < after.size() && before[head] == after[head])
        ++head;
    if (added == 2) {
        FuzzCheck(head == before.size() && after.last() == entry &&
                      after[after.size() - 2] == QLatin1Char('[') + section + QLatin1Char(']'),
                  "a new section goes at the end");
        return;
    }
    qsizetype tail = 0;
    while (tail < before.size() - head && tail < after.size() - head &&
           before[before.size() - 1 - tail] == after[after.size() - 1 - tail])
        ++tail;
    // What is left between the common head and tail: nothing, or the entry in place of at most one line.
    const qsizetype changed = after.size() - head - tail;
    FuzzCheck(changed <= 1, "every other line is kept");
    if (changed == 1)
        FuzzCheck(after[head] == entry, "the changed line is the entry");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static QTemporaryDir dir;
    const QByteArray input(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    QList<QByteArray> parts = input.split('\n');
    while (parts.size() < 5)
        parts.append(QByteArray());
    QString section = QString::fromUtf8(parts[0]);
    QString key = QString::fromUtf8(parts[1]);
    const QString value = QString::fromUtf8(parts[2]);
    CheckIntegerParser(QString::fromUtf8(parts[3]));
    const QByteArray fileBytes =
        input.mid(parts[0].size() + parts[1].size() + parts[2].size() + parts[3].size() + 4);

    const QString path = dir.filePath(QStringLiteral("settings.ini"));
    {
        QFile file(path);
        FuzzCheck(file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
                      file.write(fileBytes) == fileBytes.size(),
                  "cannot write the settings file");
    }
    const QStringList before = LinesOf(fileBytes);
    for (const QString& line : before)
        CheckIntegerParser(line.mid(line.indexOf(QLatin1Char('=')) + 1));
    int lineIndex = 0;
    if (!before.isEmpty() && ParseIniInteger(key, lineIndex))
        NamesOfLine(before, (lineIndex % before.size() + before.size()) % before.size(), section, key);

    const IniFile ini(path);
    CheckReads(ini, section, key);
    section = UsableName(section, "Section");
    key = UsableName(key, "Key");
    CheckReads(ini, section, key);

    FuzzCheck(ini.WriteString(section, key, value), "the write succeeds");
    QString clean = value;
    clean.replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
    FuzzCheck(ini.ReadString(section, key, QStringLiteral("\x01none")) == clean.trimmed(),
              "the written value reads back");
    CheckReads(ini, section, key);

    QFile file(path);
    FuzzCheck(file.open(QIODevice::ReadOnly), "cannot read the settings file");
    CheckLinesKept(before, LinesOf(file.readAll()), section, key + QLatin1Char('=') + clean);
    return 0;
}
