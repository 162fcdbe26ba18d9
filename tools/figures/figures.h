#pragma once
// The pictures of the test run: how to connect the analyzer, and how to set the load accessory for
// each load.

#include <QImage>

namespace figures {

// The analyzer with its USB cable to the computer, the serial cable and the adapter cable to the load
// accessory, and the paddle adapter on the accessory.
QImage DrawConnectionDiagram();

// The accessory's front with the jumper in the socket of the load (index 0..6 = 25..175 ohms) and the
// cable in the load's bank.
QImage DrawJumperFigure(int loadIndex);

} // namespace figures
