#pragma once
// The help seam. Windows ask for a topic by its page name ("ZRQHelp.html", ...); the program installs
// the help window that shows it. Without one installed, asking for help does nothing.

#include "base/seam.h"

#include <QString>

class HelpViewer {
public:
    virtual ~HelpViewer() = default;
    virtual void ShowTopic(const QString& topic) = 0;
    // Closes every help window the program opened.
    virtual void CloseAll() = 0;
};

// No viewer until one is installed (ScopedInstall<HelpViewer>).
template <> Seam<HelpViewer>& TheSeam<HelpViewer>();
// Shows a topic; reports nothing, whatever happens.
void ShowHelpTopic(const QString& topic);
void CloseAllHelp();

inline const QString HelpTopicMain = QStringLiteral("ZRQHelp.html");
inline const QString HelpTopicReportViewer = QStringLiteral("ZRQTestReportViewerHelp.html");
inline const QString HelpTopicWaveformViewer = QStringLiteral("ZRQWaveformViewerHelp.html");
// The windows of a test: their sections of the main page.
inline const QString HelpTopicTestStart = QStringLiteral("ZRQHelp.html#start");
inline const QString HelpTopicLoadSelection = QStringLiteral("ZRQHelp.html#selectloads");
inline const QString HelpTopicTestStep = QStringLiteral("ZRQHelp.html#loadsteps");
inline const QString HelpTopicDeviceInfo = QStringLiteral("ZRQHelp.html#deviceinfo");
inline const QString HelpTopicLibrary = QStringLiteral("ZRQHelp.html#library");
