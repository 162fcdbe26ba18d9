#include "report/pdfcanvas.h"

#include <QFontMetricsF>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <algorithm>

QRect TPdfCanvas::ToDevice(const QRectF& points) const {
    return QRectF(Device(points.topLeft()), Device(points.bottomRight())).toRect();
}

double TPdfCanvas::TextWidth(const QString& text, const QFont& font) const {
    return QFontMetricsF(font, m_painter.device()).horizontalAdvance(text) / m_scale;
}

double TPdfCanvas::LineHeight(const QFont& font) const {
    return QFontMetricsF(font, m_painter.device()).height() / m_scale;
}

void TPdfCanvas::Text(const QRectF& box, const QString& text, const QFont& font, int flags,
                      const QColor& colour) const {
    m_painter.setFont(font);
    m_painter.setPen(colour);
    m_painter.drawText(QRectF(Device(box.topLeft()), Device(box.bottomRight())), flags, text);
}

void TPdfCanvas::FitText(const QRectF& box, const QString& text, QFont font, int flags,
                         const QColor& colour) const {
    constexpr double SmallestPoints = 6.0;
    const QRectF device(Device(box.topLeft()), Device(box.bottomRight()));
    auto fits = [&] {
        const QRectF needed = QFontMetricsF(font, m_painter.device()).boundingRect(device, flags, text);
        return needed.width() <= device.width() + 0.5 && needed.height() <= device.height() + 0.5;
    };
    while (font.pointSizeF() > SmallestPoints && !fits())
        font.setPointSizeF(std::max(SmallestPoints, font.pointSizeF() - 0.5));
    Text(box, text, font, flags, colour);
}

void TPdfCanvas::Fill(const QRectF& box, const QColor& colour) const {
    m_painter.fillRect(QRectF(Device(box.topLeft()), Device(box.bottomRight())), colour);
}

void TPdfCanvas::Frame(const QRectF& box, const QColor& colour, double width) const {
    m_painter.setPen(QPen(colour, width * m_scale));
    m_painter.setBrush(Qt::NoBrush);
    m_painter.drawRect(QRectF(Device(box.topLeft()), Device(box.bottomRight())));
}

void TPdfCanvas::Rule(QPointF from, QPointF to, const QColor& colour, double width) const {
    m_painter.setPen(QPen(colour, width * m_scale, Qt::SolidLine, Qt::FlatCap));
    m_painter.drawLine(Device(from), Device(to));
}

QFont PdfFont(double pointSize, bool bold) {
    QFont font;
    // Any letter spacing turns the font's ligatures off, and one of 0.02 device pixels cannot be seen:
    // "fi" stays two letters, so the document's text can be searched and copied.
    font.setLetterSpacing(QFont::AbsoluteSpacing, 0.02);
    font.setFamilies({QStringLiteral("DejaVu Sans"), QStringLiteral("Liberation Sans")});
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(pointSize);
    font.setBold(bold);
    return font;
}

QFont PdfFixedFont(double pointSize) {
    QFont font;
    font.setFamilies({QStringLiteral("DejaVu Sans Mono"), QStringLiteral("Liberation Mono")});
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    font.setPointSizeF(pointSize);
    return font;
}

std::vector<int> FlowPdfBlocks(const std::vector<TPdfBlock>& blocks, double contentHeight, double gap) {
    std::vector<int> pages;
    int page = 0;
    double used = 0.0; // on the current page, 0 while it is empty
    for (const TPdfBlock& block : blocks) {
        const double needed = used > 0.0 ? used + gap + block.height : block.height;
        if (used > 0.0 && (block.startsPage || needed > contentHeight)) {
            ++page;
            used = block.height;
        } else {
            used = needed;
        }
        pages.push_back(page);
    }
    return pages;
}

int DrawPdfPages(QPdfWriter& writer, QPainter& painter, const QRectF& content, double gap,
                 const std::vector<TPdfBlock>& blocks, const TPdfPageDecoration& decorate) {
    const TPdfCanvas canvas(painter, writer.resolution() / 72.0);
    const QRectF page(QPointF(0, 0), writer.pageLayout().fullRect(QPageLayout::Point).size());
    const std::vector<int> onPage = FlowPdfBlocks(blocks, content.height(), gap);
    const int pageCount = onPage.empty() ? 1 : onPage.back() + 1;

    size_t next = 0;
    for (int number = 0; number < pageCount; ++number) {
        if (number > 0)
            writer.newPage();
        double top = content.top();
        for (; next < blocks.size() && onPage[next] == number; ++next) {
            const TPdfBlock& block = blocks[next];
            const QRectF box(content.left(), top, content.width(), block.height);
            painter.save();
            block.draw(canvas, box);
            painter.restore();
            top += block.height + gap;
        }
        painter.save();
        decorate(canvas, page, number + 1, pageCount);
        painter.restore();
    }
    return pageCount;
}
