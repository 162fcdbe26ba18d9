#pragma once
// A help viewer for tests: installed for its lifetime, it records the topics asked for and counts
// the calls that close every help window.

#include "base/helptopic.h"

#include <QStringList>

class RecordingHelp : public HelpViewer {
public:
    RecordingHelp() = default;
    RecordingHelp(const RecordingHelp&) = delete;
    RecordingHelp& operator=(const RecordingHelp&) = delete;

    void ShowTopic(const QString& topic) override { topics << topic; }
    void CloseAll() override { ++closeAll; }

    QStringList topics;
    int closeAll = 0;

private:
    const ScopedInstall<HelpViewer> m_installed{*this}; // installed for the lifetime of this object
};
