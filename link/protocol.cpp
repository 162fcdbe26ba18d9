#include "link/protocol.h"

#include "link/usbcomm.h"
#include "records/tzrtest.h"

#include <cstring>

static_assert(MeasurementBlockSize == MEASUREMENT_BLOCK_SIZE);
static_assert(WaveformSampleCount == SAMPLE_COUNT);
static_assert(WaveformReplySize == 10306);

namespace {

QString ResistanceText(char resistance) {
    switch (resistance) {
    case '-':
        return QStringLiteral("No Resistance Selected");
    case '1':
        return QStringLiteral("25 Ohms");
    case '2':
        return QStringLiteral("50 Ohms");
    case '3':
        return QStringLiteral("75 Ohms");
    case '4':
        return QStringLiteral("100 Ohms");
    case '5':
        return QStringLiteral("125 Ohms");
    case '6':
        return QStringLiteral("150 Ohms");
    case '7':
        return QStringLiteral("175 Ohms");
    case 'E':
        return QStringLiteral("More Than One Resistance Selected");
    default:
        return QStringLiteral("Unknown Error");
    }
}

QString BankText(char bank) {
    switch (bank) {
    case '-':
        return QStringLiteral("No Bank Selected");
    case 'A':
        return QStringLiteral("Bank A");
    case 'B':
        return QStringLiteral("Bank B");
    case 'E':
        return QStringLiteral("Both Bank A And B Selected");
    default:
        return QStringLiteral("Unknown Error");
    }
}

// The accessory's code for load index 0..6 when it is set right: Bank A serves 25 and 50 ohms.
char ExpectedBank(int loadIndex) {
    return loadIndex <= 1 ? 'A' : 'B';
}

char ExpectedResistance(int loadIndex) {
    return static_cast<char>('1' + loadIndex);
}

} // namespace

void SendCommand(AnalyzerLink& link, std::string_view command, TransportFaults* faults) {
    UsbSendCommand(link, command.data(), static_cast<uint32_t>(command.size()), faults);
}

std::string_view StepCommand(int loadIndex) {
    return loadIndex == 0 ? CmdStep25Ohms : CmdStepOtherLoads;
}

bool IsAcknowledgement(const ReplyBuffer& reply) {
    return std::strcmp(reply.data(), "*\r") == 0;
}

bool IsAbortAcknowledgement(const ReplyBuffer& reply) {
    return std::strcmp(reply.data(), "*") == 0;
}

bool IsAccessoryNotConnectedText(const ReplyBuffer& reply) {
    return std::strcmp(reply.data(), "XX") == 0;
}

bool IsAccessoryNotConnected(char bank, char resistance) {
    return bank == 'X' && resistance == 'X';
}

uint16_t AccessoryResistanceOf(const ReplyBuffer& reply) {
    const auto low = static_cast<uint8_t>(reply[2]);
    const auto high = static_cast<uint8_t>(reply[3]);
    return static_cast<uint16_t>(low + 256 * high);
}

bool IsLoadConfigured(int loadIndex, char bank, char resistance) {
    if (loadIndex < 0 || loadIndex > 6)
        return false;
    return bank == ExpectedBank(loadIndex) && resistance == ExpectedResistance(loadIndex);
}

QString DescribeLoadConfig(char bank, char resistance) {
    return QStringLiteral("Resistance: ") + ResistanceText(resistance) + QStringLiteral("\nBank: ") +
           BankText(bank) + QStringLiteral(" \nError code: ") + QChar::fromLatin1(bank) +
           QChar::fromLatin1(resistance);
}

QString DescribeLoadConfigForLoad(int loadIndex, char bank, char resistance) {
    // The same cables the start window's connection picture shows.
    const QString advice =
        IsAccessoryNotConnected(bank, resistance)
            ? QStringLiteral(
                  "The load accessory (ZRQ) does not answer: check the RS232 serial cable and the ZRU "
                  "adapter cable between the Corvex analyzer and the ZRQ.")
            : QStringLiteral("Expected: ") + ResistanceText(ExpectedResistance(loadIndex)) +
                  QStringLiteral(", ") + BankText(ExpectedBank(loadIndex));
    return DescribeLoadConfig(bank, resistance) + QLatin1Char('\n') + advice;
}

bool HasEnergyReading(const QByteArray& text) {
    const qsizetype equals = text.indexOf('=');
    if (equals < 0)
        return false;
    const qsizetype joules = text.indexOf('J');
    return joules >= equals + 4 && joules <= equals + 6;
}

bool HasTestText(const QByteArray& text) {
    return text.contains("TEST");
}
