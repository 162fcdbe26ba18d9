#include "link/ftdilink.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <ftdi.h>
#include <libusb.h>

namespace {

constexpr size_t RingSize = 64 * 1024;
constexpr int ReadChunk = 4096;
// How long the caller waits for a write or purge: libftdi's own transfer time-outs, and some.
constexpr auto RequestTimeout = std::chrono::seconds(12);

} // namespace

std::unique_ptr<FtdiLink> FtdiLink::Open(Context& context, libusb_device* device, std::string* error) {
    const int result = ftdi_usb_open_dev(context.get(), device);
    if (result < 0) {
        if (error)
            *error = ftdi_get_error_string(context.get());
        return nullptr; // whatever the failed open left open is closed when the context is freed
    }
    std::unique_ptr<FtdiLink> link(new FtdiLink(std::move(context)));
    link->m_thread = std::thread([raw = link.get()] { raw->Run(); });
    return link;
}

FtdiLink::FtdiLink(Context context) : m_context(std::move(context)), m_ring(RingSize) {}

FtdiLink::~FtdiLink() {
    {
        std::lock_guard lock(m_mutex);
        m_stop = true;
    }
    m_changed.notify_all();
    if (m_thread.joinable())
        m_thread.join();
    ftdi_usb_close(m_context.get());
}

bool FtdiLink::Gone() {
    std::lock_guard lock(m_mutex);
    return m_gone;
}

FtStatus FtdiLink::Queued(uint32_t& count) {
    std::lock_guard lock(m_mutex);
    if (m_gone)
        return FtIoError;
    count = static_cast<uint32_t>(m_size);
    return FtOK;
}

FtStatus FtdiLink::Take(void* buffer, uint32_t count, uint32_t& taken) {
    std::lock_guard lock(m_mutex);
    if (m_gone)
        return FtIoError;
    const size_t n = std::min<size_t>(count, m_size);
    auto* out = static_cast<uint8_t*>(buffer);
    const size_t first = std::min(n, RingSize - m_head);
    std::memcpy(out, m_ring.data() + m_head, first);
    std::memcpy(out + first, m_ring.data(), n - first);
    m_head = (m_head + n) % RingSize;
    m_size -= n;
    taken = static_cast<uint32_t>(n);
    m_changed.notify_all(); // there is room again
    return FtOK;
}

FtStatus FtdiLink::Write(const void* data, uint32_t count, uint32_t& written) {
    std::unique_lock lock(m_mutex);
    const auto* bytes = static_cast<const uint8_t*>(data);
    m_writeData.assign(bytes, bytes + count);
    m_op = Op::Write;
    const FtStatus status = Request(lock);
    written = m_written;
    return status;
}

FtStatus FtdiLink::Purge(uint32_t mask) {
    std::unique_lock lock(m_mutex);
    m_purgeMask = mask;
    m_op = Op::Purge;
    return Request(lock);
}

FtStatus FtdiLink::Request(std::unique_lock<std::mutex>& lock) {
    if (m_gone) {
        m_op = Op::None;
        m_written = 0;
        return FtIoError;
    }
    const uint64_t number = ++m_requested;
    m_written = 0;
    m_changed.notify_all();
    const bool served =
        m_changed.wait_for(lock, RequestTimeout, [&] { return m_served == number || m_gone; });
    if (!served || m_served != number) {
        if (m_op != Op::None && m_requested == number)
            m_op = Op::None; // not taken up: withdraw it
        m_written = 0;
        return FtIoError;
    }
    return m_result;
}

void FtdiLink::Serve(std::unique_lock<std::mutex>& lock) {
    const Op op = m_op;
    const uint64_t number = m_requested;
    m_op = Op::None;
    std::vector<uint8_t> data = std::move(m_writeData);
    const uint32_t mask = m_purgeMask;
    lock.unlock();

    FtStatus status = FtOK;
    uint32_t written = 0;
    bool gone = false;
    if (op == Op::Write) {
        const int r =
            data.empty() ? 0 : ftdi_write_data(m_context.get(), data.data(), static_cast<int>(data.size()));
        if (r < 0) {
            status = FtIoError;
            gone = r == LIBUSB_ERROR_NO_DEVICE;
        } else {
            written = static_cast<uint32_t>(r);
        }
    } else if (op == Op::Purge) {
        int r = 0;
        if ((mask & FtPurgeRx) && (mask & FtPurgeTx))
            r = ftdi_tcioflush(m_context.get());
        else if (mask & FtPurgeRx)
            r = ftdi_tciflush(m_context.get());
        else if (mask & FtPurgeTx)
            r = ftdi_tcoflush(m_context.get());
        if (r < 0)
            status = FtIoError;
    }

    lock.lock();
    if (op == Op::Purge && (mask & FtPurgeRx))
        m_head = m_size = 0;
    m_gone = m_gone || gone;
    m_result = status;
    m_written = written;
    m_served = number;
    m_changed.notify_all();
}

void FtdiLink::Run() {
    std::vector<uint8_t> chunk(ReadChunk);
    std::unique_lock lock(m_mutex);
    while (!m_stop && !m_gone) {
        if (m_op != Op::None) {
            Serve(lock);
            continue;
        }
        const size_t room = RingSize - m_size;
        if (room == 0) {
            m_changed.wait_for(lock, std::chrono::milliseconds(5));
            continue;
        }
        lock.unlock();
        // Returns after the chip's latency timer when it has nothing to send.
        const int r = ftdi_read_data(m_context.get(), chunk.data(),
                                     static_cast<int>(std::min<size_t>(room, ReadChunk)));
        lock.lock();
        if (r > 0) {
            size_t tail = (m_head + m_size) % RingSize;
            for (int i = 0; i < r; ++i) {
                m_ring[tail] = chunk[static_cast<size_t>(i)];
                tail = (tail + 1) % RingSize;
            }
            m_size += static_cast<size_t>(r);
        } else if (r < 0 && r != LIBUSB_ERROR_TIMEOUT && r != LIBUSB_ERROR_INTERRUPTED) {
            // A chip that answers never fails a read: the device is gone (unplugged or broken).
            m_gone = true;
        }
    }
    m_changed.notify_all();
}
