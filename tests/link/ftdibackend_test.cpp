// The libftdi1 backend against emulated FT232R chips: the real libftdi and libusb run under
// umockdev-wrapper. The backend's I/O thread runs in real time, so these tests wait for it, briefly.
#include "cli/command.h"
#include "link/ftdibackend.h"
#include "link/ftdiprobe.h"
#include "link/usbcomm.h"
#include "link/wiretrace.h"
#include "tests/link/emulatedftdi.h"
#include "tests/support/qtprinters.h"
#include "tests/support/scriptedmessages.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>
#include <array>
#include <gtest/gtest.h>
#include <utility>

namespace {

const QByteArray Analyzer = "Corvex Defib Tester Final";

class FtdiBackendTest : public ::testing::Test {
protected:
    void SetUp() override {
        bus = std::make_unique<EmulatedFtdiBus>();
        ASSERT_TRUE(EmulatedFtdiBus::InMockEnvironment()) << "run this test under umockdev-wrapper";
        installed.emplace(driver);
    }
    void TearDown() override {
        installed.reset();
        if (handle != FtHandle::Null)
            driver.Close(handle);
        bus.reset();
    }

    FtStatus Open() { return driver.OpenEx(Analyzer.constData(), FtOpenByDescription, handle); }

    uint32_t Queued() {
        uint32_t n = 0;
        driver.GetQueueStatus(handle, n);
        return n;
    }

    bool WaitQueued(uint32_t count) {
        return WaitUntil([&] { return Queued() >= count; });
    }

    std::unique_ptr<EmulatedFtdiBus> bus;
    LibFtdiDriver driver;
    std::optional<ScopedInstall<FtdiDriver>> installed;
    FtHandle handle = FtHandle::Null;
};

TEST_F(FtdiBackendTest, FindsTheAnalyzerByItsProductStringAndSetsNothing) {
    EmulatedFtdiChip& chip = bus->AddChip(Analyzer);
    ASSERT_EQ(Open(), FtOK);
    EXPECT_NE(handle, FtHandle::Null);
    // Only what libftdi's own open does: a reset and the chip's power-on baud rate (9600).
    EXPECT_EQ(chip.Requests(), (QStringList{"reset 0", "baudrate 16696"}));
    uint32_t rx = 1, tx = 1, event = 0xFFFFFFFF;
    EXPECT_EQ(driver.GetStatus(handle, rx, tx, event), FtOK);
    EXPECT_EQ(event, 0u);
    EXPECT_EQ(driver.Close(handle), FtOK);
    handle = FtHandle::Null;
}

TEST_F(FtdiBackendTest, OtherFtdiDevicesAreListedButNotOpened) {
    bus->AddChip("FT232R USB UART");
    EXPECT_EQ(Open(), FtDeviceNotFound);
    EXPECT_EQ(handle, FtHandle::Null);
    const QList<FtdiDeviceInfo> devices = LibFtdiDriver::ListDevices();
    ASSERT_EQ(devices.size(), 1);
    EXPECT_EQ(devices[0].product, "FT232R USB UART");
    EXPECT_EQ(devices[0].productId, 0x6001);
    EXPECT_TRUE(devices[0].readError.isEmpty());
}

TEST_F(FtdiBackendTest, OfTwoDevicesTheAnalyzerIsOpened) {
    EmulatedFtdiChip& other = bus->AddChip("FT2232H Dual", 0x6010);
    EmulatedFtdiChip& analyzer = bus->AddChip(Analyzer);
    EXPECT_EQ(LibFtdiDriver::ListDevices().size(), 2);
    ASSERT_EQ(Open(), FtOK);
    uint32_t written = 0;
    EXPECT_EQ(driver.Write(handle, "GS\r", 3, written), FtOK);
    EXPECT_EQ(written, 3u);
    EXPECT_EQ(analyzer.Received(), QByteArray("GS\r"));
    EXPECT_TRUE(other.Received().isEmpty());
}

TEST_F(FtdiBackendTest, NothingOnTheBusIsNotFound) {
    EXPECT_EQ(Open(), FtDeviceNotFound);
    EXPECT_TRUE(LibFtdiDriver::ListDevices().isEmpty());
}

TEST_F(FtdiBackendTest, ReadsTakeExactlyTheBytesAskedForFromTheQueue) {
    EmulatedFtdiChip& chip = bus->AddChip(Analyzer);
    ASSERT_EQ(Open(), FtOK);
    chip.SendToHost(QByteArray("*\rXX\0\0", 6));
    ASSERT_TRUE(WaitQueued(6));
    std::array<char, 8> buffer{};
    uint32_t got = 0;
    EXPECT_EQ(driver.Read(handle, buffer.data(), 2, got), FtOK);
    EXPECT_EQ(got, 2u);
    EXPECT_EQ(QByteArray(buffer.data(), 2), QByteArray("*\r"));
    EXPECT_EQ(Queued(), 4u);
    EXPECT_EQ(driver.Read(handle, buffer.data(), 8, got), FtOK);
    EXPECT_EQ(got, 4u); // never waits for more than is there
}

TEST_F(FtdiBackendTest, AReplyPartlyQueuedIsReadWhenTheRestArrives) {
    EmulatedFtdiChip& chip = bus->AddChip(Analyzer);
    ASSERT_EQ(Open(), FtOK);
    const QByteArray status(37, 'S');
    chip.SendToHost(status.left(36));
    ASSERT_TRUE(WaitQueued(36));
    std::array<uint8_t, 37> buffer{};
    AnalyzerLink link(handle);
    EXPECT_EQ(UsbReadAttempt(link, buffer.data(), 37), 1);
    EXPECT_EQ(Queued(), 36u);
    chip.SendToHost(status.right(1));
    ASSERT_TRUE(WaitQueued(37));
    EXPECT_EQ(UsbReadAttempt(link, buffer.data(), 37), 0);
    EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(buffer.data()), 37), status);
    handle = FtHandle::Null; // the link closes it
}

