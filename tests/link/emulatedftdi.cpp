// GLib before Qt: GLib's headers use the word "signals", which Qt defines as a macro.
#include <sys/ioctl.h>
#include <umockdev.h>

#include "tests/link/emulatedftdi.h"

#include <cerrno>
#include <cstddef>
#include <cstring>
#include <deque>
#include <linux/usbdevice_fs.h>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

// The chip answers a bulk read with only its status bytes after this long without data (the real
// chip's latency timer is 16 ms; shorter keeps the tests quick).
constexpr auto Latency = std::chrono::milliseconds(2);
constexpr int PacketSize = 64;
const unsigned char ModemStatus[2] = {0x01, 0x60};

QByteArray Hex(const QByteArray& bytes) {
    return bytes.toHex();
}

QByteArray Descriptors(uint16_t productId) {
    QByteArray d;
    // Device: USB 2.0, vendor 0403, the product id, bcdDevice 0600 (FT232R), strings 1..3, one configuration.
    d += QByteArray::fromHex("1201000200000008"
                             "0304");
    d += static_cast<char>(productId & 0xFF);
    d += static_cast<char>(productId >> 8);
    d += QByteArray::fromHex("0006010203"
                             "01");
    // Configuration, one interface with a bulk IN (0x81) and a bulk OUT (0x02) endpoint of 64 bytes.
    d += QByteArray::fromHex("09022000010100a02d");
    d += QByteArray::fromHex("0904000002ffffff02");
    d += QByteArray::fromHex("0705810240"
                             "0000");
    d += QByteArray::fromHex("0705020240"
                             "0000");
    return d;
}

QByteArray StringDescriptor(const QByteArray& ascii) {
    QByteArray d;
    d += static_cast<char>(2 + 2 * ascii.size());
    d += static_cast<char>(3);
    for (char c : ascii) {
        d += c;
        d += '\0';
    }
    return d;
}

} // namespace

struct EmulatedFtdiChip::State {
    UMockdevTestbed* testbed = nullptr;
    UMockdevIoctlBase* handler = nullptr;
    QByteArray sysfsPath;
    QByteArray devnode;
    QByteArray product;

    std::mutex mutex;
    QByteArray toHost;
    QByteArray received;
    QStringList requests;
    std::function<QByteArray(const QByteArray&)> responder;
    bool busy = false;
    bool unplugged = false;

    struct Urb {
        UMockdevIoctlData* data; // the urb, with its buffer resolved
        bool in;                 // bulk read waiting for data
        Clock::time_point submitted;
        int status;
    };
    std::deque<Urb> flying;    // submitted, not yet reaped
    std::deque<Urb> discarded; // cancelled by the host, to be reaped

    static gboolean OnIoctl(UMockdevIoctlBase*, UMockdevIoctlClient* client, gpointer self) {
        return static_cast<State*>(self)->Handle(client);
    }

    gboolean Handle(UMockdevIoctlClient* client);
    void Submit(UMockdevIoctlClient* client, UMockdevIoctlData* arg);
    void Reap(UMockdevIoctlClient* client, UMockdevIoctlData* arg);
    void Control(usbdevfs_urb* urb);
    bool FillRead(usbdevfs_urb* urb, Clock::time_point submitted);
};

gboolean EmulatedFtdiChip::State::Handle(UMockdevIoctlClient* client) {
    const unsigned long request = umockdev_ioctl_client_get_request(client);
    UMockdevIoctlData* arg = umockdev_ioctl_client_get_arg(client);
    std::lock_guard lock(mutex);
    switch (request) {
    case USBDEVFS_GET_CAPABILITIES: {
        UMockdevIoctlData* d = umockdev_ioctl_data_resolve(arg, 0, sizeof(guint32), nullptr);
        *reinterpret_cast<guint32*>(d->data) = USBDEVFS_CAP_BULK_CONTINUATION |
                                               USBDEVFS_CAP_NO_PACKET_SIZE_LIM |
                                               USBDEVFS_CAP_REAP_AFTER_DISCONNECT | USBDEVFS_CAP_ZERO_PACKET;
        g_object_unref(d);
        umockdev_ioctl_client_complete(client, 0, 0);
        return TRUE;
    }
    case USBDEVFS_CLAIMINTERFACE:
        if (unplugged || busy)
            umockdev_ioctl_client_complete(client, -1, unplugged ? ENODEV : EBUSY);
        else
            umockdev_ioctl_client_complete(client, 0, 0);
        return TRUE;
    case USBDEVFS_GETDRIVER:
    case USBDEVFS_IOCTL: // no kernel driver to detach
        umockdev_ioctl_client_complete(client, -1, ENODATA);
        return TRUE;
    case USBDEVFS_RELEASEINTERFACE:
    case USBDEVFS_CLEAR_HALT:
    case USBDEVFS_RESET:
    case USBDEVFS_RESETEP:
    case USBDEVFS_SETINTERFACE:
    case USBDEVFS_SETCONFIGURATION:
        umockdev_ioctl_client_complete(client, 0, 0);
        return TRUE;
    case USBDEVFS_SUBMITURB:
        Submit(client, arg);
        return TRUE;
    case USBDEVFS_REAPURB:
    case USBDEVFS_REAPURBNDELAY:
        Reap(client, arg);
        return TRUE;
    case USBDEVFS_DISCARDURB: {
        const gulong address = *reinterpret_cast<gulong*>(arg->data);
        for (auto it = flying.begin(); it != flying.end(); ++it) {
            if (it->data->client_addr == address) {
                it->status = -ENOENT;
                discarded.push_back(*it);
                flying.erase(it);
                umockdev_ioctl_client_complete(client, 0, 0);
                return TRUE;
            }
        }
        umockdev_ioctl_client_complete(client, -1, EINVAL);
        return TRUE;
    }
    default:
        return FALSE;
    }
}

