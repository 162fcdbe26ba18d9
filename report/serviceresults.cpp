// The service report's tables: the report's results section for every tested load, and the verdict.
#include "report/reportlines.h"
#include "report/servicereportparts.h"
#include "report/verdictchooser.h"
#include "verdict/verdicttext.h"

namespace {

constexpr double HeadingHeight = 20.0;
constexpr double HeaderRowHeight = 15.0;
constexpr double ValueRowHeight = 11.5;
constexpr double SectionRowHeight = 13.0;
constexpr double BlankRowHeight = 4.0;
constexpr double LabelColumnWidth = 150.0;
constexpr double MaxLoadColumnWidth = 62.0;
constexpr double CellPadding = 5.0;
constexpr double TableFontSize = 8.5;

double RowHeight(const ReportResultRow& row) {
    if (!row.heading)
        return ValueRowHeight;
    return row.label.isEmpty() ? BlankRowHeight : SectionRowHeight;
}

// "--- FIRST PHASE ---" as a section title: "FIRST PHASE".
QString SectionTitle(const QString& label) {
    QString title = label;
    title.remove(QLatin1Char('-'));
    return title.trimmed();
}

// One row of text cells, each inside its column with padding; `alignments` per column.
void DrawCells(const TPdfCanvas& canvas, const QRectF& row, const std::vector<double>& widths,
               const QStringList& cells, const QFont& font, const std::vector<int>& alignments,
               const QColor& colour = Qt::black) {
    double left = row.left();
    for (size_t column = 0; column < widths.size(); ++column) {
        const QRectF cell(left + CellPadding, row.top(), widths[column] - 2 * CellPadding, row.height());
        canvas.Text(cell, cells.value(static_cast<qsizetype>(column)), font,
                    alignments[column] | Qt::AlignVCenter | Qt::TextSingleLine, colour);
        left += widths[column];
    }
}

double Sum(const std::vector<double>& widths) {
    double total = 0.0;
    for (double w : widths)
        total += w;
    return total;
}

// The heading row of a table: bold navy texts over a navy rule.
void DrawHeaderRow(const TPdfCanvas& canvas, const QRectF& row, const std::vector<double>& widths,
                   const QStringList& cells, const std::vector<int>& alignments) {
    DrawCells(canvas, row, widths, cells, PdfFont(TableFontSize, true), alignments, PdfNavy);
    canvas.Rule(row.bottomLeft(), row.bottomLeft() + QPointF(Sum(widths), 0), PdfNavy, 0.8);
}

QString ToleranceText(const TTolerance& tolerance) {
    return QStringLiteral("within \u00b1%1 % or \u00b1%2 J of the declared energy, whichever is greater")
        .arg(JoulesText(tolerance.percent), JoulesText(tolerance.joules));
}

} // namespace

TPdfBlock ResultsTableBlock(const TZRTestRec& rec, const QStringList& reportLines) {
    const QList<ReportResultRow> rows = ReportResultRows(reportLines);
    std::vector<int> loads;
    for (int load = 0; load < LOAD_COUNT; ++load)
        if (rec.Loads[load].HasData != 0)
            loads.push_back(load);
    TPdfBlock block;
    block.height = HeadingHeight + HeaderRowHeight;
    for (const ReportResultRow& row : rows)
        block.height += RowHeight(row);
    block.draw = [rows, loads](const TPdfCanvas& canvas, const QRectF& box) {
        DrawSectionHeading(canvas, box, QStringLiteral("Results"));
        const double loadWidth =
            loads.empty()
                ? 0.0
                : std::min(MaxLoadColumnWidth, (box.width() - LabelColumnWidth) / double(loads.size()));
        std::vector<double> widths{LabelColumnWidth};
        std::vector<int> alignments{Qt::AlignLeft};
        QStringList header{loads.empty() ? QStringLiteral("No load was tested.")
                                         : QStringLiteral("TEST LOAD (ohms)")};
        for (int load : loads) {
            widths.push_back(loadWidth);
            alignments.push_back(Qt::AlignRight);
            header << QString::number(LoadOhms(load));
        }
        const double tableWidth = Sum(widths);
        double y = box.top() + HeadingHeight;
        DrawHeaderRow(canvas, QRectF(box.left(), y, tableWidth, HeaderRowHeight), widths, header, alignments);
        y += HeaderRowHeight;
        bool shaded = false;
        for (const ReportResultRow& row : rows) {
            const QRectF line(box.left(), y, tableWidth, RowHeight(row));
            y += line.height();
            if (row.heading) {
                shaded = false;
                canvas.Text(line.adjusted(CellPadding, 0, 0, 0), SectionTitle(row.label),
                            PdfFont(TableFontSize, true), Qt::AlignLeft | Qt::AlignBottom, PdfNavy);
                continue;
            }
            if (shaded)
                canvas.Fill(line, PdfShade);
            shaded = !shaded;
            QStringList cells{row.label};
            for (int load : loads)
                cells << row.cells[load];
            DrawCells(canvas, line, widths, cells, PdfFont(TableFontSize), alignments);
        }
        canvas.Rule(QPointF(box.left(), y), QPointF(box.left() + tableWidth, y), PdfRule);
    };
    return block;
}

