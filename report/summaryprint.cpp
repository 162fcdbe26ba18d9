#include "report/summaryprint.h"

#include "base/uifonts.h"
#include "report/reportlines.h"
#include "verdict/verdict.h"
#include "verdict/verdicttext.h"

#include <QPainter>
#include <QPrinter>

const QString SummaryLineSample =
    QStringLiteral("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ123456789"
                   "!@#$%^&*()_+`-={}|[]\\:\";'<>?,./");

namespace {

// Breaks `text` between words into lines of at most `width` characters; a word longer than that
// is cut, so that no line runs past the margin.
QStringList BreakIntoLines(const QString& text, int width) {
    QStringList lines;
    QString line;
    for (const QString& word : text.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        if (!line.isEmpty() && line.size() + 1 + word.size() <= width) {
            line += QLatin1Char(' ') + word;
            continue;
        }
        if (!line.isEmpty())
            lines << line;
        line = word;
        while (line.size() > width) {
            lines << line.left(width);
            line = line.mid(width);
        }
    }
    if (!line.isEmpty())
        lines << line;
    return lines;
}

} // namespace

QStringList SummaryLines(const QStringList& reportLines, const TZRTestRec& rec,
                         const std::optional<TVerdictBasis>& basis) {
    QStringList lines = reportLines.mid(0, REPORT_SUMMARY_LINE_COUNT);
    if (basis) {
        const TRecordVerdict verdict = RecordVerdict(rec, basis->setting, basis->profile.tolerance);
        lines << QString();
        lines << BreakIntoLines(RecordVerdictLine(verdict, basis->profile.name, basis->setting.selected),
                                REPORT_TABLE_LINE_WIDTH);
    }
    return lines;
}

void PrintSummary(QPrinter& printer, const QStringList& lines) {
    QPainter canvas;
    if (!canvas.begin(&printer))
        return;
    canvas.setFont(ReportFont(10));
    const int h = canvas.fontMetrics().boundingRect(SummaryLineSample).height() + 10;
    const int pageWidth = canvas.device()->width();
    // At least one line a page, so that a page too small for the margins still prints every line once.
    const int linesPerPage = std::max(1, (canvas.device()->height() - 2 * SUMMARY_MARGIN) / h);

    int onPage = 0;
    for (const QString& text : lines) {
        if (onPage >= linesPerPage) {
            printer.newPage();
            onPage = 0;
        }
        const QRect cell(SUMMARY_MARGIN, SUMMARY_MARGIN + onPage * h, pageWidth - 2 * SUMMARY_MARGIN, h);
        canvas.save();
        canvas.setClipRect(cell);
        canvas.drawText(cell, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, text);
        canvas.restore();
        ++onPage;
    }
    canvas.end();
}
