#pragma once
// A help viewer for tests: installed for its lifetime, it records the topics asked for and counts
// the calls that close every help window.

#include "base/helptopic.h"

#include <QStringList>

class RecordingHelp : public HelpViewer {
public:
    RecordingHelp() { InstallHelpViewer(this); }
    ~RecordingHelp() override { InstallHelpViewer(nullptr); }
    RecordingHelp(const RecordingHelp&) = delete;
    RecordingHelp& operator=(const RecordingHelp&) = delete;

    void ShowTopic(const QString& topic) override { topics << topic; }
    void CloseAll() override { ++closeAll; }

    QStringList topics;
    int closeAll = 0;
};
