#include "tests/report/golden.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

QList<QByteArray> SplitLines(const QByteArray& text) {
    QList<QByteArray> lines = text.split('\n');
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast(); // the line feed that ends the last line
    return lines;
}

QString Visible(const QByteArray& line) {
    QString shown;
    for (const QChar c : QString::fromUtf8(line)) {
        if (c == QLatin1Char('\r'))
            shown += QStringLiteral("\\r");
        else if (c.unicode() < 0x20)
            shown += QStringLiteral("\\x%1").arg(c.unicode(), 2, 16, QLatin1Char('0'));
        else
            shown += c;
    }
    return QLatin1Char('|') + shown + QLatin1Char('|');
}

} // namespace

QByteArray ReportText(const QStringList& lines) {
    QByteArray text;
    for (const QString& line : lines)
        text += line.toUtf8() + '\n';
    return text;
}

QString TestDataPath(const QString& relativePath) {
    return QStringLiteral(CORVEX_TEST_DATA_DIR "/") + relativePath;
}

::testing::AssertionResult SameText(const QByteArray& expected, const QByteArray& actual) {
    if (expected == actual)
        return ::testing::AssertionSuccess();
    const QList<QByteArray> want = SplitLines(expected);
    const QList<QByteArray> got = SplitLines(actual);
    qsizetype i = 0;
    while (i < want.size() && i < got.size() && want[i] == got[i])
        ++i;
    auto result = ::testing::AssertionFailure();
    if (i < want.size() || i < got.size()) {
        result << "first difference at line " << i + 1 << "\n  expected: "
               << (i < want.size() ? Visible(want[i]).toStdString() : std::string("(no such line)"))
               << "\n  actual:   "
               << (i < got.size() ? Visible(got[i]).toStdString() : std::string("(no such line)")) << "\n";
    } else {
        result << "the texts differ only in their final line feed\n";
    }
    result << "(expected " << want.size() << " lines, " << expected.size() << " bytes; actual " << got.size()
           << " lines, " << actual.size() << " bytes)";
    return result;
}

::testing::AssertionResult MatchesGolden(const QString& relativePath, const QByteArray& actual) {
    const QString path = TestDataPath(relativePath);
    if (qEnvironmentVariableIntValue("CORVEX_UPDATE_GOLDEN") == 1) {
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(actual) != actual.size())
            return ::testing::AssertionFailure() << "cannot write " << path.toStdString();
        return ::testing::AssertionSuccess() << "wrote " << path.toStdString();
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return ::testing::AssertionFailure() << "no golden file " << path.toStdString()
                                             << " (make it with CORVEX_UPDATE_GOLDEN=1 and check it by hand)";
    auto result = SameText(file.readAll(), actual);
    if (!result)
        result << "\ngolden file: " << path.toStdString()
               << "\nif the change is intended, run again with CORVEX_UPDATE_GOLDEN=1 and review the diff";
    return result;
}
