#pragma once
// Where the figures put the parts a technician must find, and the colours they are drawn in. The
// drawing code places everything from here, and the tests look at the same places in the decoded
// pictures, so a jumper drawn in the wrong socket or a cable in the wrong bank is caught.

#include <QPoint>
#include <QRect>
#include <QSize>
#include <QtGui/qrgb.h>

namespace figures {

constexpr QSize kJumperFigureSize(640, 362);
constexpr QSize kConnectionDiagramSize(640, 386);

constexpr int kLoadCount = 7;
// Loads 0..1 (25 and 50 ohms) switch through Bank A, loads 2..6 (75..175 ohms) through Bank B.
constexpr int kFirstBankBLoad = 2;

constexpr int LoadOhms(int loadIndex) {
    return 25 * loadIndex + 25;
}
constexpr bool UsesBankB(int loadIndex) {
    return loadIndex >= kFirstBankBLoad;
}

// Colours shared by both pictures, so that the cable of one is the cable of the other.
constexpr QRgb kBackground = qRgb(255, 255, 255);
constexpr QRgb kAccent = qRgb(232, 100, 30);     // the jumper to set and the cable to plug
constexpr QRgb kSocketBody = qRgb(43, 43, 43);   // an empty jumper socket, an empty connector
constexpr QRgb kPanelFace = qRgb(217, 222, 228); // the accessory's front
constexpr QRgb kAnalyzerBody = qRgb(60, 74, 92); // the analyzer's case
constexpr QRgb kUsbCable = qRgb(68, 68, 68);
constexpr QRgb kSerialCable = qRgb(47, 109, 181);
constexpr QRgb kAdapterCable = kAccent;

// --- Jumper figure -----------------------------------------------------------------------------

// Horizontal centre of the jumper socket of a load; a wider gap parts the two banks' sockets.
constexpr int SocketCentreX(int loadIndex) {
    return 54 + 60 * loadIndex + (UsesBankB(loadIndex) ? 8 : 0);
}
constexpr int kSocketTop = 104;
constexpr int kSocketHeight = 46;
// Between the socket's two pins: the socket body when empty, the jumper when set.
constexpr QPoint SocketProbe(int loadIndex) {
    return QPoint(SocketCentreX(loadIndex), kSocketTop + 23);
}

// Centres of the two bank connectors: each under the sockets it serves.
constexpr QPoint BankConnectorCentre(bool bankB) {
    return bankB ? QPoint(302, 246) : QPoint(84, 246);
}
constexpr int kConnectorRadius = 22;
// On the cable below the accessory (under the cable's label), where only the plugged bank has one.
constexpr QPoint CableProbe(bool bankB) {
    return BankConnectorCentre(bankB) + QPoint(0, 106);
}

// --- Connection diagram ------------------------------------------------------------------------

constexpr QRect kAnalyzerCase(214, 40, 190, 150);
// A plain part of the analyzer's case, clear of its screen, keys and lettering.
constexpr QPoint kAnalyzerProbe(394, 130);

} // namespace figures