TEST_F(FtdiBackendTest, ALongReplyCrossesManyUsbPackets) {
    EmulatedFtdiChip& chip = bus->AddChip(Analyzer);
    ASSERT_EQ(Open(), FtOK);
    QByteArray block(10306, '\0');
    for (int i = 0; i < block.size(); ++i)
        block[i] = static_cast<char>(i * 31 + 7);
    chip.SendToHost(block);
    ASSERT_TRUE(WaitQueued(10306));
    QByteArray got(10306, '\0');
    AnalyzerLink link(std::exchange(handle, FtHandle::Null));
    ASSERT_EQ(UsbReadBlocks(link, got.data(), 10306, nullptr, 1), 0);
    EXPECT_EQ(got, block);
}

TEST_F(FtdiBackendTest, PurgeFlushesTheChipAndTheQueue) {
    EmulatedFtdiChip& chip = bus->AddChip(Analyzer);
    ASSERT_EQ(Open(), FtOK);
    chip.SendToHost("energy text");
    ASSERT_TRUE(WaitQueued(11));
    EXPECT_EQ(driver.Purge(handle, FtPurgeRx | FtPurgeTx), FtOK);
    EXPECT_EQ(Queued(), 0u);
    // Both of the chip's buffers: towards the host (2) and from it (1). The older libftdi purge calls
    // had the two the wrong way round.
    QStringList flushes = chip.Requests().mid(2);
    flushes.sort();
    EXPECT_EQ(flushes, (QStringList{"reset 1", "reset 2"}));
}

TEST_F(FtdiBackendTest, StatusQueryThroughTheTransport) {
    EmulatedFtdiChip& chip = bus->AddChip(Analyzer);
    chip.SetResponder(
        [](const QByteArray& command) { return command == "GS\r" ? QByteArray(37, 'S') : QByteArray(); });
    AnalyzerLink link;
    ASSERT_EQ(link.Open(), LinkError::None);
    std::array<uint8_t, 37> status{};
    EXPECT_EQ(link.QueryStatus(status).Ok(), true);
    EXPECT_EQ(status[36], 'S');
    EXPECT_EQ(UsbCheckLink(link), 0);
    link.Close();
}

TEST_F(FtdiBackendTest, UnpluggedDeviceTurnsTheEventWordAndCannotBeFoundAgain) {
    EmulatedFtdiChip& chip = bus->AddChip(Analyzer);
    ASSERT_EQ(Open(), FtOK);
    chip.Unplug();
    ASSERT_TRUE(WaitUntil([&] {
        uint32_t rx = 0, tx = 0, event = 0;
        driver.GetStatus(handle, rx, tx, event);
        return event != 0;
    }));
    uint32_t rx = 0, tx = 0, event = 0;
    EXPECT_EQ(driver.GetStatus(handle, rx, tx, event), FtIoError);
    EXPECT_EQ(event, FtEventDeviceGone);
    uint32_t n = 0;
    EXPECT_EQ(driver.GetQueueStatus(handle, n), FtIoError);
    EXPECT_EQ(driver.Write(handle, "VN\r", 3, n), FtIoError);
    EXPECT_EQ(driver.Close(handle), FtOK);
    handle = FtHandle::Null;
    EXPECT_EQ(Open(), FtDeviceNotFound);
}

