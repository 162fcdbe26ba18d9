#pragma once
// Where the live waveform viewers of a test open: beside the step window, on whichever side has the
// most room once the other windows to keep clear of (the demo's Simulator) are taken out, cascaded so
// that each new viewer leaves the title bars of the earlier ones in view.

#include <QList>
#include <QRect>
#include <QSize>

// The frame of the `index`-th viewer (0 for the first) of at most `size`, inside `screen`, clear of
// `keepClear` (its first rectangle is the window the viewers belong to) where the screen has room.
// On a screen too small for that, the viewers cascade from the screen's top left corner.
QRect CascadeFrame(const QRect& screen, const QList<QRect>& keepClear, QSize size, int index);

// The offset from one viewer to the next.
constexpr int CascadeStep = 28;
