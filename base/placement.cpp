#include "base/placement.h"

#include <QApplication>
#include <QEventLoop>
#include <QScreen>
#include <QTimer>
#include <QWidget>

#include <algorithm>

WindowPlacement ReadPlacement(const TSettings& settings, const QString& section) {
    WindowPlacement p;
    p.top = settings.ReadInteger(section, QStringLiteral("TOP"), -1);
    p.left = settings.ReadInteger(section, QStringLiteral("LEFT"), -1);
    p.height = settings.ReadInteger(section, QStringLiteral("HEIGHT"), -1);
    p.width = settings.ReadInteger(section, QStringLiteral("WIDTH"), -1);
    p.state = settings.ReadInteger(section, QStringLiteral("WINDOWSTATE"), 0);
    return p;
}

namespace {

QRect ScreenArea() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
}

QPoint CentredIn(const QRect& area, QSize size) {
    return area.center() - QPoint(size.width() / 2, size.height() / 2);
}

bool OnSomeScreen(const QRect& frame) {
    for (const QScreen* screen : QGuiApplication::screens())
        if (screen->availableGeometry().intersects(frame))
            return true;
    return false;
}

} // namespace

void ApplyPlacement(QWidget& window, const WindowPlacement& p, QSize defaultSize) {
    const QSize size = (p.height == -1 || p.width == -1) ? defaultSize : QSize(p.width, p.height);
    window.resize(size);
    QPoint topLeft = CentredIn(ScreenArea(), size);
    if (p.top != -1 && p.left != -1 && OnSomeScreen(QRect(QPoint(p.left, p.top), size)))
        topLeft = QPoint(p.left, p.top);
    window.move(topLeft);
    if (p.state == 2)
        window.setWindowState(window.windowState() | Qt::WindowMaximized);
}

void MoveOnScreen(QWidget& window, QPoint topLeft) {
    const QRect area = ScreenArea();
    const QSize size = window.frameGeometry().size();
    // The right and bottom edges first, so that a window larger than the screen keeps its top left.
    const int x = std::max(area.left(), std::min(topLeft.x(), area.right() + 1 - size.width()));
    const int y = std::max(area.top(), std::min(topLeft.y(), area.bottom() + 1 - size.height()));
    window.move(x, y);
}

void CentreOnScreen(QWidget& window) {
    window.move(CentredIn(ScreenArea(), window.size()));
}

void BringToFront(QWidget& window) {
    if (!window.isVisible())
        return;
    if (window.isMinimized())
        window.setWindowState(window.windowState() & ~Qt::WindowMinimized);
    window.raise();
    window.activateWindow();
    if (QApplication::activeWindow() == &window)
        return;
    // The window system activates it in its own time. Input waits meanwhile, so that nothing the
    // user does acts on the window that was active.
    QEventLoop loop;
    QTimer::singleShot(1000, &loop, &QEventLoop::quit);
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (QApplication::activeWindow() == &window)
            loop.quit();
    });
    poll.start(10);
    loop.exec(QEventLoop::ExcludeUserInputEvents);
}

TSettingsStatus SavePlacement(const QWidget& window, TSettings& settings, const QString& section,
                              const TSettingsChanges& own) {
    const int state = window.isMaximized() ? 2 : window.isMinimized() ? 1 : 0;
    TSettingsChanges changes;
    changes.Set(section, QStringLiteral("WINDOWSTATE"), state);
    if (state == 0)
        changes.Set(section, QStringLiteral("TOP"), window.pos().y())
            .Set(section, QStringLiteral("LEFT"), window.pos().x())
            .Set(section, QStringLiteral("HEIGHT"), window.height())
            .Set(section, QStringLiteral("WIDTH"), window.width());
    changes.Append(own);
    return settings.Write(changes);
}
