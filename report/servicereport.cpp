#include "report/servicereport.h"

#include "base/global.h"
#include "records/recordimage.h"
#include "report/loadresultstable.h"
#include "report/reportlines.h"
#include "report/servicereportparts.h"
#include "report/wholefile.h"

#include <QBuffer>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <algorithm>
#include <array>

const QString SimulatedAnalyzerMark = QStringLiteral("SIMULATED ANALYZER: not a test of a real device");

namespace {

constexpr double SideMargin = 42.0; // points, about 15 mm
constexpr double TopMargin = 34.0;
constexpr double BottomMargin = 22.0;
constexpr double FooterHeight = 26.0;
constexpr double BannerHeight = 22.0;
constexpr double BlockGap = 12.0;
const QColor BannerRed(0xc0, 0x10, 0x10);

QRectF Banner(const QRectF& page) {
    return QRectF(SideMargin, TopMargin, page.width() - 2 * SideMargin, BannerHeight);
}

QRectF Footer(const QRectF& page) {
    return QRectF(SideMargin, page.height() - BottomMargin - FooterHeight, page.width() - 2 * SideMargin,
                  FooterHeight);
}

void DrawBanner(const TPdfCanvas& canvas, const QRectF& box) {
    canvas.Fill(box, QColor(0xfd, 0xec, 0xec));
    canvas.Frame(box, BannerRed, 1.2);
    canvas.Text(box, SimulatedAnalyzerMark, PdfFont(11, true), Qt::AlignCenter, BannerRed);
}

// The page number, the record's fingerprint, and which test the page belongs to.
void DrawFooter(const TPdfCanvas& canvas, const QRectF& box, const QString& sha256, const QString& test,
                int page, int pages, const QLocale& locale) {
    canvas.Rule(box.topLeft(), box.topRight(), PdfRule);
    const QRectF first(box.left(), box.top() + 3, box.width(), 11);
    const QRectF second = first.translated(0, 11);
    const QString label = QStringLiteral("Record SHA-256: ");
    canvas.Text(first, label, PdfFont(7), Qt::AlignLeft | Qt::AlignVCenter, PdfGrey);
    canvas.Text(first.adjusted(canvas.TextWidth(label, PdfFont(7)), 0, 0, 0), sha256, PdfFixedFont(7),
                Qt::AlignLeft | Qt::AlignVCenter, PdfGrey);
    canvas.Text(first, QStringLiteral("Page %1 of %2").arg(locale.toString(page), locale.toString(pages)),
                PdfFont(8, true), Qt::AlignRight | Qt::AlignVCenter);
    canvas.Text(second, test, PdfFont(7), Qt::AlignLeft | Qt::AlignVCenter, PdfGrey);
}

} // namespace

bool UsesLetterPaper(const QLocale& locale) {
    static constexpr std::array Letter{
        QLocale::UnitedStates, QLocale::Canada,
        QLocale::Mexico,       QLocale::PuertoRico,
        QLocale::Philippines,  QLocale::Chile,
        QLocale::Colombia,     QLocale::Venezuela,
        QLocale::CostaRica,    QLocale::Guatemala,
        QLocale::Panama,       QLocale::ElSalvador,
        QLocale::Nicaragua,    QLocale::DominicanRepublic,
    };
    return std::find(Letter.begin(), Letter.end(), locale.territory()) != Letter.end();
}

QByteArray BuildServiceReportPdf(const TZRTestRec& rec, const std::optional<TVerdictBasis>& verdict,
                                 const QLocale& locale) {
    const QStringList reportLines = BuildReportLines(rec, ComputeLoadResultsTable(rec), locale);
    const QString sha256 = RecordSha256(rec);
    const bool simulated = rec.MadeBySimulatedAnalyzer();
    const QString device = PrintableText(rec.GetDeviceInfo(diDeviceID)).trimmed();
    const QString test = QStringLiteral("%1 %2 service report of device %3, tested %4")
                             .arg(ProgramName, QStringLiteral(CORVEX_VERSION),
                                  device.isEmpty() ? QStringLiteral("\u2013") : device,
                                  FormatStampDateTime(rec.TestDateTime(), locale));

    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setPageLayout(
            QPageLayout(QPageSize(UsesLetterPaper(locale) ? QPageSize::Letter : QPageSize::A4),
                        QPageLayout::Portrait, QMarginsF()));
        writer.setCreator(ProgramName + QStringLiteral(" ") + QStringLiteral(CORVEX_VERSION));
        writer.setTitle(QStringLiteral("Defibrillator service report") +
                        (device.isEmpty() ? QString() : QStringLiteral(": ") + device));

        // The first page is the record to file and sign; the waveforms follow on pages of their own.
        std::vector<TPdfBlock> blocks{ReportHeaderBlock(rec, locale), ResultsTableBlock(rec, reportLines),
                                      VerdictBlock(rec, verdict, locale), SignatureBlock()};
        for (TPdfBlock& block : WaveformBlocks(rec, locale))
            blocks.push_back(std::move(block));

        const QRectF page(QPointF(0, 0), writer.pageLayout().fullRect(QPageLayout::Point).size());
        const double top = simulated ? Banner(page).bottom() + BlockGap : TopMargin;
        const QRectF content(SideMargin, top, page.width() - 2 * SideMargin,
                             Footer(page).top() - BlockGap - top);
        QPainter painter(&writer);
        DrawPdfPages(writer, painter, content, BlockGap, blocks,
                     [&](const TPdfCanvas& canvas, const QRectF& sheet, int number, int count) {
                         if (simulated)
                             DrawBanner(canvas, Banner(sheet));
                         DrawFooter(canvas, Footer(sheet), sha256, test, number, count, locale);
                     });
        painter.end();
    }
    return bytes;
}

void SaveServiceReportPdf(const QString& fileName, const TZRTestRec& rec,
                          const std::optional<TVerdictBasis>& verdict, const QLocale& locale) {
    WriteWholeFile(fileName, BuildServiceReportPdf(rec, verdict, locale));
}

QByteArray DrawServiceReport(const TZRTestRec& rec, const std::optional<TVerdictBasis>& verdict) {
    return BuildServiceReportPdf(rec, verdict);
}
