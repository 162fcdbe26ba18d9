// The service report's title, its header with the device and the test, the section headings and the
// technician's lines.
#include "base/global.h"
#include "report/reportlines.h"
#include "report/servicereportparts.h"

#include <array>

const QColor PdfNavy(0x1f, 0x3a, 0x68);
const QColor PdfGrey(0x55, 0x5f, 0x6d);
const QColor PdfRule(0x9a, 0xa5, 0xb8);
const QColor PdfShade(0xee, 0xf1, 0xf6);

namespace {

constexpr double TitleHeight = 24.0;
constexpr double ColumnTitleHeight = 15.0;
constexpr double InfoRowHeight = 13.0;
constexpr double InfoLabelWidth = 80.0;
constexpr double ColumnGap = 18.0;
constexpr int InfoRows = 6;
constexpr double HeadingHeight = 20.0;

struct InfoField {
    QString label;
    QString value;
};

// Fields of a device information slot as the report shows them, a dash for an empty one.
QString InfoValue(const QString& text) {
    const QString printable = PrintableText(text).trimmed();
    return printable.isEmpty() ? QStringLiteral("\u2013") : printable;
}

void DrawInfoColumn(const TPdfCanvas& canvas, double left, double top, double width, const QString& title,
                    const std::vector<InfoField>& fields) {
    canvas.Text(QRectF(left, top, width, ColumnTitleHeight), title, PdfFont(9, true),
                Qt::AlignLeft | Qt::AlignVCenter, PdfNavy);
    double y = top + ColumnTitleHeight;
    for (const InfoField& field : fields) {
        const QRectF row(left, y, width, InfoRowHeight);
        canvas.Text(row.adjusted(0, 0, -(width - InfoLabelWidth), 0), field.label, PdfFont(8.5),
                    Qt::AlignLeft | Qt::AlignVCenter, PdfGrey);
        canvas.FitText(row.adjusted(InfoLabelWidth, 0, 0, 0), field.value, PdfFont(9),
                       Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine);
        canvas.Rule(row.bottomLeft() + QPointF(InfoLabelWidth, 0), row.bottomRight(), PdfShade);
        y += InfoRowHeight;
    }
}

int TestedLoadCount(const TZRTestRec& rec) {
    int tested = 0;
    for (const TZRTest& load : rec.Loads)
        tested += load.HasData != 0 ? 1 : 0;
    return tested;
}

} // namespace

double DrawSectionHeading(const TPdfCanvas& canvas, const QRectF& box, const QString& title) {
    const QRectF line(box.left(), box.top(), box.width(), HeadingHeight - 5);
    canvas.Text(line, title, PdfFont(11, true), Qt::AlignLeft | Qt::AlignVCenter, PdfNavy);
    canvas.Rule(line.bottomLeft(), line.bottomRight(), PdfNavy, 0.6);
    return HeadingHeight;
}

TPdfBlock ReportHeaderBlock(const TZRTestRec& rec, const QLocale& locale) {
    auto info = [&rec](TDeviceInfoSlot slot) { return InfoValue(rec.GetDeviceInfo(slot)); };
    const DateStamp stamp = rec.TestDateTime();
    std::vector<InfoField> device{
        {QStringLiteral("Device ID"), info(diDeviceID)},
        {QStringLiteral("Manufacturer"), info(diManufacturer)},
        {QStringLiteral("Model"), info(diModel)},
        {QStringLiteral("Serial No."), info(diSerialNo)},
        {QStringLiteral("Facility"), info(diFacility)},
        {QStringLiteral("Location"), info(diLocation)},
    };
    std::vector<InfoField> test{
        {QStringLiteral("Date of test"), FormatStampDate(stamp, locale)},
        {QStringLiteral("Time of test"), FormatStampTime(stamp, locale)},
        {QStringLiteral("Analyzer ID"), InfoValue(rec.AnalyzerID())},
        {QStringLiteral("Tech ID"), info(diTechID)},
        {QStringLiteral("Loads tested"),
         QStringLiteral("%1 of %2").arg(locale.toString(TestedLoadCount(rec)), locale.toString(LOAD_COUNT))},
        {QStringLiteral("Test type"), QStringLiteral("IEC 60601-2-4 2002(E), 6.8.3")},
    };
    TPdfBlock block;
    block.height = TitleHeight + 8 + ColumnTitleHeight + InfoRows * InfoRowHeight;
    block.draw = [device, test](const TPdfCanvas& canvas, const QRectF& box) {
        const QRectF title(box.left(), box.top(), box.width(), TitleHeight);
        canvas.Text(title, QStringLiteral("Defibrillator Service Report"), PdfFont(17, true),
                    Qt::AlignLeft | Qt::AlignVCenter, PdfNavy);
        canvas.Text(title, QStringLiteral("Corvex defibrillator analyzer\nVelmora Systems Inc."), PdfFont(8),
                    Qt::AlignRight | Qt::AlignVCenter, PdfGrey);
        canvas.Rule(title.bottomLeft() + QPointF(0, 2), title.bottomRight() + QPointF(0, 2), PdfNavy, 1.2);
        const double top = title.bottom() + 8;
        const double column = (box.width() - ColumnGap) / 2;
        DrawInfoColumn(canvas, box.left(), top, column, QStringLiteral("Device under test"), device);
        DrawInfoColumn(canvas, box.left() + column + ColumnGap, top, column, QStringLiteral("Test"), test);
    };
    return block;
}

TPdfBlock SignatureBlock() {
    constexpr double WriteHeight = 34.0;
    constexpr double CaptionHeight = 12.0;
    TPdfBlock block;
    block.height = HeadingHeight + WriteHeight + CaptionHeight;
    block.draw = [](const TPdfCanvas& canvas, const QRectF& box) {
        DrawSectionHeading(canvas, box, QStringLiteral("Technician"));
        const std::array<std::pair<const char*, double>, 3> lines{
            {{"Technician's name", 0.40}, {"Signature", 0.38}, {"Date", 0.22}}};
        constexpr double Gap = 16.0;
        const double usable = box.width() - Gap * (lines.size() - 1);
        double left = box.left();
        const double y = box.top() + HeadingHeight + WriteHeight;
        for (const auto& [caption, share] : lines) {
            const double width = usable * share;
            canvas.Rule(QPointF(left, y), QPointF(left + width, y), Qt::black, 0.6);
            canvas.Text(QRectF(left, y + 1, width, CaptionHeight), QString::fromLatin1(caption), PdfFont(8),
                        Qt::AlignLeft | Qt::AlignTop, PdfGrey);
            left += width + Gap;
        }
    };
    return block;
}
