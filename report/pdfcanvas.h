#pragma once
// Drawing a document on PDF pages in points (1/72 inch): text, rules and filled boxes, and the flow
// of blocks onto pages, each page with the same decoration (banner, footer). The painter works in
// the PDF writer's device pixels, so that fonts keep their point sizes and charts drawn as pictures
// play back at the writer's resolution; every coordinate given here is in points.

#include <QColor>
#include <QFont>
#include <QRect>
#include <QRectF>
#include <QString>
#include <functional>
#include <vector>

class QPainter;
class QPdfWriter;

class TPdfCanvas {
public:
    TPdfCanvas(QPainter& painter, double devicePerPoint) : m_painter(painter), m_scale(devicePerPoint) {}

    QPainter& Painter() const { return m_painter; }
    // A box in points as the painter's device pixels.
    QRect ToDevice(const QRectF& points) const;
    double TextWidth(const QString& text, const QFont& font) const;
    double LineHeight(const QFont& font) const;

    void Text(const QRectF& box, const QString& text, const QFont& font,
              int flags = Qt::AlignLeft | Qt::AlignVCenter, const QColor& colour = Qt::black) const;
    // The same, the font made smaller (down to 6 points) where the text would not fit the box.
    void FitText(const QRectF& box, const QString& text, QFont font, int flags,
                 const QColor& colour = Qt::black) const;
    void Fill(const QRectF& box, const QColor& colour) const;
    void Frame(const QRectF& box, const QColor& colour, double width = 0.5) const;
    void Rule(QPointF from, QPointF to, const QColor& colour = Qt::black, double width = 0.5) const;

private:
    QPointF Device(QPointF points) const { return points * m_scale; }

    QPainter& m_painter;
    double m_scale;
};

// The document's fonts: a sans-serif at a point size, bold or not; a fixed-pitch one for hex digits.
QFont PdfFont(double pointSize, bool bold = false);
QFont PdfFixedFont(double pointSize);

// A part of the document that stays whole on one page.
struct TPdfBlock {
    double height = 0.0; // points
    std::function<void(const TPdfCanvas&, const QRectF&)> draw;
    bool startsPage = false;
};

// What every page carries besides its blocks, drawn once the page count is known.
using TPdfPageDecoration =
    std::function<void(const TPdfCanvas&, const QRectF& page, int pageNumber, int pageCount)>;

// The page each block goes on: top to bottom in a content area `contentHeight` points tall, `gap`
// points apart, a block that does not fit (or starts a page) going to the next page. A block taller
// than the area gets a page of its own.
std::vector<int> FlowPdfBlocks(const std::vector<TPdfBlock>& blocks, double contentHeight, double gap);

// Draws the blocks on the writer's pages inside `content` (points), with `decorate` on every page.
// Returns the number of pages.
int DrawPdfPages(QPdfWriter& writer, QPainter& painter, const QRectF& content, double gap,
                 const std::vector<TPdfBlock>& blocks, const TPdfPageDecoration& decorate);
