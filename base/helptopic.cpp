#include "base/helptopic.h"

template <> Seam<HelpViewer>& TheSeam<HelpViewer>() {
    static Seam<HelpViewer> seam;
    return seam;
}

void ShowHelpTopic(const QString& topic) {
    // Help is a convenience: a failure to show it must never disturb the window that asked.
    try {
        if (HelpViewer* viewer = TheSeam<HelpViewer>().Get())
            viewer->ShowTopic(topic);
    } catch (...) {
    }
}

void CloseAllHelp() {
    if (HelpViewer* viewer = TheSeam<HelpViewer>().Get())
        viewer->CloseAll();
}