void EmulatedFtdiChip::State::Submit(UMockdevIoctlClient* client, UMockdevIoctlData* arg) {
    if (unplugged) {
        umockdev_ioctl_client_complete(client, -1, ENODEV);
        return;
    }
    UMockdevIoctlData* urbData = umockdev_ioctl_data_resolve(arg, 0, sizeof(usbdevfs_urb), nullptr);
    auto* urb = reinterpret_cast<usbdevfs_urb*>(urbData->data);
    UMockdevIoctlData* buffer = umockdev_ioctl_data_resolve(urbData, offsetof(usbdevfs_urb, buffer),
                                                            static_cast<gsize>(urb->buffer_length), nullptr);
    g_object_unref(buffer); // stays resolved inside the urb
    urb->status = 0;
    urb->actual_length = 0;
    Urb entry{urbData, false, Clock::now(), 0};
    if (urb->type == USBDEVFS_URB_TYPE_CONTROL) {
        Control(urb);
    } else if (urb->endpoint & 0x80) {
        entry.in = true;
    } else {
        const QByteArray data(static_cast<const char*>(urb->buffer), urb->buffer_length);
        received += data;
        urb->actual_length = urb->buffer_length;
        if (responder)
            toHost += responder(data);
    }
    flying.push_back(entry);
    umockdev_ioctl_client_complete(client, 0, 0);
}

void EmulatedFtdiChip::State::Control(usbdevfs_urb* urb) {
    auto* setup = static_cast<unsigned char*>(urb->buffer);
    const int requestType = setup[0];
    const int request = setup[1];
    const int value = setup[2] | (setup[3] << 8);
    const int length = setup[6] | (setup[7] << 8);
    unsigned char* data = setup + 8;
    if (requestType == 0x80 && request == 6 && (value >> 8) == 3) { // GET_DESCRIPTOR, string
        static const QByteArray serial = "CVX00001";
        QByteArray d;
        switch (value & 0xFF) {
        case 0:
            d = QByteArray::fromHex("04030904"); // English (US)
            break;
        case 1:
            d = StringDescriptor("FTDI");
            break;
        case 2:
            d = StringDescriptor(product);
            break;
        case 3:
            d = StringDescriptor(serial);
            break;
        }
        const int n = std::min<int>(static_cast<int>(d.size()), length);
        std::memcpy(data, d.constData(), static_cast<size_t>(n));
        urb->actual_length = n;
        return;
    }
    if (requestType == 0x40) { // the chip's vendor requests
        if (request == 0) {
            requests << QStringLiteral("reset %1").arg(value);
            if (value == 0 || value == 2) // reset, or flush of what the chip holds for the host
                toHost.clear();
        } else if (request == 3) {
            requests << QStringLiteral("baudrate %1").arg(value);
        } else {
            requests << QStringLiteral("request %1 value %2").arg(request).arg(value);
        }
    }
    urb->actual_length = 0;
}

bool EmulatedFtdiChip::State::FillRead(usbdevfs_urb* urb, Clock::time_point submitted) {
    if (toHost.isEmpty() && Clock::now() - submitted < Latency)
        return false;
    auto* out = static_cast<unsigned char*>(urb->buffer);
    std::memcpy(out, ModemStatus, 2);
    const int n = std::min<int>({static_cast<int>(toHost.size()), PacketSize - 2, urb->buffer_length - 2});
    std::memcpy(out + 2, toHost.constData(), static_cast<size_t>(n));
    toHost.remove(0, n);
    urb->actual_length = 2 + n;
    return true;
}

void EmulatedFtdiChip::State::Reap(UMockdevIoctlClient* client, UMockdevIoctlData* arg) {
    std::deque<Urb>* from = nullptr;
    auto it = discarded.begin();
    if (!discarded.empty()) {
        from = &discarded;
    } else {
        for (it = flying.begin(); it != flying.end(); ++it) {
            auto* urb = reinterpret_cast<usbdevfs_urb*>(it->data->data);
            if (unplugged) {
                urb->status = -ENODEV;
                urb->actual_length = 0;
                break;
            }
            if (!it->in || FillRead(urb, it->submitted))
                break;
        }
        if (it != flying.end())
            from = &flying;
    }
    if (!from) {
        umockdev_ioctl_client_complete(client, -1, unplugged ? ENODEV : EAGAIN);
        return;
    }
    UMockdevIoctlData* urbData = it->data;
    auto* urb = reinterpret_cast<usbdevfs_urb*>(urbData->data);
    if (from == &discarded)
        urb->status = it->status;
    from->erase(it);
    UMockdevIoctlData* pointer = umockdev_ioctl_data_resolve(arg, 0, sizeof(gpointer), nullptr);
    umockdev_ioctl_data_set_ptr(pointer, 0, urbData);
    g_object_unref(pointer);
    umockdev_ioctl_client_complete(client, 0, 0);
    g_object_unref(urbData);
}

