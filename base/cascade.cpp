#include "base/cascade.h"

#include <algorithm>

namespace {

// The part of `band` left of or right of `obstacle`, whichever is wider.
QRect WithoutObstacle(const QRect& band, const QRect& obstacle) {
    if (!band.intersects(obstacle))
        return band;
    const QRect left(band.left(), band.top(), std::max(0, obstacle.left() - band.left()), band.height());
    const QRect right(QPoint(std::min(band.right() + 1, obstacle.right() + 1), band.top()),
                      band.bottomRight());
    return left.width() >= right.width() ? left : right;
}

// The smallest viewer whose chart is still worth reading beside its information panel.
constexpr int UsableWidth = 600;

// The side of the owner (the first of `keepClear`) with the most room, or the whole screen when
// neither side holds a usable viewer.
QRect BandBeside(const QRect& screen, const QList<QRect>& keepClear) {
    if (keepClear.isEmpty())
        return screen;
    const QRect owner = keepClear.first();
    const QRect left(screen.left(), screen.top(), std::max(0, owner.left() - screen.left()), screen.height());
    const QRect right(QPoint(owner.right() + 1, screen.top()), screen.bottomRight());
    QRect sides[2] = {left, right};
    for (QRect& side : sides)
        for (qsizetype i = 1; i < keepClear.size(); ++i)
            side = WithoutObstacle(side, keepClear[i]);
    const QRect band = sides[0].width() >= sides[1].width() ? sides[0] : sides[1];
    return band.width() < UsableWidth ? screen : band;
}

} // namespace

QRect CascadeFrame(const QRect& screen, const QList<QRect>& keepClear, QSize size, int index) {
    const QRect band = BandBeside(screen, keepClear);
    const QSize frame(std::min(size.width(), band.width()), std::min(size.height(), band.height()));
    const int roomX = band.width() - frame.width();
    const int roomY = band.height() - frame.height();
    // Down and right while there is room across, then straight down; a full column starts the next
    // one at the top, a step further right where the band has room for it.
    const int perColumn = roomY / CascadeStep + 1;
    const int column = index / perColumn;
    const int row = index % perColumn;
    const int columnLeft = (column * CascadeStep) % (roomX + 1);
    const int x = columnLeft + std::min(row * CascadeStep, roomX - columnLeft);
    return QRect(band.topLeft() + QPoint(x, row * CascadeStep), frame);
}

QPoint CascadeClear(const QRect& screen, QSize size, QPoint wanted, const QList<QPoint>& taken) {
    QPoint at = wanted;
    // Bounded: on a screen filled with windows the last place tried is taken as it is.
    for (qsizetype tries = 0; tries <= taken.size() && taken.contains(at); ++tries) {
        at += QPoint(CascadeStep, CascadeStep);
        if (!screen.contains(QRect(at, size)))
            at = screen.topLeft();
    }
    return at;
}
