// Every window of the program, and the demo's Simulator, at the fonts this computer has: no label,
// button, check box, combo box entry or column heading shows a text wider than the room it has, so
// nothing is cut or clipped; and every menu and menu item has its own underlined letter, so that each
// can be reached from the keyboard.
#include "app/helpwindow.h"
#include "app/zrqaboutform.h"
#include "app/zrqmainform.h"
#include "library/programlibrary.h"
#include "libraryview/testlibrarywindow.h"
#include "link/analyzerlink.h"
#include "link/commprogressform.h"
#include "link/ftdidriver.h"
#include "records/recordimage.h"
#include "report/testreportviewer.h"
#include "sim/simulatedanalyzer.h"
#include "sim/simulatorwindow.h"
#include "testrun/editinfoform.h"
#include "testrun/testoptionsform.h"
#include "testrun/teststartform.h"
#include "testrun/teststepform.h"
#include "tests/support/recordbuilder.h"
#include "tests/support/scriptedmessages.h"
#include "tests/support/tempsettings.h"
#include "verdict/profilefolder.h"
#include "verdict/verdictchoice.h"
#include "waveform/setaxis.h"
#include "waveform/waveformviewer.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QHash>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStyleOptionComboBox>
#include <QTextDocument>
#include <gtest/gtest.h>

namespace {

// The text as shown: without the "&" that marks a mnemonic; the widest of its lines.
int ShownWidth(const QFontMetrics& metrics, QString text) {
    text.replace(QLatin1String("&&"), QString(QChar(1)));
    text.remove(QLatin1Char('&'));
    text.replace(QChar(1), QLatin1Char('&'));
    int widest = 0;
    for (const QString& line : text.split(QLatin1Char('\n')))
        widest = std::max(widest, metrics.horizontalAdvance(line));
    return widest;
}

QString NameOf(const QWidget& widget) {
    return widget.objectName().isEmpty() ? QString::fromLatin1(widget.metaObject()->className())
                                         : widget.objectName();
}

class FitCheck {
public:
    // Shows the window, lets its layouts settle and checks every text in it.
    void Check(QWidget& window, const QString& name) {
        window.show();
        for (int i = 0; i < 5; ++i)
            QApplication::processEvents();
        for (QWidget* widget : window.findChildren<QWidget*>()) {
            if (!widget->isVisibleTo(&window) || widget->width() <= 0)
                continue;
            if (auto* label = qobject_cast<QLabel*>(widget))
                CheckLabel(*label, name);
            else if (auto* box = qobject_cast<QCheckBox*>(widget))
                CheckIndicator(*box, QStyle::PM_IndicatorWidth, QStyle::PM_CheckBoxLabelSpacing, name);
            else if (auto* radio = qobject_cast<QRadioButton*>(widget))
                CheckIndicator(*radio, QStyle::PM_ExclusiveIndicatorWidth, QStyle::PM_RadioButtonLabelSpacing,
                               name);
            else if (auto* button = qobject_cast<QPushButton*>(widget))
                CheckButton(*button, name);
            else if (auto* combo = qobject_cast<QComboBox*>(widget))
                CheckCombo(*combo, name);
            else if (auto* header = qobject_cast<QHeaderView*>(widget))
                CheckHeader(*header, name);
        }
        for (const QMenuBar* bar : window.findChildren<QMenuBar*>())
            CheckMnemonics(bar->actions(), name + QStringLiteral(" menu bar"));
        for (const QMenu* menu : window.findChildren<QMenu*>())
            CheckMnemonics(menu->actions(), name + QStringLiteral(" menu ") + menu->title());
        window.hide();
    }

private:
    // The letter after the "&" of a caption; none for a caption without one.
    static QChar Mnemonic(const QString& caption) {
        for (qsizetype i = caption.indexOf(QLatin1Char('&')); i >= 0 && i + 1 < caption.size();
             i = caption.indexOf(QLatin1Char('&'), i + 2))
            if (caption[i + 1] != QLatin1Char('&'))
                return caption[i + 1].toUpper();
        return QChar();
    }

