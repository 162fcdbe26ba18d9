#pragma once
// Where new windows open so that none hides another. The live waveform viewers of a test open beside
// the step window, on whichever side has the most room once the other windows to keep clear of (the
// demo's Simulator) are taken out, cascaded so that each new viewer leaves the title bars of the
// earlier ones in view. A new report viewer never opens exactly on top of another.

#include <QList>
#include <QPoint>
#include <QRect>
#include <QSize>

// The frame of the `index`-th viewer (0 for the first) of at most `size`, inside `screen`, clear of
// `keepClear` (its first rectangle is the window the viewers belong to) where the screen has room.
// On a screen too small for that, the viewers cascade from the screen's top left corner. A viewer
// never shrinks below a readable size to make room for the cascade (nor below `size`): once a
// column of the cascade reaches the bottom, the next viewer starts a new column at the top.
QRect CascadeFrame(const QRect& screen, const QList<QRect>& keepClear, QSize size, int index);

// Where a window of frame `size` meant for `wanted` opens: there when no window in `taken` (their
// top left corners) stands exactly there, else the first cascade step down and right from it that
// is free, starting again at the top left of `screen` when the cascade would leave it.
QPoint CascadeClear(const QRect& screen, QSize size, QPoint wanted, const QList<QPoint>& taken);

// The offset from one window to the next.
constexpr int CascadeStep = 28;
