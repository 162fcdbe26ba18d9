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

// The smallest viewer that still shows a chart worth reading.
constexpr int MinimumWidth = 360;
constexpr int MinimumHeight = 280;
// Cascading starts again from the top after this many viewers.
constexpr int CascadeLength = 8;

} // namespace

QRect CascadeFrame(const QRect& screen, const QList<QRect>& keepClear, QSize size, int index) {
    QRect band = screen;
    if (!keepClear.isEmpty()) {
        const QRect owner = keepClear.first();
        const QRect left(screen.left(), screen.top(), std::max(0, owner.left() - screen.left()),
                         screen.height());
        const QRect right(QPoint(owner.right() + 1, screen.top()), screen.bottomRight());
        QRect sides[2] = {left, right};
        for (QRect& side : sides)
            for (qsizetype i = 1; i < keepClear.size(); ++i)
                side = WithoutObstacle(side, keepClear[i]);
        band = sides[0].width() >= sides[1].width() ? sides[0] : sides[1];
        if (band.width() < MinimumWidth)
            band = screen; // no room beside it: cascade over the screen
    }

    const int offset = (index % CascadeLength) * CascadeStep;
    // As big as asked for, shrunk to the room left after the offset, but not below a readable size.
    const int width =
        std::min(size.width(), std::max(band.width() - offset, std::min(MinimumWidth, band.width())));
    const int height =
        std::min(size.height(), std::max(band.height() - offset, std::min(MinimumHeight, band.height())));
    QRect frame(band.topLeft() + QPoint(offset, offset), QSize(width, height));
    // Keep it inside its band: a viewer pushed past the edge by the cascade slides back.
    frame.moveRight(std::min(frame.right(), band.right()));
    frame.moveBottom(std::min(frame.bottom(), band.bottom()));
    return frame;
}
