#pragma once
// A waveform viewer opened on a record, with a temporary settings folder and scripted message boxes.

#include "tests/support/recordbuilder.h"
#include "tests/support/scriptedmessages.h"
#include "tests/support/tempsettings.h"
#include "waveform/setaxis.h"
#include "waveform/wavechart.h"
#include "waveform/waveformviewer.h"

#include "tests/support/qtprinters.h"
#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <functional>

#include <gtest/gtest.h>

class ViewerTest : public ::testing::Test {
protected:
    ~ViewerTest() override { delete viewer.data(); }

    // Opens and shows a viewer on `loads` of `source` (the full record when none is given).
    TWaveformViewer* Open(const QList<TTestLoad>& loads, const TZRTestRec* source = nullptr) {
        if (!source) {
            record = MakeFullRecord();
            source = record.get();
        }
        viewer = new TWaveformViewer(nullptr, loads, *source);
        viewer->show();
        QApplication::processEvents();
        return viewer;
    }

    template <class T = QWidget> T* Find(const char* name) const {
        T* child = viewer->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(child, nullptr) << name;
        return child;
    }
    QAction* Action(const char* name) const { return Find<QAction>(name); }
    // The tool bar's button of `action`.
    QToolButton* ToolButton(QAction* action) const {
        return qobject_cast<QToolButton*>(Find<QToolBar>("tbWaveViewer")->widgetForAction(action));
    }
    static QStringList ActionNames(const QList<QAction*>& actions) {
        QStringList names;
        for (const QAction* action : actions)
            names << action->objectName();
        return names;
    }
    QString Text(const char* label) const { return Find<QLabel>(label)->text(); }
    TWaveChart* Chart() const { return Find<TWaveChart>("chartWave"); }
    ChartAxesState Axes() const { return Chart()->AxesState(); }

    // Runs "Set Chart Axis..." with `texts` typed into the four boxes (when given) and the button
    // named `button` pressed; returns the texts the dialog showed first.
    QStringList RunAxisDialog(const QStringList& texts, const char* button = "btnOK") {
        QStringList shown;
        QTimer::singleShot(0, viewer, [&] {
            TSetAxis* dialog = viewer->findChild<TSetAxis*>();
            if (!dialog)
                return; // the test fails below: the dialog never opened
            const char* boxes[] = {"txtXMin", "txtXMax", "txtYMin", "txtYMax"};
            for (int i = 0; i < 4; ++i) {
                auto* box = dialog->findChild<QLineEdit*>(QString::fromLatin1(boxes[i]));
                shown << box->text();
                if (i < texts.size())
                    box->setText(texts[i]);
            }
            dialog->findChild<QPushButton*>(QString::fromLatin1(button))->click();
            if (dialog->isVisible())
                dialog->reject(); // refused input keeps it open; end it so the test goes on
        });
        Action("mmSetChartAxis")->trigger();
        EXPECT_EQ(shown.size(), 4);
        return shown;
    }

    // Settings of the viewer's section.
    TSettings& Ini() const { return settings.Ini(); }
    int Setting(const char* key, int missing = -99) const {
        return Ini().ReadInteger(QStringLiteral("WaveformViewer"), QString::fromLatin1(key), missing);
    }
    void Store(const char* key, int value) const {
        Ini().WriteInteger(QStringLiteral("WaveformViewer"), QString::fromLatin1(key), value);
    }

    TempSettings settings;
    QTemporaryDir dir;
    ScriptedMessages messages;
    std::unique_ptr<TZRTestRec> record;
    QPointer<TWaveformViewer> viewer;
};

// The full record with some loads peaking at a given current (in 0.01 A). Those loads report no
// accessory resistance, so their values are shown uncorrected.
inline std::unique_ptr<TZRTestRec> RecordPeakingAt(std::initializer_list<std::pair<int, uint16_t>> peaks) {
    auto rec = MakeFullRecord();
    for (auto [index, centiAmps] : peaks) {
        FillLoad(*rec, index, index + 1, 5000, 0);
        rec->Loads[index].Results.PeakCurrent1 = centiAmps;
    }
    return rec;
}
