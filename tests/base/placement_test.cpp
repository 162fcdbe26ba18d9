// Window placement in the settings file, and the dialogs' filter text.
#include "base/dialogs.h"
#include "base/placement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QTemporaryDir>
#include <QWidget>
#include <gtest/gtest.h>

namespace {

class Placement : public ::testing::Test {
protected:
    QTemporaryDir dir;
    TSettings ini{dir.filePath(QStringLiteral("corvexzr.ini"))};
    const QString section = QStringLiteral("WaveformViewer");
};

} // namespace

TEST_F(Placement, MissingKeysCentreTheWindowAtItsBuiltInSize) {
    const WindowPlacement p = ReadPlacement(ini, section);
    EXPECT_EQ(p.top, -1);
    EXPECT_EQ(p.state, 0);
    QWidget w;
    ApplyPlacement(w, p, QSize(760, 516));
    EXPECT_EQ(w.size(), QSize(760, 516));
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_EQ(w.pos(), area.center() - QPoint(380, 258));
    EXPECT_FALSE(w.windowState() & Qt::WindowMaximized);
}

TEST_F(Placement, OneMissingHalfCountsAsMissing) {
    ini.WriteInteger(section, QStringLiteral("TOP"), 40);
    ini.WriteInteger(section, QStringLiteral("HEIGHT"), 300);
    QWidget w;
    ApplyPlacement(w, ReadPlacement(ini, section), QSize(760, 516));
    EXPECT_EQ(w.size(), QSize(760, 516));
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_EQ(w.pos(), area.center() - QPoint(380, 258));
}

TEST_F(Placement, SavedNormalPlacementIsRestored) {
    QWidget w;
    w.resize(500, 400);
    w.move(30, 20);
    SavePlacement(w, ini, section);
    EXPECT_EQ(ini.ReadInteger(section, QStringLiteral("WINDOWSTATE"), -5), 0);

    QWidget again;
    ApplyPlacement(again, ReadPlacement(ini, section), QSize(760, 516));
    EXPECT_EQ(again.size(), QSize(500, 400));
    EXPECT_EQ(again.pos(), QPoint(30, 20));
}

TEST_F(Placement, MaximizedWindowKeepsItsLastNormalPlacement) {
    ini.WriteInteger(section, QStringLiteral("TOP"), 11);
    ini.WriteInteger(section, QStringLiteral("LEFT"), 12);
    ini.WriteInteger(section, QStringLiteral("HEIGHT"), 313);
    ini.WriteInteger(section, QStringLiteral("WIDTH"), 414);
    QWidget w;
    w.setWindowState(Qt::WindowMaximized);
    SavePlacement(w, ini, section);
    EXPECT_EQ(ini.ReadInteger(section, QStringLiteral("WINDOWSTATE"), 0), 2);
    EXPECT_EQ(ini.ReadInteger(section, QStringLiteral("TOP"), 0), 11);
    EXPECT_EQ(ini.ReadInteger(section, QStringLiteral("WIDTH"), 0), 414);

    QWidget again;
    ApplyPlacement(again, ReadPlacement(ini, section), QSize(760, 516));
    EXPECT_TRUE(again.windowState() & Qt::WindowMaximized);
}

TEST_F(Placement, PositionOffEveryScreenIsCentredInstead) {
    ini.WriteInteger(section, QStringLiteral("TOP"), -20000);
    ini.WriteInteger(section, QStringLiteral("LEFT"), 50000);
    QWidget w;
    ApplyPlacement(w, ReadPlacement(ini, section), QSize(200, 100));
    EXPECT_TRUE(QGuiApplication::primaryScreen()->availableGeometry().contains(w.pos()));
}

TEST(FileFilter, PipeFormBecomesQtForm) {
    EXPECT_EQ(QtFileFilter(QStringLiteral("CorvexZR Test Records (*.zrq)|*.zrq|All Files (*.*)|*.*")),
              QStringLiteral("CorvexZR Test Records (*.zrq);;All Files (*.*)"));
    EXPECT_EQ(QtFileFilter(QStringLiteral("Records|*.zrq;*.bak")), QStringLiteral("Records (*.zrq *.bak)"));
}

TEST_F(Placement, MoveOnScreenShiftsTheWindowOnlyAsFarAsItMust) {
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    QWidget w;
    w.resize(200, 100);
    MoveOnScreen(w, area.topLeft() + QPoint(10, 20));
    EXPECT_EQ(w.pos(), area.topLeft() + QPoint(10, 20));
    MoveOnScreen(w, area.bottomRight());
    EXPECT_EQ(w.frameGeometry().bottomRight(), area.bottomRight());
    // Larger than the screen: its top left stays visible.
    w.resize(area.width() + 50, area.height() + 50);
    MoveOnScreen(w, area.topLeft() + QPoint(30, 30));
    EXPECT_EQ(w.pos(), area.topLeft());
}