    void CheckMnemonics(const QList<QAction*>& actions, const QString& where) {
        // The waveform viewer's designed captions "Zoom &In" and "Show Wave &Info" share their letter;
        // pressing it again in the menu moves from one to the other.
        static const QStringList designedTwins = {QStringLiteral("Zoom &In"),
                                                  QStringLiteral("Show Wave &Info")};
        QHash<QChar, QString> taken;
        for (const QAction* action : actions) {
            if (action->isSeparator() || action->text().isEmpty())
                continue;
            const QChar letter = Mnemonic(action->text());
            EXPECT_FALSE(letter.isNull())
                << qPrintable(where) << ": \"" << qPrintable(action->text()) << "\" has no underlined letter";
            if (letter.isNull())
                continue;
            const bool twins =
                designedTwins.contains(action->text()) && designedTwins.contains(taken.value(letter));
            EXPECT_TRUE(!taken.contains(letter) || twins)
                << qPrintable(where) << ": \"" << qPrintable(action->text()) << "\" and \""
                << qPrintable(taken.value(letter)) << "\" share " << qPrintable(QString(letter));
            taken.insert(letter, action->text());
        }
    }

    void Expect(const QString& where, const QString& text, int needed, int room) {
        EXPECT_LE(needed, room) << qPrintable(where) << ": \"" << qPrintable(text) << "\" needs " << needed
                                << " pixels and has " << room;
    }

    void CheckLabel(const QLabel& label, const QString& window) {
        if (label.wordWrap() || label.text().isEmpty() || Qt::mightBeRichText(label.text()))
            return;
        const int room = label.contentsRect().width() - 2 * label.margin() - std::max(0, label.indent());
        Expect(window + QLatin1Char('.') + NameOf(label), label.text(),
               ShownWidth(label.fontMetrics(), label.text()), room);
    }

    void CheckIndicator(const QAbstractButton& button, QStyle::PixelMetric indicator,
                        QStyle::PixelMetric spacing, const QString& window) {
        const int needed = button.style()->pixelMetric(indicator, nullptr, &button) +
                           button.style()->pixelMetric(spacing, nullptr, &button) +
                           ShownWidth(button.fontMetrics(), button.text());
        Expect(window + QLatin1Char('.') + NameOf(button), button.text(), needed, button.width());
    }

    void CheckButton(const QPushButton& button, const QString& window) {
        if (button.text().isEmpty())
            return;
        // The text and its icon, with the frame's margin on either side.
        const int margin = button.style()->pixelMetric(QStyle::PM_ButtonMargin, nullptr, &button);
        const int icon = button.icon().isNull() ? 0 : button.iconSize().width() + 4;
        Expect(window + QLatin1Char('.') + NameOf(button), button.text(),
               ShownWidth(button.fontMetrics(), button.text()) + icon + 2 * margin, button.width());
    }

    void CheckCombo(const QComboBox& combo, const QString& window) {
        // Any entry, once chosen, shows in the closed box.
        QStyleOptionComboBox option;
        option.initFrom(&combo);
        option.editable = combo.isEditable();
        const int room =
            combo.style()
                ->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, &combo)
                .width();
        for (int i = 0; i < combo.count(); ++i) {
            const int icon = combo.itemIcon(i).isNull() ? 0 : combo.iconSize().width() + 4;
            Expect(window + QLatin1Char('.') + NameOf(combo), combo.itemText(i),
                   ShownWidth(combo.fontMetrics(), combo.itemText(i)) + icon, room);
        }
    }

    void CheckHeader(const QHeaderView& header, const QString& window) {
        const QAbstractItemModel* model = header.model();
        if (!model)
            return;
        const int margin = header.style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, &header);
        for (int section = 0; section < header.count(); ++section) {
            if (header.isSectionHidden(section))
                continue;
            const QString text = model->headerData(section, header.orientation()).toString();
            if (text.isEmpty())
                continue;
            // The sort mark takes room beside the text in a sorted column.
            const int mark = header.isSortIndicatorShown() && header.sortIndicatorSection() == section
                                 ? header.style()->pixelMetric(QStyle::PM_HeaderMarkSize, nullptr, &header)
                                 : 0;
            Expect(window + QLatin1Char('.') + NameOf(*header.parentWidget()) + QStringLiteral(" heading"),
                   text, ShownWidth(header.fontMetrics(), text) + 2 * margin + mark,
                   header.sectionSize(section));
        }
    }
};

