#include "sim/scripteddriver.h"

void ScriptedDriver::Deliver(const QByteArray& bytes, int64_t afterMicroseconds) {
    m_line.Send(bytes, m_clock.Microseconds() + afterMicroseconds);
}

void ScriptedDriver::Replay(const QList<TracedEvent>& trace) {
    m_playback = std::make_unique<TracePlayer>(trace, m_clock);
}

uint32_t ScriptedDriver::Waiting() {
    return m_line.Arrived(m_clock.Microseconds());
}

void ScriptedDriver::Log(const QString& call) {
    if (call == QLatin1String("GetQueueStatus") && !calls.isEmpty() && calls.last() == call)
        return;
    calls << call;
}

FtStatus ScriptedDriver::OpenEx(const char* arg, uint32_t flags, FtHandle& handle) {
    Log(QStringLiteral("OpenEx(%1,%2)").arg(QString::fromLatin1(arg)).arg(flags));
    const FtStatus status = m_playback ? m_playback->OpenEx(arg) : openStatus;
    if (status == FtOK)
        handle = Handle;
    return status;
}

FtStatus ScriptedDriver::Close(FtHandle handle) {
    Log(QStringLiteral("Close(%1)").arg(static_cast<uintptr_t>(handle)));
    return m_playback ? m_playback->Close() : FtOK;
}

FtStatus ScriptedDriver::GetQueueStatus(FtHandle, uint32_t& rxBytes) {
    Log(QStringLiteral("GetQueueStatus"));
    ++queuePolls;
    m_clock.Advance(pollMicroseconds);
    if (m_playback)
        return m_playback->GetQueueStatus(rxBytes);
    if (queueStatus != FtOK)
        return queueStatus;
    rxBytes = Waiting();
    return FtOK;
}

FtStatus ScriptedDriver::Read(FtHandle, void* buffer, uint32_t toRead, uint32_t& bytesReturned) {
    Log(QStringLiteral("Read(%1)").arg(toRead));
    if (m_playback)
        return m_playback->Read(buffer, toRead, bytesReturned);
    if (readStatus != FtOK)
        return readStatus;
    bytesReturned =
        m_line.Take(m_clock.Microseconds(), buffer, readLimit ? qMin(toRead, *readLimit) : toRead);
    return FtOK;
}

FtStatus ScriptedDriver::Write(FtHandle, const void* buffer, uint32_t toWrite, uint32_t& bytesWritten) {
    const QByteArray bytes(static_cast<const char*>(buffer), toWrite);
    Log(QStringLiteral("Write(%1)").arg(QString::fromLatin1(bytes.toHex(' '))));
    FtStatus status = writeStatus;
    if (m_playback)
        status = m_playback->Write(bytes, bytesWritten);
    else if (writeStatus == FtOK)
        bytesWritten = writeLimit ? qMin(toWrite, *writeLimit) : toWrite;
    if (status == FtOK)
        written += bytes.left(bytesWritten);
    return status;
}

FtStatus ScriptedDriver::Purge(FtHandle, uint32_t mask) {
    Log(QStringLiteral("Purge(%1)").arg(mask));
    if (m_playback)
        return m_playback->Purge(mask);
    m_line.DropArrived(m_clock.Microseconds());
    return FtOK;
}

FtStatus ScriptedDriver::GetStatus(FtHandle, uint32_t& rxBytes, uint32_t& txBytes, uint32_t& event) {
    Log(QStringLiteral("GetStatus(%1,%2,%3)").arg(rxBytes).arg(txBytes).arg(event, 0, 16));
    if (m_playback)
        return m_playback->GetStatus(event);
    if (eventWord)
        event = *eventWord;
    return FtOK;
}
