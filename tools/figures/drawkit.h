#pragma once
// Drawing helpers shared by the figures: the fonts, text placement, cables and connectors, all in
// one flat style.

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPainterPath>
#include <QPoint>
#include <QRect>
#include <QString>

class QPainter;

namespace figures {

// Registers DejaVu Sans (regular and bold) from the font files themselves, so that the pictures do not
// depend on the machine's default font. False, with the reason, when a file is missing.
bool LoadFigureFonts(QString& error);
QFont FigureFont(int pixelSize, bool bold = false);

// A white picture of the given size.
QImage NewCanvas(QSize size);
// Antialiased painting, the same on every run.
void PreparePainter(QPainter& painter);

void DrawText(QPainter& painter, const QRect& box, int alignment, const QString& text, const QFont& font,
              QColor colour);

// One line made of pieces in different colours, centred in box.
struct TextPiece {
    QString text;
    QColor colour;
};
void DrawCentredPieces(QPainter& painter, const QRect& box, const QFont& font,
                       std::initializer_list<TextPiece> pieces);

// A cable: a dark edge around a coloured core.
void DrawCable(QPainter& painter, const QPainterPath& path, QColor colour, qreal width = 8);
// A round socket seen from the front, with a coloured ring naming its kind.
void DrawRoundSocket(QPainter& painter, QPoint centre, int radius, QColor ring);
// A cable's plug pushed into a round socket, in the cable's colour.
void DrawRoundPlug(QPainter& painter, QPoint centre, int radius, QColor colour);
// A small rectangular port on a case edge.
void DrawPort(QPainter& painter, const QRect& rect);
// A filled triangle pointing from 'from' towards 'to' (an arrow head whose tip is 'to').
void DrawArrowHead(QPainter& painter, QPointF from, QPointF to, qreal size, QColor colour);

QColor Darker(QColor colour, int percent = 140);

} // namespace figures
