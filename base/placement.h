#pragma once
// Where a non-modal window stands, kept in its own section of the settings file: "TOP", "LEFT",
// "HEIGHT", "WIDTH" (-1 when missing: centred, built-in size) and "WINDOWSTATE" (0 normal,
// 1 minimized, 2 maximized). Windows add keys of their own beside these.

#include "base/settings.h"

#include <QPoint>
#include <QSize>

class QWidget;

struct WindowPlacement {
    int top = -1;
    int left = -1;
    int height = -1;
    int width = -1;
    int state = 0;
};

WindowPlacement ReadPlacement(const TSettings& settings, const QString& section);

// Sizes and places a window before it is shown: the stored size or `defaultSize`, the stored
// position or centred on the screen, maximized for state 2. A stored position that would leave the
// window wholly outside every screen (a monitor since removed) centres it instead.
void ApplyPlacement(QWidget& window, const WindowPlacement& placement, QSize defaultSize);

// Moves a window to `topLeft`, shifted as little as needed for the whole window, with its frame
// once that is known, to lie on the screen (a screen smaller than the window was designed for).
void MoveOnScreen(QWidget& window, QPoint topLeft);
// Centres a window, at its present size, on the screen.
void CentreOnScreen(QWidget& window);

// Restores a minimized window, raises it and makes it the active window, waiting (at most a second)
// until the window system has done so: a question asked next then stands over this window.
void BringToFront(QWidget& window);

// Writes "WINDOWSTATE" always, and position and size only while the window is in normal state, so
// a maximized or minimized window keeps its last normal placement. The window's own keys, `own`,
// go into the same write.
TSettingsStatus SavePlacement(const QWidget& window, TSettings& settings, const QString& section,
                              const TSettingsChanges& own = TSettingsChanges());
