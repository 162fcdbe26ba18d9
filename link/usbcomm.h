#pragma once
// The USB transport to the analyzer: open it by its USB description, send commands, read replies of
// known length within a window of four clock seconds, read long replies block by block while the
// progress display moves and the windows stay alive, and turn the analyzer's big-endian 16-bit
// fields into host order. It knows nothing of what the commands mean.
//
// Every operation takes the open analyzer's owner, an AnalyzerLink (one per test run), which alone
// opens and closes it and offers the exchanges of a test on top of these operations. Results:
// 0 success, -1 failure; UsbReadAttempt also returns 1 for "not enough data yet". A failed or short
// read or write is added to `faults` (if given), for the caller to tell; the transport shows nothing.
// Everything runs on the user-interface thread; the drivers are reached through TheFtdiDriver(),
// time through TheClock(), the window messages through ThePump().

#include "link/analyzerlink.h"
#include "link/ftdidriver.h"
#include "link/progressstepper.h"
#include "records/tzrtest.h"

#include <cstdint>

// The USB product description of the analyzer, by which it is found.
inline constexpr char AnalyzerDescription[] = "Corvex Defib Tester Final";
// Whole clock seconds a reply of known length may take.
inline constexpr int64_t ReadWindowSeconds = 4;
// Ends every command on the wire.
inline constexpr char CommandTerminator = '\r';

// One try: reads exactly `count` bytes when that many are waiting (0), reads nothing when fewer are
// (1), or fails (-1; a failed read is a fault, a failed queue query is not).
int UsbReadAttempt(AnalyzerLink& link, void* buffer, uint32_t count, TransportFaults* faults = nullptr);
// Tries without pause until `count` bytes have been read or the read window has run out (nothing is
// reported when it runs out; the caller knows what was expected).
int UsbRead(AnalyzerLink& link, void* buffer, uint32_t count, TransportFaults* faults = nullptr);
// As UsbRead, but a reply completed at the very end of the read window does not count (the status
// query's read).
int UsbReadWithinWindow(AnalyzerLink& link, void* buffer, uint32_t count, TransportFaults* faults = nullptr);
// How a block read went: the blocks read whole, and how it ended. A failed read is also a fault; a
// failed queue query (a device that is gone) and a window that ran out are not.
struct BlockReadResult {
    enum class End { Complete, WindowRanOut, QueueFailed, ReadFailed };
    uint32_t blocks = 0;
    End end = End::Complete;
};
// Reads `count` blocks of `size` bytes, each with its own read window; after each block steps the
// progress display (if any) and lets the windows process their messages. Blocks read before a
// failure stay in the buffer; `result` (if given) tells how many there are and why the read stopped.
int UsbReadBlocks(AnalyzerLink& link, void* buffer, uint32_t count, ProgressStepper* progress, uint32_t size,
                  BlockReadResult* result = nullptr, TransportFaults* faults = nullptr);
// Writes `count` bytes; a failed or short write is a fault.
int UsbWrite(AnalyzerLink& link, const void* data, uint32_t count, TransportFaults* faults = nullptr);
// Writes the command followed by the terminator, in one write. A failed write is a fault; the
// caller's read then runs out of its window.
void UsbSendCommand(AnalyzerLink& link, const char* command, uint32_t count,
                    TransportFaults* faults = nullptr);
// 0 while the analyzer answers, -1 when it is gone (or the driver says nothing).
int UsbCheckLink(AnalyzerLink& link);
// Empties both queues of the device; the result is not examined.
void UsbPurge(AnalyzerLink& link);

// Exchanges the two bytes of a 16-bit value in place (signed or unsigned alike; any alignment).
void SwapWord(void* word);
// Turns the 18 big-endian fields of a received measurement block into host order (and back).
void SwapMeasurementBlock(TMeasurementBlock* block);
// Turns 5120 big-endian samples into host order (and back).
void SwapWaveform(void* samples);
// Stores the analyzer's 10306-byte "VW" reply into a load: the measurement block and the samples in
// host order, and the load marked as holding data.
void StoreWaveformReply(const uint8_t* reply, TZRTest& load);
