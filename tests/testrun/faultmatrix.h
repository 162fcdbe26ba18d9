#pragma once
// The fault matrix of a variable load test: each fault of the simulated analyzer injected at each
// stage of a run, what the program then shows and keeps, and that matrix as Markdown for
// docs/reliability.md. The cells and their expected outcomes are in faultmatrix_test.cpp.

#include "link/protocol.h"

#include <QList>
#include <QString>
#include <optional>

// Where in the run the fault is injected.
enum class Stage {
    Status,       // "GS" of the start
    Connect,      // "VN" of the start
    StartConfig,  // "RL" of the start
    FirstStep,    // "ECGDJ20" as the 25-ohm step is shown
    StepCommand,  // "ECGDJ10" as the 100-ohm step is shown
    ConfigBefore, // "RL" before the discharge
    Discharge,    // "DEHT", the discharge wait
    ConfigAfter,  // "RL" after the discharge
    Download,     // "VW"
    Abort,        // ESC, Cancel pressed during the discharge wait
};

enum class Fault {
    NoReply,
    LateWithin,
    LateBeyond,
    Short,
    Garbage,
    NotConnectedOnce,
    NotConnectedTwice,
    NotConnectedThrice,
    WrongConfiguration,
    TestText,
    UnplugFirst,
    UnplugMiddle,
    UnplugLast,
    Stall,
    TrailingText,
};

inline constexpr Stage AllStages[] = {
    Stage::Status,       Stage::Connect,   Stage::StartConfig, Stage::FirstStep, Stage::StepCommand,
    Stage::ConfigBefore, Stage::Discharge, Stage::ConfigAfter, Stage::Download,  Stage::Abort};
inline constexpr Fault AllFaults[] = {Fault::NoReply,
                                      Fault::LateWithin,
                                      Fault::LateBeyond,
                                      Fault::Short,
                                      Fault::Garbage,
                                      Fault::NotConnectedOnce,
                                      Fault::NotConnectedTwice,
                                      Fault::NotConnectedThrice,
                                      Fault::WrongConfiguration,
                                      Fault::TestText,
                                      Fault::UnplugFirst,
                                      Fault::UnplugMiddle,
                                      Fault::UnplugLast,
                                      Fault::Stall,
                                      Fault::TrailingText};

// The loads of every run; the faults of the load steps hit the second one.
inline constexpr int MatrixLoads[] = {0, 3, 6};
inline constexpr int FaultedLoad = 3;

// How late a late reply is: one well inside the read window of 3 to 4 seconds, one past it.
inline constexpr int LateWithinMilliseconds = 2000;
inline constexpr int LateBeyondMilliseconds = 4500;
// How long after the energy reading its line end comes (within the quiet time the wait gives it).
inline constexpr int TrailingTextMilliseconds = 50;
// How long the person at the program reads each message box before pressing its button.
inline constexpr int ReadingMilliseconds = 2000;
// Cancel in the discharge wait: pressed this long after "DEHT" when the ESC exchange is the stage;
// pressed this long after "DEHT" when the analyzer stays silent (the wait itself has no limit).
inline constexpr int AbortAfterMilliseconds = 1000;
inline constexpr int SilentWaitCancelSeconds = 60;
// The byte of the download at which the cable is pulled or the analyzer stops sending.
inline constexpr int MiddleByte = static_cast<int>(WaveformReplySize / 2);
inline constexpr int LastByte = static_cast<int>(WaveformReplySize - 1);

QString StageName(Stage stage);
QString FaultName(Fault fault);
// The command the stage's fault is injected on, and the length of its reply (for the discharge
// wait, of the text that opens it).
QByteArray StageCommand(Stage stage);
uint32_t StageReplySize(Stage stage);
bool IsStartStage(Stage stage);

// A message box as the user sees it.
struct Box {
    QString caption;
    QString text;
    bool operator==(const Box&) const = default;
};
// Each box as `caption: text`, line feeds as \n; "none" when there is none.
QString RenderBoxes(const QList<Box>& boxes);

// What the run looks like once it is idle again after the fault (the 100-ohm step may add a sentence
// to its description).
enum class Shown { StartWindow, Load25, Load100, Load175, Load100TestKey };
enum class Link { Open, Closed };
// How the record differs from what it was just before the faulted action.
enum class RecordChange { Unchanged, StatusBlock, StatusGarbage, ResistanceOnly, Filled, FilledWithGarbage };
// What it takes to finish the run afterwards.
enum class Recovery { Nothing, OkOnTheLoad, StartTestAgain, PlugInAndOk };

QString Label(Shown shown);
QString Label(Link link);
QString Label(RecordChange change);
QString Label(Recovery recovery);

// One cell of the matrix as it came out (or is expected to come out), as the table shows it.
struct Outcome {
    QList<Box> messages;
    QString link;
    QString shown;
    QString record;
    QString then;
    bool operator==(const Outcome&) const = default;
};

struct Cell {
    Stage stage;
    Fault fault;
    Outcome outcome;
};

// The overview (stage by fault, "—" where nothing is run), the row of each cell and the legend.
QString MatrixMarkdown(const QList<Cell>& cells);

// The generated part of docs/reliability.md lies between these two lines.
inline constexpr char DocBeginMarker[] = "<!-- fault matrix: generated by the test, do not edit -->";
inline constexpr char DocEndMarker[] = "<!-- end of fault matrix -->";
// The text between the markers, or nothing when they are missing.
std::optional<QString> GeneratedPart(const QString& doc);
// The doc with the text between the markers replaced.
QString WithGeneratedPart(const QString& doc, const QString& part);
