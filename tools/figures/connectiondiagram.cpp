#include "tools/figures/drawkit.h"
#include "tools/figures/figurelayout.h"
#include "tools/figures/figures.h"

#include <QPainter>
#include <QPolygon>

namespace figures {
namespace {

const QColor kInk(43, 53, 64);
const QColor kCaseEdge(38, 48, 60);
const QColor kPanelEdge(74, 85, 96);
const QColor kBankAColour(47, 109, 181);
const QColor kBankBColour(46, 139, 87);

// Where the cables meet the devices.
constexpr QPoint kAnalyzerUsbPort(240, 190);
constexpr QPoint kAnalyzerAdapterPort(296, 190);
constexpr QPoint kAnalyzerSerialPort(352, 190);
constexpr QPoint kLaptopUsbPort(172, 318);
constexpr QRect kAccessoryCase(452, 236, 176, 118);
constexpr QPoint kAccessorySerialPort(452, 266);
constexpr QPoint kBankAConnector(500, 324);
constexpr QPoint kBankBConnector(560, 324);
constexpr int kSerialRunY = 266;
constexpr int kPaddlePlateLeftX = kAccessoryCase.left() + 56;
constexpr int kPaddlePlateRightX = kAccessoryCase.right() - 55;
constexpr int kAdapterRunY = 324;

void DrawLaptop(QPainter& painter) {
    const QRect bezel(18, 214, 140, 94);
    painter.save();
    painter.setPen(QPen(QColor(30, 33, 38), 1.5));
    painter.setBrush(QColor(58, 63, 69));
    painter.drawRoundedRect(bezel, 6, 6);
    const QRect screen = bezel.adjusted(8, 8, -8, -10);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(220, 234, 247));
    painter.drawRect(screen);
    // A program window on the screen.
    painter.setBrush(QColor(31, 58, 95));
    painter.drawRect(QRect(screen.left() + 8, screen.top() + 7, screen.width() - 16, 9));
    painter.setBrush(QColor(160, 175, 190));
    for (int row = 0; row < 4; ++row)
        painter.drawRect(QRect(screen.left() + 14, screen.top() + 24 + row * 11, 90 - row * 14, 5));
    painter.setPen(QPen(kPanelEdge, 1.5));
    painter.setBrush(QColor(168, 176, 186));
    painter.drawPolygon(QPolygon({QPoint(10, 308), QPoint(166, 308), QPoint(178, 324), QPoint(-2, 324)}));
    painter.setPen(QPen(QColor(120, 128, 138), 1.5));
    painter.drawLine(QPoint(68, 320), QPoint(108, 320));
    painter.restore();
    DrawText(painter, QRect(0, 328, 180, 24), Qt::AlignCenter, QStringLiteral("Computer"),
             FigureFont(15, true), kInk);
}

void DrawAnalyzer(QPainter& painter) {
    const QRect box = kAnalyzerCase;
    DrawText(painter, QRect(box.left(), 4, box.width(), 24), Qt::AlignCenter,
             QStringLiteral("Corvex analyzer"), FigureFont(15, true), kInk);
    painter.save();
    painter.setPen(QPen(kCaseEdge, 2));
    painter.setBrush(QColor(kAnalyzerBody));
    painter.drawRoundedRect(box, 12, 12);
    // The display, showing the mode the test needs.
    const QRect display(box.left() + 16, box.top() + 16, 112, 60);
    painter.setPen(QPen(kCaseEdge, 2));
    painter.setBrush(QColor(191, 227, 192));
    painter.drawRoundedRect(display, 4, 4);
    painter.restore();
    DrawText(painter, display, Qt::AlignCenter, QStringLiteral("REMOTE"), FigureFont(16, true),
             QColor(30, 70, 40));
    painter.save();
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(154, 166, 178));
    for (int key = 0; key < 4; ++key)
        painter.drawRoundedRect(QRect(box.left() + 140, display.top() + 1 + key * 15, 34, 11), 3, 3);
    painter.restore();
    DrawText(painter, QRect(box.left() + 16, box.top() + 86, 160, 24), Qt::AlignLeft | Qt::AlignVCenter,
             QStringLiteral("CORVEX"), FigureFont(20, true), Qt::white);
    // Port names above the ports.
    const QFont portFont = FigureFont(10, true);
    const QColor portInk(214, 222, 230);
    DrawText(painter, QRect(kAnalyzerUsbPort.x() - 25, box.bottom() - 20, 50, 14), Qt::AlignCenter,
             QStringLiteral("USB"), portFont, portInk);
    DrawText(painter, QRect(kAnalyzerAdapterPort.x() - 25, box.bottom() - 20, 50, 14), Qt::AlignCenter,
             QStringLiteral("ZRU"), portFont, portInk);
    DrawText(painter, QRect(kAnalyzerSerialPort.x() - 25, box.bottom() - 20, 50, 14), Qt::AlignCenter,
             QStringLiteral("RS232"), portFont, portInk);
    DrawPort(painter, QRect(kAnalyzerUsbPort.x() - 7, box.bottom() - 4, 14, 8));
    DrawPort(painter, QRect(kAnalyzerAdapterPort.x() - 9, box.bottom() - 4, 18, 8));
    DrawPort(painter, QRect(kAnalyzerSerialPort.x() - 11, box.bottom() - 4, 22, 8));
}

