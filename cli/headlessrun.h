#pragma once
// A test without windows, as zrqtool simulate and zrqtool replay run it: the start handshake, then the
// steps of the selected loads with OK pressed on each, the device's ID filled in when the record has
// none. What a window would show goes to a HeadlessLog; nothing waits for an answer.

#include "records/tzrtestrec.h"

#include <QString>
#include <functional>

class HeadlessLog {
public:
    virtual ~HeadlessLog() = default;
    // A step is shown: the load's name, or "Tests done".
    virtual void Step(const QString& caption) = 0;
    // A load has been downloaded: its name and main results, on one line.
    virtual void Downloaded(const QString& summary) = 0;
    // What a window would show in a message box (the analyzer's notices), text on one line.
    virtual void Box(const QString& caption, const QString& text) = 0;
};

struct HeadlessTest {
    const uint8_t* loads = nullptr; // the seven selection bytes
    QString deviceId;
    // Asked after a failed start or step whether to press on once more; without it the run ends there.
    std::function<bool()> pressOn;
};

struct HeadlessResult {
    enum class End { Done, StartFailed, StepFailed };
    End end = End::Done;
    TTestLoad failedStep = CLOSING_STEP;
};

// Reads "25,50,..." (ohms, each a load of the test) into the seven selection bytes; false for anything
// else.
bool ParseLoadList(const QString& text, uint8_t (&loads)[LOAD_COUNT]);
// "25, 100 ohms".
QString LoadListText(const uint8_t (&loads)[LOAD_COUNT]);

// Runs the test into `rec`; the link is closed when it returns.
HeadlessResult RunHeadlessTest(TZRTestRec& rec, const HeadlessTest& test, HeadlessLog& log);
