// The PDF service report, read back with poppler-utils: the report's figures and the verdict in its
// text, every page numbered and tied to the record, the waveforms drawn as vectors.
#include "base/global.h"
#include "records/recordimage.h"
#include "report/reportlines.h"
#include "report/servicereport.h"
#include "tests/support/pdftools.h"
#include "tests/support/recordbuilder.h"
#include "verdict/verdict.h"
#include "verdict/verdicttext.h"
#include "waveform/wavetexts.h"

#include <QImage>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class ServiceReport : public ::testing::Test {
protected:
    void SetUp() override {
        if (!HasPoppler())
            GTEST_SKIP() << "poppler-utils is not installed";
    }
    // The document written to a file of the test's folder.
    QString Write(const char* name, const TZRTestRec& rec, const std::optional<TVerdictBasis>& verdict,
                  const QLocale& locale) {
        const QString path = dir.filePath(QString::fromLatin1(name));
        WriteBytes(path, BuildServiceReportPdf(rec, verdict, locale));
        return path;
    }

    QTemporaryDir dir;
};

// Declares what each load received, except 100 ohms, declared a third higher: that load fails.
TVerdictBasis OneLoadFails(const TZRTestRec& rec) {
    TVerdictBasis basis;
    basis.profile.name = QStringLiteral("Bench profile");
    basis.setting.selected = 200;
    for (int load = 0; load < LOAD_COUNT; ++load)
        basis.setting.declared[load] =
            std::round(DeliveredEnergy(rec.Loads[load], load) * (load == 3 ? 1.33 : 1.0));
    basis.profile.settings = {basis.setting};
    return basis;
}

// Page `page` (from 1) as pdftoppm draws it at `dpi`; a null image when it could not.
QImage PdfPageImage(const QString& path, int page, int dpi) {
    QTemporaryDir dir;
    const QString prefix = dir.filePath(QStringLiteral("page"));
    const QString number = QString::number(page);
    PopplerOutput(QStringLiteral("pdftoppm"),
                  {QStringLiteral("-r"), QString::number(dpi), QStringLiteral("-f"), number,
                   QStringLiteral("-l"), number, QStringLiteral("-png"), QStringLiteral("-singlefile"), path,
                   prefix});
    return QImage(prefix + QStringLiteral(".png"));
}

// Reads the lines of a PDF's text in order: each line asked for is looked for after the last one found.
class TextLines {
public:
    explicit TextLines(const QString& text) : m_lines(text.split(QLatin1Char('\n'))) {}
    // The next line that starts with `label` (after spaces), simplified; empty when none does.
    QString Next(const QString& label) {
        for (; m_next < m_lines.size(); ++m_next)
            if (m_lines[m_next].trimmed().startsWith(label + QLatin1Char(' ')))
                return m_lines[m_next++].simplified();
        return QString();
    }

private:
    QStringList m_lines;
    qsizetype m_next = 0;
};

// Pixels of `area` drawn in `rgb`, whole or blended with the white page (a thin line at a low
// resolution covers part of a pixel): colours on the way from white to `rgb`, half way at least.
int PixelsOfColour(const QImage& image, const QRect& area, SeriesRgb rgb) {
    const int span = (255 - rgb.r) + (255 - rgb.g) + (255 - rgb.b);
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) {
            const QColor c = image.pixelColor(x, y);
            const double share = (765.0 - c.red() - c.green() - c.blue()) / span;
            auto off = [share](int channel, int series) {
                return std::abs(channel - (share * series + (1 - share) * 255));
            };
            if (share >= 0.3 && off(c.red(), rgb.r) + off(c.green(), rgb.g) + off(c.blue(), rgb.b) < 40)
                ++count;
        }
    return count;
}

} // namespace