void DrawAccessory(QPainter& painter) {
    const QRect box = kAccessoryCase;
    // The paddle adapter sits on top: the defibrillator's paddles press on its two plates (pads
    // clip to them).
    const QRect adapter(box.left() + 22, box.top() - 36, box.width() - 44, 36);
    painter.save();
    painter.setPen(QPen(kPanelEdge, 1.5));
    painter.setBrush(QColor(190, 198, 207));
    painter.drawRoundedRect(adapter, 4, 4);
    for (int x : {kPaddlePlateLeftX, kPaddlePlateRightX}) {
        painter.setBrush(QColor(150, 158, 168));
        painter.drawEllipse(QPoint(x, adapter.top() + 2), 24, 8);
        painter.setBrush(QColor(214, 219, 225));
        painter.drawEllipse(QPoint(x, adapter.top()), 20, 6);
    }
    painter.setPen(QPen(kPanelEdge, 2));
    painter.setBrush(QColor(kPanelFace));
    painter.drawRoundedRect(box, 10, 10);
    painter.restore();
    DrawText(painter, QRect(box.left() + 40, box.top() + 8, box.width() - 48, 48),
             Qt::AlignRight | Qt::AlignTop, QStringLiteral("ZRQ\nload accessory"), FigureFont(13, true),
             kInk);
    DrawText(painter, QRect(box.left() + 10, box.top() + 4, 60, 14), Qt::AlignLeft, QStringLiteral("RS232"),
             FigureFont(10, true), kInk);
    DrawPort(painter, QRect(box.left() - 3, kAccessorySerialPort.y() - 8, 10, 16));
    DrawRoundSocket(painter, kBankAConnector, 16, kBankAColour);
    DrawRoundSocket(painter, kBankBConnector, 16, kBankBColour);
    DrawText(painter, QRect(kBankAConnector.x() - 30, kBankAConnector.y() - 38, 60, 16), Qt::AlignCenter,
             QStringLiteral("Bank A"), FigureFont(11, true), kBankAColour);
    DrawText(painter, QRect(kBankBConnector.x() - 30, kBankBConnector.y() - 38, 60, 16), Qt::AlignCenter,
             QStringLiteral("Bank B"), FigureFont(11, true), kBankBColour);
}

