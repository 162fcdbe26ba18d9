// The waveform download reads 10306 bytes one at a time: for each byte a queue check, a read, a
// progress step and a pass of the window messages. Measured against the simulated analyzer with
// an unlimited wire, in real time with the system clock, so that what remains is the cost of the
// loop itself. Goal: under 20 us a byte.
#include "link/protocol.h"
#include "link/usbcomm.h"
#include "sim/simulatedanalyzer.h"

#include <QCoreApplication>
#include <benchmark/benchmark.h>
#include <vector>

namespace {

class Counter : public ProgressStepper {
public:
    void StepIt() override { ++steps; }
    long steps = 0;
};

// A Qt application object, so that a pass of the window messages costs what it costs in the program.
void EnsureApplication() {
    static int argc = 1;
    static char name[] = "corvex_bench";
    static char* argv[] = {name, nullptr};
    if (!QCoreApplication::instance())
        new QCoreApplication(argc, argv); // lives until the process ends, as in the program
}

void BM_WaveformDownloadPerByte(benchmark::State& state) {
    EnsureApplication();
    SimulatedAnalyzer sim; // real time
    SimTiming timing;
    timing.bytesPerSecond = 0;
    timing.replyDelayMicroseconds = 0;
    sim.SetTiming(timing);
    const ScopedInstall<FtdiDriver> installed(sim);
    AnalyzerLink link;
    if (link.Open() != LinkError::None) {
        state.SkipWithError("the simulated analyzer could not be opened");
        return;
    }
    std::vector<uint8_t> buffer(WaveformReplySize);
    Counter progress;
    for (auto _ : state) {
        UsbPurge(link);
        SendCommand(link, CmdWaveform);
        if (UsbReadBlocks(link, buffer.data(), WaveformReplySize, &progress, 1) != 0) {
            state.SkipWithError("download failed");
            break;
        }
        benchmark::DoNotOptimize(buffer.data());
    }
    state.SetItemsProcessed(state.iterations() * WaveformReplySize);
    // Seconds per byte, shown with its SI prefix ("1.4u" is 1.4 us).
    state.counters["time_per_byte"] = benchmark::Counter(
        static_cast<double>(state.iterations() * WaveformReplySize),
        benchmark::Counter::kIsRate | benchmark::Counter::kInvert, benchmark::Counter::OneK::kIs1000);
    link.Close();
}
BENCHMARK(BM_WaveformDownloadPerByte)->Unit(benchmark::kMillisecond)->UseRealTime();

// The floor under the loop: one pass of the window messages and one progress step per byte, with no
// device and no reads. What the download costs above this is the transport's own share.
void BM_MessagePumpPerByteBaseline(benchmark::State& state) {
    EnsureApplication();
    Counter progress;
    for (auto _ : state)
        for (uint32_t i = 0; i < WaveformReplySize; ++i) {
            progress.StepIt();
            QCoreApplication::processEvents();
        }
    state.counters["time_per_byte"] = benchmark::Counter(
        static_cast<double>(state.iterations() * WaveformReplySize),
        benchmark::Counter::kIsRate | benchmark::Counter::kInvert, benchmark::Counter::OneK::kIs1000);
}
BENCHMARK(BM_MessagePumpPerByteBaseline)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
