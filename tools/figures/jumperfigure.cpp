#include "tools/figures/drawkit.h"
#include "tools/figures/figurelayout.h"
#include "tools/figures/figures.h"

#include <QPainter>

namespace figures {
namespace {

const QColor kBannerColour(31, 58, 95);
const QColor kBannerValue(255, 196, 92);
const QColor kPanelEdge(74, 85, 96);
const QColor kInk(43, 53, 64);
const QColor kBankAColour(47, 109, 181);
const QColor kBankBColour(46, 139, 87);
const QColor kPinColour(212, 175, 55);

QColor BankColour(bool bankB) {
    return bankB ? kBankBColour : kBankAColour;
}
QString BankName(bool bankB) {
    return bankB ? QStringLiteral("Bank B") : QStringLiteral("Bank A");
}

constexpr int kPanelTop = 64;
constexpr int kPanelBottom = 300;
constexpr int kGroupTop = 80;
constexpr int kGroupBottom = 186;

void DrawBanner(QPainter& painter, int loadIndex) {
    painter.fillRect(QRect(0, 0, kJumperFigureSize.width(), 52), kBannerColour);
    const bool bankB = UsesBankB(loadIndex);
    DrawCentredPieces(painter, QRect(0, 0, kJumperFigureSize.width(), 52), FigureFont(24, true),
                      {{QStringLiteral("Set jumper: "), Qt::white},
                       {QStringLiteral("%1 ohms").arg(LoadOhms(loadIndex)), kBannerValue},
                       {QStringLiteral(", cable to "), Qt::white},
                       {BankName(bankB), kBannerValue}});
}

void DrawPanel(QPainter& painter) {
    painter.save();
    painter.setPen(QPen(kPanelEdge, 2));
    painter.setBrush(QColor(kPanelFace));
    painter.drawRoundedRect(QRectF(10, kPanelTop, 620, kPanelBottom - kPanelTop), 10, 10);
    painter.restore();
}

// The sockets that one bank serves, on a tinted field with the bank's name.
void DrawBankGroup(QPainter& painter, bool bankB) {
    const int first = bankB ? kFirstBankBLoad : 0;
    const int last = bankB ? kLoadCount - 1 : kFirstBankBLoad - 1;
    const QRect field(SocketCentreX(first) - 30, kGroupTop, SocketCentreX(last) - SocketCentreX(first) + 60,
                      kGroupBottom - kGroupTop);
    const QColor colour = BankColour(bankB);
    painter.save();
    painter.setPen(QPen(colour, 1.5));
    QColor tint = colour;
    tint.setAlpha(40);
    painter.setBrush(tint);
    painter.drawRoundedRect(field, 6, 6);
    painter.restore();
    DrawText(painter, field.adjusted(0, 3, 0, 0), Qt::AlignHCenter | Qt::AlignTop, BankName(bankB).toUpper(),
             FigureFont(12, true), colour);

    // A line from the field down to the bank's connector shows which connector serves these loads.
    const QPoint connector = BankConnectorCentre(bankB);
    painter.save();
    painter.setPen(QPen(colour, 2, Qt::DashLine));
    painter.drawLine(QPoint(connector.x(), kGroupBottom), connector - QPoint(0, kConnectorRadius + 2));
    painter.restore();
}

void DrawSocket(QPainter& painter, int loadIndex, bool withJumper) {
    const int x = SocketCentreX(loadIndex);
    const QRect body(x - 16, kSocketTop, 32, kSocketHeight);
    painter.save();
    if (withJumper) {
        painter.setPen(QPen(QColor(kAccent), 3));
        painter.setBrush(Qt::NoBrush);
        painter.drawRoundedRect(QRect(x - 26, kSocketTop - 6, 52, 82), 6, 6);
    }
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(kSocketBody));
    painter.drawRoundedRect(body, 3, 3);
    painter.setBrush(kPinColour);
    for (int pin : {12, 34})
        painter.drawEllipse(QPoint(x, kSocketTop + pin), 5, 5);
    if (withJumper) {
        // The jumper: a shunt over both pins.
        const QRect shunt(x - 13, kSocketTop + 3, 26, kSocketHeight - 6);
        painter.setPen(QPen(Darker(QColor(kAccent), 160), 1.5));
        painter.setBrush(QColor(kAccent));
        painter.drawRoundedRect(shunt, 4, 4);
        painter.setPen(QPen(Darker(QColor(kAccent), 130), 1.5));
        for (int ridge : {6, 10, 30, 34})
            painter.drawLine(QPoint(shunt.left() + 5, shunt.top() + ridge),
                             QPoint(shunt.right() - 5, shunt.top() + ridge));
    }
    painter.restore();
    DrawText(painter, QRect(x - 30, kSocketTop + kSocketHeight + 4, 60, 22), Qt::AlignCenter,
             QStringLiteral("%1 Ω").arg(LoadOhms(loadIndex)), FigureFont(14, true),
             withJumper ? QColor(kAccent) : kInk);
}

void DrawBankConnector(QPainter& painter, bool bankB, bool plugged) {
    const QPoint centre = BankConnectorCentre(bankB);
    const QColor colour = BankColour(bankB);
    if (plugged) {
        QPainterPath cable(centre);
        cable.lineTo(centre.x(), kJumperFigureSize.height() + 10);
        DrawCable(painter, cable, QColor(kAdapterCable), 12);
        DrawRoundSocket(painter, centre, kConnectorRadius, colour);
        DrawRoundPlug(painter, centre, kConnectorRadius, QColor(kAdapterCable));
    } else {
        DrawRoundSocket(painter, centre, kConnectorRadius, colour);
    }
    const QRect label(centre.x() + kConnectorRadius + 12, centre.y() - 20, 120, 40);
    DrawText(painter, label.adjusted(0, 0, 0, -18), Qt::AlignLeft | Qt::AlignTop, BankName(bankB),
             FigureFont(16, true), colour);
    DrawText(painter, label.adjusted(0, 20, 0, 0), Qt::AlignLeft | Qt::AlignTop,
             bankB ? QStringLiteral("75–175 Ω") : QStringLiteral("25–50 Ω"), FigureFont(12), kInk);
}

// The defibrillator input: the two contact plates that the paddles (or the pads' adapter) press on.
void DrawDefibrillatorInput(QPainter& painter) {
    const QRect area(462, kGroupTop, 154, 206);
    painter.save();
    painter.setPen(QPen(kPanelEdge, 1.5));
    painter.setBrush(QColor(200, 207, 215));
    painter.drawRoundedRect(area, 6, 6);
    painter.restore();
    DrawText(painter, area.adjusted(0, 4, 0, 0), Qt::AlignHCenter | Qt::AlignTop,
             QStringLiteral("DEFIBRILLATOR\nINPUT"), FigureFont(12, true), kInk);
    for (int x : {area.left() + 42, area.right() - 41}) {
        const QPoint centre(x, area.top() + 94);
        painter.save();
        painter.setPen(QPen(QColor(110, 118, 128), 2));
        painter.setBrush(QColor(168, 176, 186));
        painter.drawEllipse(centre, 28, 28);
        painter.setBrush(QColor(214, 219, 225));
        painter.drawEllipse(centre, 19, 19);
        painter.restore();
    }
    DrawText(painter, QRect(area.left(), area.top() + 128, area.width(), 40), Qt::AlignHCenter | Qt::AlignTop,
             QStringLiteral("paddles or pads"), FigureFont(12), kInk);
    DrawText(painter, QRect(area.left(), area.bottom() - 34, area.width(), 30), Qt::AlignCenter,
             QStringLiteral("ZRQ"), FigureFont(20, true), kPanelEdge);
}

} // namespace

QImage DrawJumperFigure(int loadIndex) {
    QImage image = NewCanvas(kJumperFigureSize);
    QPainter painter(&image);
    PreparePainter(painter);
    const bool bankB = UsesBankB(loadIndex);

    DrawBanner(painter, loadIndex);
    DrawPanel(painter);
    DrawBankGroup(painter, false);
    DrawBankGroup(painter, true);
    for (int i = 0; i < kLoadCount; ++i)
        DrawSocket(painter, i, i == loadIndex);
    DrawBankConnector(painter, false, !bankB);
    DrawBankConnector(painter, true, bankB);
    DrawDefibrillatorInput(painter);

    const QPoint plug = BankConnectorCentre(bankB);
    DrawText(painter, QRect(plug.x() + 20, kPanelBottom + 10, 300, 40), Qt::AlignLeft | Qt::AlignVCenter,
             QStringLiteral("ZRU adapter cable from Corvex"), FigureFont(14, true), QColor(kAdapterCable));
    return image;
}

} // namespace figures