EmulatedFtdiChip::EmulatedFtdiChip(UMockdevTestbed* testbed, int bus, const QByteArray& product,
                                   uint16_t productId)
    : m_state(std::make_unique<State>()) {
    State& s = *m_state;
    s.testbed = testbed;
    s.product = product;
    s.devnode = QStringLiteral("/dev/bus/usb/%1/001").arg(bus, 3, 10, QLatin1Char('0')).toLatin1();
    s.handler = umockdev_ioctl_base_new();
    g_signal_connect(s.handler, "handle-ioctl", G_CALLBACK(&State::OnIoctl), &s);
    // The handler first, so that the device node answers as soon as the device appears.
    umockdev_testbed_attach_ioctl(testbed, s.devnode.constData(), s.handler, nullptr);
    const QByteArray description = QStringLiteral("P: /devices/usb%1\n"
                                                  "N: bus/usb/%2/001\n"
                                                  "E: SUBSYSTEM=usb\n"
                                                  "E: DRIVER=usb\n"
                                                  "E: BUSNUM=%2\n"
                                                  "E: DEVNUM=001\n"
                                                  "E: DEVNAME=%3\n"
                                                  "E: DEVTYPE=usb_device\n"
                                                  "E: MAJOR=189\n"
                                                  "E: MINOR=%5\n"
                                                  "A: dev=189:%5\\n\n"
                                                  "A: bConfigurationValue=1\\n\n"
                                                  "A: busnum=%1\\n\n"
                                                  "A: devnum=1\\n\n"
                                                  "A: speed=12\\n\n"
                                                  "H: descriptors=%4\n")
                                       .arg(bus)
                                       .arg(bus, 3, 10, QLatin1Char('0'))
                                       .arg(QString::fromLatin1(s.devnode))
                                       .arg(QString::fromLatin1(Hex(Descriptors(productId))))
                                       .arg((bus - 1) * 128)
                                       .toLatin1();
    umockdev_testbed_add_from_string(testbed, description.constData(), nullptr);
    s.sysfsPath = QStringLiteral("/sys/devices/usb%1").arg(bus).toLatin1();
}

EmulatedFtdiChip::~EmulatedFtdiChip() {
    State& s = *m_state;
    umockdev_testbed_detach_ioctl(s.testbed, s.devnode.constData(), nullptr);
    for (auto& urb : s.flying)
        g_object_unref(urb.data);
    for (auto& urb : s.discarded)
        g_object_unref(urb.data);
    g_object_unref(s.handler);
}

void EmulatedFtdiChip::SendToHost(const QByteArray& bytes) {
    std::lock_guard lock(m_state->mutex);
    m_state->toHost += bytes;
}

void EmulatedFtdiChip::SetResponder(std::function<QByteArray(const QByteArray&)> responder) {
    std::lock_guard lock(m_state->mutex);
    m_state->responder = std::move(responder);
}

QByteArray EmulatedFtdiChip::Received() {
    std::lock_guard lock(m_state->mutex);
    return m_state->received;
}

QStringList EmulatedFtdiChip::Requests() {
    std::lock_guard lock(m_state->mutex);
    return m_state->requests;
}

int EmulatedFtdiChip::PendingToHost() {
    std::lock_guard lock(m_state->mutex);
    return static_cast<int>(m_state->toHost.size());
}

void EmulatedFtdiChip::SetBusy(bool busy) {
    std::lock_guard lock(m_state->mutex);
    m_state->busy = busy;
}

void EmulatedFtdiChip::Unplug() {
    {
        std::lock_guard lock(m_state->mutex);
        m_state->unplugged = true;
    }
    umockdev_testbed_remove_device(m_state->testbed, m_state->sysfsPath.constData());
}

EmulatedFtdiBus::EmulatedFtdiBus() : m_testbed(umockdev_testbed_new()) {}

EmulatedFtdiBus::~EmulatedFtdiBus() {
    m_chips.clear();
    g_object_unref(m_testbed);
}

bool EmulatedFtdiBus::InMockEnvironment() {
    return umockdev_in_mock_environment();
}

EmulatedFtdiChip& EmulatedFtdiBus::AddChip(const QByteArray& product, uint16_t productId) {
    const int bus = static_cast<int>(m_chips.size()) + 1;
    m_chips.push_back(
        std::unique_ptr<EmulatedFtdiChip>(new EmulatedFtdiChip(m_testbed, bus, product, productId)));
    return *m_chips.back();
}

bool WaitUntil(const std::function<bool()>& done, std::chrono::milliseconds limit) {
    const auto end = Clock::now() + limit;
    while (!done()) {
        if (Clock::now() > end)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}