// The defibrillator under test is not part of the set-up: drawn in outline, its paddles pointing at the
// paddle adapter.
void DrawPaddles(QPainter& painter) {
    const QColor outline(110, 120, 132);
    const int plateTop = kAccessoryCase.top() - 36;
    for (int x : {kPaddlePlateLeftX, kPaddlePlateRightX}) {
        const QRect electrode(x - 24, 120, 48, 14);
        const QRect handle(x - 11, 72, 22, 50);
        painter.save();
        painter.setPen(QPen(outline, 1.5));
        painter.setBrush(Qt::NoBrush);
        painter.drawLine(QPoint(x, handle.top()), QPoint(x + (x < 540 ? -14 : 14), 48));
        painter.setBrush(QColor(236, 239, 242));
        painter.drawRoundedRect(handle, 6, 6);
        painter.drawRoundedRect(electrode, 4, 4);
        painter.setPen(QPen(outline, 2, Qt::DashLine));
        painter.drawLine(QPoint(x, electrode.bottom() + 6), QPoint(x, plateTop - 18));
        painter.restore();
        DrawArrowHead(painter, QPointF(x, electrode.bottom()), QPointF(x, plateTop - 10), 12, outline);
    }
    DrawText(painter, QRect(436, 4, 204, 40), Qt::AlignHCenter | Qt::AlignTop,
             QStringLiteral("Defibrillator under test:\npaddles or pads"), FigureFont(12, true), kInk);
    DrawText(painter, QRect(360, plateTop - 10, kAccessoryCase.left() + 16 - 360, 20),
             Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("Paddle adapter"), FigureFont(12, true), kInk);
}

void DrawCables(QPainter& painter) {
    QPainterPath usb(kAnalyzerUsbPort);
    usb.cubicTo(QPointF(kAnalyzerUsbPort.x(), 290), QPointF(210, kLaptopUsbPort.y()), kLaptopUsbPort);
    DrawCable(painter, usb, QColor(kUsbCable), 6);

    QPainterPath serial(kAnalyzerSerialPort);
    serial.lineTo(kAnalyzerSerialPort.x(), kSerialRunY - 20);
    serial.quadTo(kAnalyzerSerialPort.x(), kSerialRunY, kAnalyzerSerialPort.x() + 20, kSerialRunY);
    serial.lineTo(kAccessorySerialPort);
    DrawCable(painter, serial, QColor(kSerialCable), 6);

    QPainterPath adapter(kAnalyzerAdapterPort);
    adapter.lineTo(kAnalyzerAdapterPort.x(), kAdapterRunY - 20);
    adapter.quadTo(kAnalyzerAdapterPort.x(), kAdapterRunY, kAnalyzerAdapterPort.x() + 20, kAdapterRunY);
    adapter.lineTo(kBankAConnector);
    DrawCable(painter, adapter, QColor(kAdapterCable), 8);
    DrawRoundPlug(painter, kBankAConnector, 16, QColor(kAdapterCable));

    DrawText(painter, QRect(60, 212, kAnalyzerUsbPort.x() - 72, 40), Qt::AlignRight | Qt::AlignTop,
             QStringLiteral("USB\ncable"), FigureFont(13, true), QColor(kUsbCable));
    DrawText(painter, QRect(kAnalyzerSerialPort.x() + 12, kSerialRunY - 46, 100, 40),
             Qt::AlignLeft | Qt::AlignBottom, QStringLiteral("RS232\nserial cable"), FigureFont(12, true),
             QColor(kSerialCable));
    DrawText(painter, QRect(kAnalyzerAdapterPort.x() + 14, kAdapterRunY - 24, 180, 20), Qt::AlignLeft,
             QStringLiteral("ZRU adapter cable"), FigureFont(13, true), QColor(kAdapterCable));
    DrawText(painter, QRect(kAnalyzerAdapterPort.x() + 14, kAdapterRunY + 12, 200, 34), Qt::AlignLeft,
             QStringLiteral("Bank A or B as shown\nfor each load"), FigureFont(11), kInk);
}

} // namespace

QImage DrawConnectionDiagram() {
    QImage image = NewCanvas(kConnectionDiagramSize);
    QPainter painter(&image);
    PreparePainter(painter);
    DrawLaptop(painter);
    DrawAnalyzer(painter);
    DrawAccessory(painter);
    DrawPaddles(painter);
    DrawCables(painter);
    return image;
}

} // namespace figures