TEST_F(FtdiBackendTest, StaleHandlesAreRejected) {
    bus->AddChip(Analyzer);
    ASSERT_EQ(Open(), FtOK);
    const FtHandle old = handle;
    EXPECT_EQ(driver.Close(handle), FtOK);
    handle = FtHandle::Null;
    uint32_t n = 0;
    EXPECT_EQ(driver.GetQueueStatus(old, n), FtInvalidHandle);
    EXPECT_EQ(driver.Close(old), FtInvalidHandle);
}

// --- the probe

struct ProbeOutput {
    int code;
    QString out;
    QString err;
};

ProbeOutput RunProbe() {
    ProbeOutput p;
    QTextStream out(&p.out);
    QTextStream err(&p.err);
    p.code = ProbeAnalyzer(out, err);
    return p;
}

// Answers the status query as an analyzer in REMOTE mode does.
QByteArray RemoteMode(const QByteArray& command) {
    if (command != "GS\r")
        return {};
    QByteArray status(37, '\0');
    status.replace(12, 8, "CVX-0042");
    return status;
}

TEST_F(FtdiBackendTest, ProbeOpensTheAnalyzerAndAsksForItsStatus) {
    bus->AddChip("FT232R USB UART");
    EmulatedFtdiChip& analyzer = bus->AddChip(Analyzer);
    analyzer.SetResponder(RemoteMode);
    const ProbeOutput p = RunProbe();
    EXPECT_EQ(p.code, ProbeAnalyzerOpened);
    EXPECT_EQ(p.out, "FTDI devices (vendor 0403):\n"
                     "  bus 001 address 001  product 6001  \"FT232R USB UART\"\n"
                     "  bus 002 address 001  product 6001  \"Corvex Defib Tester Final\"\n"
                     "Analyzer \"Corvex Defib Tester Final\" found at bus 002 address 001.\n"
                     "Opened it.\n"
                     "It answers: analyzer ID \"CVX-0042\". Ready for a test.\n");
    EXPECT_TRUE(p.err.isEmpty());
    EXPECT_EQ(analyzer.Received(), QByteArray("GS\r"));
}

TEST_F(FtdiBackendTest, ZrqtoolProbeTracesItsExchange) {
    bus->AddChip(Analyzer).SetResponder(RemoteMode);
    QTemporaryDir dir;
    const QString path = dir.filePath("probe-trace.txt");
    QString out, err;
    QTextStream outStream(&out), errStream(&err);
    EXPECT_EQ(RunZrqTool({"--trace", path, "probe"}, outStream, errStream), 0);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly | QIODevice::Text));
    const QList<TracedEvent> trace = ParseWireTrace(QString::fromLatin1(file.readAll()).split('\n'));
    ASSERT_EQ(trace.size(), 3);
    EXPECT_EQ(trace[0].event.kind, WireEventKind::Write);
    EXPECT_EQ(trace[0].event.bytes, QByteArray("GS\r"));
    EXPECT_EQ(trace[1].event.kind, WireEventKind::Read);
    EXPECT_EQ(trace[1].event.bytes, RemoteMode("GS\r"));
    EXPECT_EQ(trace[2].event.kind, WireEventKind::Close);
}

TEST_F(FtdiBackendTest, ProbeWithoutAnalyzer) {
    const ProbeOutput p = RunProbe();
    EXPECT_EQ(p.code, ProbeAnalyzerNotFound);
    EXPECT_EQ(p.out, "FTDI devices (vendor 0403):\n  none\n");
    EXPECT_TRUE(p.err.contains("was not found"));
}

TEST_F(FtdiBackendTest, ProbeOfAnAnalyzerThatCannotBeClaimed) {
    bus->AddChip(Analyzer).SetBusy(true);
    const ProbeOutput p = RunProbe();
    EXPECT_EQ(p.code, ProbeAnalyzerNotOpened);
    EXPECT_TRUE(p.err.startsWith("The analyzer could not be opened: unable to claim usb device"));
    EXPECT_TRUE(p.err.contains("70-corvexzr.rules"));
}

} // namespace
