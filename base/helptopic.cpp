#include "base/helptopic.h"

namespace {
HelpViewer* g_viewer = nullptr;
}

void InstallHelpViewer(HelpViewer* viewer) {
    g_viewer = viewer;
}

void ShowHelpTopic(const QString& topic) {
    // Help is a convenience: a failure to show it must never disturb the window that asked.
    try {
        if (g_viewer)
            g_viewer->ShowTopic(topic);
    } catch (...) {
    }
}

void CloseAllHelp() {
    if (g_viewer)
        g_viewer->CloseAll();
}
