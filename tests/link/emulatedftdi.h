#pragma once
// An FT232R chip emulated under umockdev, so that the libftdi1 backend runs the real libftdi and
// libusb against it without hardware and without root. The test executable runs under
// umockdev-wrapper; each chip is a USB device in the testbed's sysfs and an ioctl handler that
// answers libusb's usbdevfs requests: descriptors and strings, the chip's vendor requests (reset,
// baud rate, flushes), bulk writes from the host, and bulk reads that carry the chip's two modem
// status bytes in front of its data, as the real chip does.

#include <QByteArray>
#include <QStringList>
#include <chrono>
#include <functional>
#include <memory>
#include <mutex>

typedef struct _UMockdevTestbed UMockdevTestbed;

class EmulatedFtdiChip;

class EmulatedFtdiBus {
public:
    EmulatedFtdiBus();
    ~EmulatedFtdiBus();
    EmulatedFtdiBus(const EmulatedFtdiBus&) = delete;
    EmulatedFtdiBus& operator=(const EmulatedFtdiBus&) = delete;

    // Whether the process runs under umockdev-wrapper (otherwise nothing can be emulated).
    static bool InMockEnvironment();

    // Plugs in a chip with this product string, each on a bus of its own.
    EmulatedFtdiChip& AddChip(const QByteArray& product, uint16_t productId = 0x6001);

private:
    UMockdevTestbed* m_testbed;
    std::vector<std::unique_ptr<EmulatedFtdiChip>> m_chips;
};

class EmulatedFtdiChip {
public:
    ~EmulatedFtdiChip();

    // Bytes the device sends to the host; they reach libftdi in the next bulk reads.
    void SendToHost(const QByteArray& bytes);
    // Answers each write from the host (e.g. a command) with the bytes returned.
    void SetResponder(std::function<QByteArray(const QByteArray&)> responder);
    // What the host has written so far.
    QByteArray Received();
    // The vendor requests received, e.g. "reset 0", "reset 2" (flush), "baudrate 16696".
    QStringList Requests();
    // Bytes waiting in the chip for the host.
    int PendingToHost();
    // Refuses to be claimed, as when another driver or program holds the device.
    void SetBusy(bool busy);
    // The device goes away: transfers in flight fail, new ones are refused, and it leaves the bus.
    void Unplug();

private:
    friend class EmulatedFtdiBus;
    struct State;
    EmulatedFtdiChip(UMockdevTestbed* testbed, int bus, const QByteArray& product, uint16_t productId);
    std::unique_ptr<State> m_state;
};

// Waits (really, but briefly) until `done` holds or `limit` has passed; true when it held.
bool WaitUntil(const std::function<bool()>& done,
               std::chrono::milliseconds limit = std::chrono::milliseconds(3000));
