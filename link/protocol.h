#pragma once
// What the program says to the analyzer and what it expects back: the eight commands, the size of
// each reply, and the pure checks made on the replies. The transport (usbcomm.h) carries the bytes;
// the start window and the test step sequencer run the exchanges.

#include "link/analyzerlink.h"

#include <QByteArray>
#include <QString>
#include <array>
#include <cstdint>
#include <string_view>

// Commands, without the carriage return that UsbSendCommand adds.
inline constexpr std::string_view CmdStatus = "GS";              // -> 37-byte status block
inline constexpr std::string_view CmdAccessoryConnect = "VN";    // -> "*" CR
inline constexpr std::string_view CmdLoadConfig = "RL";          // -> 4-byte load configuration
inline constexpr std::string_view CmdStep25Ohms = "ECGDJ20";     // -> "*" CR, step of the 25-ohm load
inline constexpr std::string_view CmdStepOtherLoads = "ECGDJ10"; // -> "*" CR, steps of 50..175 ohms
inline constexpr std::string_view CmdDischargeWait = "DEHT";     // -> discharge text, open-ended
inline constexpr std::string_view CmdAbort = "\x1b";             // -> "*"
inline constexpr std::string_view CmdWaveform = "VW";            // -> 10306-byte waveform block

inline constexpr uint32_t StatusReplySize = 37;
inline constexpr uint32_t AckReplySize = 2;
inline constexpr uint32_t LoadConfigReplySize = 4;
inline constexpr uint32_t AbortReplySize = 1;
inline constexpr uint32_t MeasurementBlockSize = 66;
inline constexpr uint32_t WaveformSampleCount = 5120;
inline constexpr uint32_t WaveformReplySize = MeasurementBlockSize + 2 * WaveformSampleCount; // 10306

// Replies that are compared are read into a buffer cleared to zeros, so that they can be compared
// as zero-terminated text.
inline constexpr size_t ReplyBufferSize = 1024;
using ReplyBuffer = std::array<char, ReplyBufferSize>;
inline void ClearReply(ReplyBuffer& buffer) {
    buffer.fill('\0');
}

// Sends one of the commands above (UsbSendCommand with the command's own length).
void SendCommand(AnalyzerLink& link, std::string_view command, TransportFaults* faults = nullptr);

// The step command shown for a load: "ECGDJ20" for the 25-ohm load (index 0), "ECGDJ10" for others.
std::string_view StepCommand(int loadIndex);

// "*" CR, the acknowledgement of "VN" and of the step commands, read into a cleared buffer.
bool IsAcknowledgement(const ReplyBuffer& reply);
// "*", the acknowledgement of ESC.
bool IsAbortAcknowledgement(const ReplyBuffer& reply);
// The start window's test of the "RL" reply: the text "XX" (bytes 0 and 1 "X", byte 2 zero).
bool IsAccessoryNotConnectedText(const ReplyBuffer& reply);
// The sequencer's test: bank and resistance characters both "X", whatever bytes 2 and 3 hold.
bool IsAccessoryNotConnected(char bank, char resistance);
// Bytes 2 (low) and 3 (high) of the "RL" reply: the accessory's resistance in 0.01 ohm.
uint16_t AccessoryResistanceOf(const ReplyBuffer& reply);

// Whether the accessory's reported jumper and bank match load index 0..6 ("A" with "1" or "2" for
// 25 and 50 ohms, "B" with "3".."7" for 75..175 ohms). Any other index (the closing step) is false.
bool IsLoadConfigured(int loadIndex, char bank, char resistance);
// The message text for a configuration that does not match: resistance, bank and the two
// characters as an error code, on three lines.
QString DescribeLoadConfig(char bank, char resistance);
// The "Load Configured Incorrectly" box of load index 0..6: DescribeLoadConfig and a line that says
// what to do: for "XX", that the accessory does not answer and which cables to check; otherwise the
// jumper and bank the load needs ("Expected: 100 Ohms, Bank B").
QString DescribeLoadConfigForLoad(int loadIndex, char bank, char resistance);

// The discharge text holds an energy reading: its first "=" and its first "J" stand 4 to 6
// characters apart (3 to 5 characters between them, as in "=123J", "=12.3J", "=123.4J").
bool HasEnergyReading(const QByteArray& text);
// The analyzer's "TEST" text, which ends the discharge wait as a cancel when no reading was found.
bool HasTestText(const QByteArray& text);
