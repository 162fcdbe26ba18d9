#include "cli/command.h"

namespace {

// In the order the usage lists them.
constexpr Command CommandTable[] = {
    {"report", "FILE.zrq", "print the test report on standard output", 1, 1, RunReportCommand},
    {"csv", "FILE.zrq OUT.csv", "write the results and waveforms as CSV to OUT.csv", 2, 2, RunCsvCommand},
    {"info", "FILE.zrq", "print a short summary of the test", 1, 1, RunInfoCommand},
    {"check", "FILE.zrq --profile PROFILE --energy J [--json]",
     "check each load's delivered energy against the energy the profile declares at J joules (exit 5: a load "
     "fails)",
     5, 6, RunCheckCommand, true},
    {"pdf", "FILE.zrq OUT.pdf [--profile PROFILE --energy J]",
     "write the service report as a PDF document: device, results, verdict (with a profile), waveforms", 2, 6,
     RunPdfCommand, true},
    {"probe", "", "look for the analyzer on USB and try to open it (exit 3: not found, 4: not opened)", 0, 0,
     RunProbeCommand},
    {"simulate",
     "OUT.zrq [--loads 25,50,...] [--waveform bte|rlb|mds] [--energy J] [--seed N] [--device-id TEXT] "
     "[--trace FILE] [--profile PROFILE]",
     "run a whole test against the simulated analyzer and save it; with --profile, check it too", 1, 15,
     RunSimulateCommand, true},
    {"replay", "TRACE [--loads 25,50,...]",
     "run a test against a wire trace and tell where it parts from the trace (exit 3)", 1, 3,
     RunReplayCommand, true},
    {"library",
     "[--db URL] import PATH... | list [--device ID] [--json] | export ID OUT.zrq | outbox [--send] [--json]",
     "put record files (and folders of them) into the test library, list its tests newest first, or write "
     "a stored record back to a file, or show and send the tests waiting in the outbox",
     1, 1 << 20, RunLibraryCommand, true},
};

} // namespace

std::span<const Command> Commands() {
    return CommandTable;
}
