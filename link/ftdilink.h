#pragma once
// One opened FTDI chip, driven by libftdi1 (private to the libftdi1 backend).
//
// The D2XX library that the transport was designed for keeps a receive queue of its own: the chip's
// data flows into it all the time, a queue query says how much is there, and a read takes bytes that
// are already there. libftdi1 only reads when asked, so this class emulates that queue: an I/O thread
// owns the libftdi context, reads continuously into a ring buffer and performs the writes and
// purges that the caller hands it. The thread never leaves this class; its callers stay on their one
// thread and see plain, non-blocking calls (a write or purge waits for the thread to carry it out).

#include "link/ftdidriver.h"

#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

struct ftdi_context;
struct libusb_device;

class FtdiLink {
public:
    using Context = std::unique_ptr<ftdi_context, void (*)(ftdi_context*)>;

    // Opens `device` (found by the caller on the context's USB bus, in a device list that the caller
    // frees before the context) and starts the I/O thread. The context is taken over only on success;
    // on failure it stays with the caller, and libftdi's error is in `error`.
    static std::unique_ptr<FtdiLink> Open(Context& context, libusb_device* device, std::string* error);
    ~FtdiLink();
    FtdiLink(const FtdiLink&) = delete;
    FtdiLink& operator=(const FtdiLink&) = delete;

    // Bytes in the receive queue; FtIoError once the device is gone.
    FtStatus Queued(uint32_t& count);
    // Takes up to `count` queued bytes without waiting.
    FtStatus Take(void* buffer, uint32_t count, uint32_t& taken);
    FtStatus Write(const void* data, uint32_t count, uint32_t& written);
    // Flushes the chip's buffers (mask bits FtPurgeRx, FtPurgeTx) and, for receive, the queue.
    FtStatus Purge(uint32_t mask);
    bool Gone();

private:
    explicit FtdiLink(Context context);
    void Run();
    // Carries out the request waiting for the thread, if any (called by the thread, unlocked).
    void Serve(std::unique_lock<std::mutex>& lock);
    FtStatus Request(std::unique_lock<std::mutex>& lock);

    Context m_context;
    std::mutex m_mutex;
    std::condition_variable m_changed;

    // The receive queue: a ring of fixed size. When it is full the thread stops reading and the chip
    // holds back (as the D2XX queue would).
    std::vector<uint8_t> m_ring;
    size_t m_head = 0; // next byte to take
    size_t m_size = 0;

    // One request at a time from the caller's thread.
    enum class Op { None, Write, Purge };
    Op m_op = Op::None;
    std::vector<uint8_t> m_writeData;
    uint32_t m_purgeMask = 0;
    uint64_t m_requested = 0; // number of the latest request
    uint64_t m_served = 0;    // number of the latest request carried out
    FtStatus m_result = FtOK;
    uint32_t m_written = 0;

    bool m_gone = false;
    bool m_stop = false;
    std::thread m_thread;
};