TPdfBlock VerdictBlock(const TZRTestRec& rec, const std::optional<TVerdictBasis>& basis,
                       const QLocale& locale) {
    constexpr double NoteHeight = 16.0;
    TPdfBlock block;
    if (!basis) {
        block.height = HeadingHeight + NoteHeight;
        block.draw = [](const TPdfCanvas& canvas, const QRectF& box) {
            DrawSectionHeading(canvas, box, QStringLiteral("Verdict"));
            canvas.Text(QRectF(box.left(), box.top() + HeadingHeight, box.width(), NoteHeight),
                        QStringLiteral("Not checked: no defibrillator profile was chosen for this test."),
                        PdfFont(9), Qt::AlignLeft | Qt::AlignVCenter, PdfGrey);
        };
        return block;
    }

    constexpr double MarkHeight = 46.0;
    constexpr double MarkWidth = 150.0;
    constexpr double MarkGap = 8.0;
    constexpr double TableRowHeight = 12.0;
    const TRecordVerdict verdict = RecordVerdict(rec, basis->setting, basis->profile.tolerance);
    std::vector<QStringList> rows;
    std::vector<TLoadCheck> checks;
    for (const TLoadVerdict& load : verdict.loads) {
        rows.push_back(LoadVerdictCells(load, true, locale));
        checks.push_back(load.check);
    }
    const QString summary = RecordVerdictLine(verdict, basis->profile.name, basis->setting.selected);
    const QString rule = QStringLiteral("Each load passes when its delivered energy is ") +
                         ToleranceText(basis->profile.tolerance) + QStringLiteral(".");
    const QString word = OverallVerdictText(verdict.overall);
    const QColor colour = VerdictColour(verdict.overall);

    block.height = HeadingHeight + MarkHeight + MarkGap + HeaderRowHeight + LOAD_COUNT * TableRowHeight;
    block.draw = [=](const TPdfCanvas& canvas, const QRectF& box) {
        DrawSectionHeading(canvas, box, QStringLiteral("Verdict"));
        const QRectF mark(box.left(), box.top() + HeadingHeight, MarkWidth, MarkHeight);
        canvas.Fill(mark, colour);
        canvas.Text(mark, word, PdfFont(word.size() > 4 ? 15 : 26, true), Qt::AlignCenter, Qt::white);
        const QRectF text =
            QRectF(mark.right() + 12, mark.top(), box.right() - mark.right() - 12, MarkHeight);
        canvas.FitText(text.adjusted(0, 0, 0, -MarkHeight / 2), summary, PdfFont(9, true),
                       Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWordWrap);
        canvas.FitText(text.adjusted(0, MarkHeight / 2, 0, 0), rule, PdfFont(8),
                       Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWordWrap, PdfGrey);

        const std::vector<double> widths(LoadVerdictHeadings().size(),
                                         box.width() / LoadVerdictHeadings().size());
        std::vector<int> alignments(widths.size(), Qt::AlignRight);
        alignments.front() = Qt::AlignLeft;
        alignments.back() = Qt::AlignHCenter;
        double y = mark.bottom() + MarkGap;
        DrawHeaderRow(canvas, QRectF(box.left(), y, box.width(), HeaderRowHeight), widths,
                      LoadVerdictHeadings(), alignments);
        y += HeaderRowHeight;
        for (size_t i = 0; i < rows.size(); ++i) {
            const QRectF row(box.left(), y, box.width(), TableRowHeight);
            if (i % 2 == 1)
                canvas.Fill(row, PdfShade);
            const bool checked = checks[i] == TLoadCheck::Pass || checks[i] == TLoadCheck::Fail;
            QStringList cells = rows[i];
            if (checked) { // the result on its colour, white
                const QRectF result(row.right() - widths.back() + 1, row.top() + 1, widths.back() - 2,
                                    row.height() - 2);
                canvas.Fill(result, CheckColour(checks[i]));
                canvas.Text(result, cells.takeLast(), PdfFont(TableFontSize, true), Qt::AlignCenter,
                            Qt::white);
            }
            DrawCells(canvas, row, widths, cells, PdfFont(TableFontSize), alignments);
            y += TableRowHeight;
        }
        canvas.Rule(QPointF(box.left(), y), QPointF(box.right(), y), PdfRule);
    };
    return block;
}
