// waveview: opens the waveform viewer on a *.zrq test record, for trying the viewer out.
//   waveview FILE.zrq [LOAD...]
// LOAD is a load in ohms (25, 50, ... 175); without any, every load that holds a waveform is shown.
#include "base/global.h"
#include "base/qtmessages.h"
#include "records/tzrtestrec.h"
#include "waveform/waveformviewer.h"

#include <QApplication>
#include <QStringList>
#include <cstdio>

namespace {

int Usage() {
    std::fprintf(stderr, "usage: waveview FILE.zrq [LOAD...]   (LOAD in ohms: 25 50 75 100 125 150 175)\n");
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(ProgramName);
    QtMessageBoxes boxes;
    const ScopedInstall<MessageBoxes> installed(boxes);
    SetupDataFolder();

    const QStringList args = QApplication::arguments().mid(1);
    if (args.isEmpty())
        return Usage();
    auto rec = std::make_unique<TZRTestRec>();
    try {
        if (rec->LoadTestFile(args[0]) != 0) {
            std::fprintf(stderr, "waveview: %s is not a test record\n", qPrintable(args[0]));
            return 1;
        }
    } catch (const EFileError& e) {
        std::fprintf(stderr, "waveview: %s\n", e.what());
        return 1;
    }

    QList<TTestLoad> loads;
    for (qsizetype i = 1; i < args.size(); ++i) {
        bool ok = false;
        const int ohms = args[i].toInt(&ok);
        if (!ok || ohms % 25 != 0 || ohms < LoadOhms(0) || ohms > LoadOhms(LOAD_COUNT - 1))
            return Usage();
        loads.append(static_cast<TTestLoad>(ohms / 25 - 1));
    }
    if (loads.isEmpty())
        for (int i = 0; i < LOAD_COUNT; ++i)
            if (rec->Loads[i].HasData)
                loads.append(static_cast<TTestLoad>(i));
    if (loads.isEmpty()) {
        std::fprintf(stderr, "waveview: the record holds no waveform\n");
        return 1;
    }

    auto* viewer = new TWaveformViewer(nullptr, loads, *rec);
    viewer->show();
    return QApplication::exec();
}
