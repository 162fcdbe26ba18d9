#pragma once
// An analyzer that answers each command with the next reply of a ReplyScript, plugged in at the FTDI
// driver seam. Every driver call takes the script's virtual time on the clock; a run that goes past
// ten virtual minutes is a hang and aborts. It checks that every write is one of the analyzer's
// commands with its terminator, and keeps the bytes read after the last "VW" so that the caller can
// compare them with what reached the record.

#include "link/ftdidriver.h"
#include "sim/simline.h"
#include "sim/virtualclock.h"
#include "tests/fuzz/replyscript.h"

#include <QByteArray>
#include <QList>

class ReplyDevice : public FtdiDriver {
public:
    static constexpr int64_t HangMicroseconds = 10LL * 60 * 1'000'000;

    ReplyDevice(const ReplyScript& script, VirtualClock& clock);

    bool IsOpen() const { return m_handle != FtHandle::Null; }
    // Aborts once the clock has passed ten virtual minutes.
    void CheckTime() const;

    // The bytes the program read since it last sent "VW", while it sent nothing else.
    const QByteArray& WaveformRead() const { return m_waveformRead; }
    bool WaveformReadWhole() const { return m_capturing; }
    // Every command written, without its terminator.
    const QList<QByteArray>& Commands() const { return m_commands; }

    FtStatus OpenEx(const char* arg, uint32_t flags, FtHandle& handle) override;
    FtStatus Close(FtHandle handle) override;
    FtStatus GetQueueStatus(FtHandle handle, uint32_t& rxBytes) override;
    FtStatus Read(FtHandle handle, void* buffer, uint32_t toRead, uint32_t& bytesReturned) override;
    FtStatus Write(FtHandle handle, const void* buffer, uint32_t toWrite, uint32_t& bytesWritten) override;
    FtStatus Purge(FtHandle handle, uint32_t mask) override;
    FtStatus GetStatus(FtHandle handle, uint32_t& rxBytes, uint32_t& txBytes, uint32_t& eventWord) override;

private:
    // Spends one call's time and says whether the handle can be used.
    FtStatus Call(FtHandle handle);
    void Answer(const ScriptedReply& reply);

    const ReplyScript& m_script;
    VirtualClock& m_clock;
    qsizetype m_nextReply = 0;
    SimLine m_line;
    FtHandle m_handle = FtHandle::Null;
    uintptr_t m_nextHandle = 1;
    bool m_gone = false;
    ReplyKind m_readFault = ReplyKind::AtOnce; // ShortRead or ReadFails pending for the next read
    QList<QByteArray> m_commands;
    QByteArray m_waveformRead;
    bool m_capturing = false;
};
