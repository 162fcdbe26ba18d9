#include "report/summaryprint.h"

#include "base/uifonts.h"

#include <QPainter>
#include <QPrinter>

const QString SummaryLineSample =
    QStringLiteral("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ123456789"
                   "!@#$%^&*()_+`-={}|[]\\:\";'<>?,./");

void PrintSummary(QPrinter& printer, const QStringList& reportLines) {
    QPainter canvas;
    if (!canvas.begin(&printer))
        return;
    canvas.setFont(ReportFont(10));
    const int h = canvas.fontMetrics().boundingRect(SummaryLineSample).height() + 10;
    const int pageWidth = canvas.device()->width();
    // At least one line a page, so that a page too small for the margins still prints every line once.
    const int linesPerPage = std::max(1, (canvas.device()->height() - 2 * SUMMARY_MARGIN) / h);

    int onPage = 0;
    for (int k = 0; k < SUMMARY_LINE_COUNT; ++k) {
        if (onPage >= linesPerPage) {
            printer.newPage();
            onPage = 0;
        }
        const QRect cell(SUMMARY_MARGIN, SUMMARY_MARGIN + onPage * h, pageWidth - 2 * SUMMARY_MARGIN, h);
        canvas.save();
        canvas.setClipRect(cell);
        canvas.drawText(cell, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, reportLines.value(k));
        canvas.restore();
        ++onPage;
    }
    canvas.end();
}
