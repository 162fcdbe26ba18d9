#include "tools/figures/drawkit.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QLineF>
#include <QPainter>
#include <QPolygonF>
#include <QStringList>
#include <algorithm>
#include <cmath>
#include <numbers>

namespace figures {
namespace {

const char* const kFontFolder = "/usr/share/fonts/truetype/dejavu/";
QString g_family;

} // namespace

bool LoadFigureFonts(QString& error) {
    for (const char* file : {"DejaVuSans.ttf", "DejaVuSans-Bold.ttf"}) {
        const QString path = QString::fromLatin1(kFontFolder) + QString::fromLatin1(file);
        const int id = QFontDatabase::addApplicationFont(path);
        if (id < 0) {
            error = QStringLiteral("cannot load %1 (Debian package fonts-dejavu-core)").arg(path);
            return false;
        }
        const QStringList families = QFontDatabase::applicationFontFamilies(id);
        if (!families.isEmpty())
            g_family = families.first();
    }
    return true;
}

QFont FigureFont(int pixelSize, bool bold) {
    QFont font(g_family);
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    // Unhinted outlines with grey antialiasing: the rendering then depends on the font file alone,
    // not on the machine's font configuration.
    font.setHintingPreference(QFont::PreferNoHinting);
    font.setStyleStrategy(
        QFont::StyleStrategy(QFont::PreferAntialias | QFont::NoSubpixelAntialias | QFont::NoFontMerging));
    font.setKerning(true);
    return font;
}

QImage NewCanvas(QSize size) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    return image;
}

void PreparePainter(QPainter& painter) {
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
}

void DrawText(QPainter& painter, const QRect& box, int alignment, const QString& text, const QFont& font,
              QColor colour) {
    painter.save();
    painter.setFont(font);
    painter.setPen(colour);
    painter.drawText(box, alignment, text);
    painter.restore();
}

void DrawCentredPieces(QPainter& painter, const QRect& box, const QFont& font,
                       std::initializer_list<TextPiece> pieces) {
    const QFontMetrics metrics(font);
    int width = 0;
    for (const TextPiece& piece : pieces)
        width += metrics.horizontalAdvance(piece.text);
    int x = box.left() + (box.width() - width) / 2;
    const int baseline = box.top() + (box.height() + metrics.ascent() - metrics.descent()) / 2;
    painter.save();
    painter.setFont(font);
    for (const TextPiece& piece : pieces) {
        painter.setPen(piece.colour);
        painter.drawText(QPoint(x, baseline), piece.text);
        x += metrics.horizontalAdvance(piece.text);
    }
    painter.restore();
}

QColor Darker(QColor colour, int percent) {
    return colour.darker(percent);
}

void DrawCable(QPainter& painter, const QPainterPath& path, QColor colour, qreal width) {
    painter.save();
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(Darker(colour, 170), width + 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawPath(path);
    painter.setPen(QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawPath(path);
    painter.restore();
}

void DrawRoundSocket(QPainter& painter, QPoint centre, int radius, QColor ring) {
    painter.save();
    painter.setPen(QPen(Darker(ring), 2));
    painter.setBrush(ring);
    painter.drawEllipse(centre, radius, radius);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0x2b, 0x2b, 0x2b));
    const int inner = radius * 7 / 10;
    painter.drawEllipse(centre, inner, inner);
    // Three contact holes around the centre, leaving the centre itself plain.
    painter.setBrush(QColor(0x9a, 0xa6, 0xb2));
    const int hole = std::max(2, radius / 8);
    for (int i = 0; i < 3; ++i) {
        const double angle = -std::numbers::pi / 2 + i * 2 * std::numbers::pi / 3;
        const QPointF at(centre.x() + std::cos(angle) * inner * 0.55,
                         centre.y() + std::sin(angle) * inner * 0.55);
        painter.drawEllipse(at, hole, hole);
    }
    painter.restore();
}

void DrawRoundPlug(QPainter& painter, QPoint centre, int radius, QColor colour) {
    painter.save();
    painter.setPen(QPen(Darker(colour, 170), 2));
    painter.setBrush(Darker(colour, 120));
    painter.drawEllipse(centre, radius + 4, radius + 4);
    painter.setBrush(colour);
    painter.drawEllipse(centre, radius - 2, radius - 2);
    // A grip ring, so that it reads as a plug and not as a coloured dot.
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(Darker(colour, 150), 2));
    painter.drawEllipse(centre, radius - 8, radius - 8);
    painter.restore();
}

void DrawPort(QPainter& painter, const QRect& rect) {
    painter.save();
    painter.setPen(QPen(QColor(20, 20, 20), 1.5));
    painter.setBrush(QColor(30, 30, 30));
    painter.drawRoundedRect(rect, 2, 2);
    painter.restore();
}

void DrawArrowHead(QPainter& painter, QPointF from, QPointF to, qreal size, QColor colour) {
    const QLineF line(to, from);
    const double angle = std::atan2(-line.dy(), line.dx());
    const QPointF left = to + QPointF(std::cos(angle + std::numbers::pi / 7) * size,
                                      -std::sin(angle + std::numbers::pi / 7) * size);
    const QPointF right = to + QPointF(std::cos(angle - std::numbers::pi / 7) * size,
                                       -std::sin(angle - std::numbers::pi / 7) * size);
    painter.save();
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    painter.drawPolygon(QPolygonF({to, left, right}));
    painter.restore();
}

} // namespace figures