TEST_F(ServiceReport, ShowsEveryFigureOfTheReportAndTheVerdictInTheLocale) {
    const auto rec = MakeFullRecord();
    const TVerdictBasis basis = OneLoadFails(*rec);
    for (const QLocale& locale : {QLocale::c(), QLocale(QLocale::German, QLocale::Germany)}) {
        SCOPED_TRACE(locale.name().toStdString());
        const QString text = PdfText(Write("report.pdf", *rec, basis, locale));
        const QStringList reportLines = BuildReportLines(*rec, ComputeLoadResultsTable(*rec), locale);
        TextLines lines(text);
        int figures = 0;
        for (const ReportResultRow& row : ReportResultRows(reportLines)) {
            if (row.heading)
                continue;
            QStringList expected{row.label};
            for (const QString& cell : row.cells)
                expected << cell;
            EXPECT_EQ(lines.Next(row.label), expected.join(QLatin1Char(' ')));
            figures += LOAD_COUNT;
        }
        EXPECT_EQ(figures, 19 * LOAD_COUNT);

        const TRecordVerdict verdict = RecordVerdict(*rec, basis.setting, basis.profile.tolerance);
        for (const TLoadVerdict& load : verdict.loads)
            EXPECT_EQ(lines.Next(LoadName(load.load)),
                      LoadVerdictCells(load, true, locale).join(QLatin1Char(' ')));
        // The overall verdict stands alone at the left, big, beside the sentence that explains it.
        const QRegularExpression bigWord(QStringLiteral("\\n\\s*FAIL\\s{4,}"));
        EXPECT_TRUE(text.contains(bigWord));
        EXPECT_TRUE(QString(text)
                        .replace(bigWord, QStringLiteral(" "))
                        .simplified()
                        .contains(RecordVerdictLine(verdict, basis.profile.name, basis.setting.selected)));
        EXPECT_TRUE(text.contains(FormatStampDate(rec->TestDateTime(), locale)));
    }

    // Without a profile no verdict is claimed.
    const QString unchecked = PdfText(Write("unchecked.pdf", *rec, std::nullopt, QLocale::c()));
    EXPECT_TRUE(unchecked.contains(QStringLiteral("Not checked: no defibrillator profile was chosen")));
    EXPECT_FALSE(unchecked.contains(QStringLiteral("PASS")) || unchecked.contains(QStringLiteral("FAIL")));
}

TEST_F(ServiceReport, EveryPageIsNumberedAndTiedToTheRecordAndASimulatedTestSaysSo) {
    auto rec = MakeFullRecord();
    const QString real = Write("real.pdf", *rec, std::nullopt, QLocale::c());
    SetStatus(*rec, SIMULATED_ANALYZER_ID, DateStamp{0, 0, 8, 15, 1, 27});
    const QString simulated =
        Write("simulated.pdf", *rec, std::nullopt, QLocale(QLocale::English, QLocale::UnitedStates));

    const QStringList pages = PdfText(simulated).split(QLatin1Char('\f'), Qt::SkipEmptyParts);
    ASSERT_EQ(pages.size(), ReadPdfInfo(simulated).pages);
    EXPECT_EQ(pages.size(),
              3); // the record to sign, then the waveforms: all loads and four small ones, three more
    for (int page = 0; page < pages.size(); ++page) {
        SCOPED_TRACE(page + 1);
        EXPECT_TRUE(pages[page].contains(QStringLiteral("Page %1 of %2").arg(page + 1).arg(pages.size())));
        EXPECT_TRUE(pages[page].contains(RecordSha256(*rec)));
        EXPECT_TRUE(pages[page].contains(SimulatedAnalyzerMark));
    }
    EXPECT_FALSE(PdfText(real).contains(SimulatedAnalyzerMark));
    // The paper follows the locale: Letter in the United States, A4 elsewhere.
    EXPECT_EQ(ReadPdfInfo(simulated).width, 612);
    EXPECT_EQ(ReadPdfInfo(simulated).height, 792);
    EXPECT_EQ(ReadPdfInfo(real).width, 595);
    EXPECT_EQ(ReadPdfInfo(real).height, 842);
}

TEST_F(ServiceReport, WaveformsAreVectorGraphicsWithEveryLoadInItsColour) {
    const auto rec = MakeFullRecord();
    const QString path = Write("waves.pdf", *rec, std::nullopt, QLocale::c());
    // No picture anywhere, every font embedded.
    EXPECT_EQ(
        PopplerOutput(QStringLiteral("pdfimages"), {QStringLiteral("-list"), path}).count(QLatin1Char('\n')),
        2);
    const QStringList fonts =
        PopplerOutput(QStringLiteral("pdffonts"), {path}).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_GT(fonts.size(), 2);
    for (const QString& font : fonts.mid(2))
        EXPECT_TRUE(
            font.contains(QRegularExpression(QStringLiteral("\\s+yes\\s+\\w+\\s+\\w+\\s+\\d+\\s+\\d+$"))))
            << font.toStdString();

    // Page 2: the chart of all loads in the upper half (its legend, at the right, left out), drawn in
    // the viewer's series colours, and the small charts below, the first one of 25 ohms in the first.
    const QImage page = PdfPageImage(path, 2, 50);
    ASSERT_FALSE(page.isNull());
    const QRect overlay(0, 0, page.width() * 3 / 4, page.height() / 2);
    int linePixels = 0;
    for (int series = 0; series < LOAD_COUNT; ++series)
        linePixels += PixelsOfColour(page, overlay, SeriesColour(series));
    EXPECT_GT(linePixels, 200);
    const QRect small(0, page.height() / 2, page.width(), page.height() / 2);
    EXPECT_GT(PixelsOfColour(page, small, SeriesColour(0)), 100);
}