const TVerdictChoice SimulatorProfile{QStringLiteral("CorvexZR Simulator, biphasic truncated exponential"),
                                      200};

class EveryWindow : public ::testing::Test {
protected:
    TempSettings settings;
    ScriptedMessages boxes;
    FitCheck fit;
    std::unique_ptr<TZRTestRec> record = MakeFullRecord();
};

TEST_F(EveryWindow, TheProgramsWindowsShowEveryTextWholeAndALetterForEachMenuItem) {
    TZRQForm main;
    fit.Check(main, QStringLiteral("main window"));
    {
        TZRQAbout about(&main);
        fit.Check(about, QStringLiteral("About"));
        about.findChild<QPushButton*>(QStringLiteral("btnMore"))->click();
        fit.Check(about, QStringLiteral("About, More"));
    }
    const QString file = settings.Folder() + QStringLiteral("/fit.zrq");
    WriteBytes(file, RecordBytes(*record));
    {
        TTestReportViewer viewer(nullptr, file);
        viewer.ChooseVerdict(SimulatorProfile);
        fit.Check(viewer, QStringLiteral("report viewer"));
    }
    {
        TWaveformViewer viewer(nullptr, {0, 2, 4, 6}, *record);
        fit.Check(viewer, QStringLiteral("waveform viewer"));
        AxisLimits limits{0, 58.3566009839997, -50, 50};
        TSetAxis axis(&viewer, limits);
        fit.Check(axis, QStringLiteral("Set Chart Axis"));
    }
    {
        QString why;
        TTestLibrary* library = ProgramLibrary(why);
        ASSERT_NE(library, nullptr) << qPrintable(why);
        library->Add(EncodeTestRecord(*record),
                     ResolveVerdictChoice(LoadProfiles().profiles, SimulatorProfile));
        TTestLibraryWindow window(nullptr);
        fit.Check(window, QStringLiteral("Test Library"));
        CloseProgramLibrary();
    }
}

TEST_F(EveryWindow, TheTestRunsWindowsAndTheSimulatorShowEveryTextWhole) {
    SimulatedAnalyzer analyzer;
    const ScopedInstall<FtdiDriver> installed(analyzer);
    TSimulatorWindow simulator(analyzer, [] { return -1; });
    fit.Check(simulator, QStringLiteral("Simulator"));
    auto testRec = std::make_unique<TZRTestRec>();
    AnalyzerLink link;
    {
        TTestStart start(nullptr, testRec.get(), link);
        fit.Check(start, QStringLiteral("test start"));
    }
    {
        uint8_t selected[LOAD_COUNT] = {};
        TTestOptions options(nullptr, selected);
        fit.Check(options, QStringLiteral("load selection"));
    }
    const uint8_t selected[LOAD_COUNT] = {1, 1, 1, 1, 1, 1, 1};
    for (int load = 0; load < 3; ++load)
        testRec->Loads[load].CopyTest(record->Loads[load]);
    TTestStep step(nullptr, selected, testRec.get(), link);
    step.CheckLoadsAgainst(ResolveVerdictChoice(LoadProfiles().profiles, SimulatorProfile));
    for (int i = 0; i < 3; ++i)
        step.findChild<QPushButton*>(QStringLiteral("btnSkip"))->click();
    fit.Check(step, QStringLiteral("test step"));
    {
        TEditInfo editor(&step, false, testRec.get());
        fit.Check(editor, QStringLiteral("Edit Device Information"));
    }
    TCommProgress progress(&step, 10306, 0, QStringLiteral("Downloading real-time wave data..."));
    fit.Check(progress, QStringLiteral("download progress"));
    link.Close();
}

} // namespace
