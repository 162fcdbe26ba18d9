#pragma once
// Exchanges with the simulated analyzer in virtual time: the analyzer installed as the driver, and
// the small steps that the start window and the sequencer make, written the way they make them.

#include "link/analyzerlink.h"
#include "link/protocol.h"
#include "link/usbcomm.h"
#include "sim/simulatedanalyzer.h"
#include "tests/link/linkfixture.h"

class SimExchangeTest : public LinkTest {
protected:
    ~SimExchangeTest() override { link.Close(); }

    void Open() { ASSERT_EQ(link.Open(), LinkError::None); }

    // Sends the command and reads `size` bytes into a cleared reply buffer; `result` is UsbRead's.
    ReplyBuffer Ask(std::string_view command, uint32_t size, int* result = nullptr) {
        ReplyBuffer reply;
        ClearReply(reply);
        SendCommand(link, command);
        const int r = UsbRead(link, reply.data(), size);
        if (result)
            *result = r;
        return reply;
    }

    enum class WaitEnd { Energy, Test, ReadError, GaveUp };
    // The discharge wait as the sequencer runs it: one byte at a time, a 200 ms pause when none is
    // waiting, the windows pumped every round. Gives up after `maxRounds` rounds.
    WaitEnd WaitForDischarge(QByteArray* text, int maxRounds = 5000) {
        for (int round = 0; round < maxRounds; ++round) {
            char byte = 0;
            const int r = UsbReadAttempt(link, &byte, 1);
            if (r == 0) {
                text->append(byte);
                if (HasEnergyReading(*text))
                    return WaitEnd::Energy;
                if (HasTestText(*text))
                    return WaitEnd::Test;
            } else if (r == -1) {
                return WaitEnd::ReadError;
            } else {
                TheClock().Sleep(200);
            }
            ThePump().ProcessMessages();
        }
        return WaitEnd::GaveUp;
    }

    SimulatedAnalyzer sim{&clock};
    ScopedInstall<FtdiDriver> driverInstalled{sim};
    AnalyzerLink link;
};
