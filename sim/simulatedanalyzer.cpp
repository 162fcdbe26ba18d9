#include "sim/simulatedanalyzer.h"

#include "base/datestamp.h"
#include "sim/virtualclock.h"

#include <QDateTime>
#include <algorithm>
#include <cstring>

namespace {

constexpr char Description[] = "Corvex Defib Tester Final";
constexpr int StatusBlockSize = 37;
constexpr int AnalyzerIdOffset = 12;
constexpr int AnalyzerIdSize = 16;
constexpr int DateOffset = 28;

// Printed by the analyzer while it waits for and measures a discharge; none of it may look like an
// energy reading or the "TEST" text.
const QByteArray ReadyText = "READY\r\n";
const QByteArray MeasuringText = "MEASURING\r\n";
const QByteArray TestText = "TEST\r\n";

QByteArray StampBytes(const QDateTime& dt) {
    QByteArray stamp(6, '\0');
    stamp[0] = static_cast<char>(dt.time().second());
    stamp[1] = static_cast<char>(dt.time().minute());
    stamp[2] = static_cast<char>(dt.time().hour());
    stamp[3] = static_cast<char>(dt.date().day());
    stamp[4] = static_cast<char>(dt.date().month());
    stamp[5] = static_cast<char>(dt.date().year() - 2000);
    return stamp;
}

} // namespace

SimulatedAnalyzer::SimulatedAnalyzer(VirtualClock* clock, QObject* parent)
    : QObject(parent), m_clock(clock), m_origin(std::chrono::steady_clock::now()) {
    std::memset(&m_lastBlock, 0, sizeof m_lastBlock);
    m_line.SetSpeed(m_timing.bytesPerSecond);
}

SimulatedAnalyzer::~SimulatedAnalyzer() = default;

// --- the USB cable

void SimulatedAnalyzer::Plug() {
    if (m_plugged)
        return;
    m_plugged = true;
    emit PlugChanged(true);
}

void SimulatedAnalyzer::Unplug() {
    const bool was = m_plugged;
    m_plugged = false;
    if (m_handle != FtHandle::Null)
        m_handleGone = true;
    m_line.Clear();
    m_unplugAt.reset();
    if (was)
        emit PlugChanged(false);
}

// --- settings

void SimulatedAnalyzer::SetTiming(const SimTiming& timing) {
    m_timing = timing;
    m_line.SetSpeed(timing.bytesPerSecond);
}

void SimulatedAnalyzer::SetAnalyzerID(const QByteArray& id) {
    m_analyzerId = id.left(AnalyzerIdSize);
}

void SimulatedAnalyzer::SetStatusDate(std::optional<DateStamp> stamp) {
    m_statusDate.clear();
    if (stamp)
        m_statusDate = QByteArray(reinterpret_cast<const char*>(&*stamp), sizeof(DateStamp));
}

void SimulatedAnalyzer::SetAnalyzerLoad(uint16_t centiOhms) {
    m_analyzerLoad = centiOhms;
}

void SimulatedAnalyzer::FollowLoad(std::function<int()> currentLoad) {
    m_followLoad = std::move(currentLoad);
}

void SimulatedAnalyzer::SetDefibrillator(const DefibSettings& settings) {
    m_defib = settings;
}

// --- the discharge

bool SimulatedAnalyzer::Discharge() {
    Update();
    if (m_state != SimState::WaitingForDischarge)
        return false;
    FireDischarge(Now());
    return true;
}

void SimulatedAnalyzer::FireDischarge(int64_t at) {
    ApplyFollowedLoad();
    const double analyzerOhms = m_analyzerLoad / 100.0;
    const SimAccessory::Circuit circuit = m_accessory.CircuitWith(analyzerOhms);
    std::vector<double> amps = DischargeCurrent(m_defib, circuit.totalOhms);
    for (double& a : amps)
        a *= circuit.analyzerShare;
    m_lastSamples = RecordSamples(amps);
    m_lastBlock = MeasureDischarge(m_lastSamples, m_analyzerLoad);
    m_hasMeasurement = true;
    m_dischargeAt = -1;
    m_textAt = at + static_cast<int64_t>(m_timing.measureMilliseconds) * 1000;
    if (!m_silentWait)
        m_line.Send(MeasuringText, at);
    SetState(SimState::Measuring);
    emit Discharged(m_lastBlock.TotalEnergy / 10.0);
}

bool SimulatedAnalyzer::SendTestText() {
    Update();
    if (m_state == SimState::Idle)
        return false;
    m_dischargeAt = m_textAt = -1;
    m_line.Send(TestText, Now());
    SetState(SimState::Idle);
    return true;
}

// --- faults

void SimulatedAnalyzer::InjectFault(const SimFault& fault) {
    if (fault.times <= 0)
        return;
    m_faults.append(fault);
    emit FaultsChanged();
}

void SimulatedAnalyzer::ClearFaults() {
    m_faults.clear();
    emit FaultsChanged();
}

void SimulatedAnalyzer::RemoveFault(SimFault::Kind kind, const QByteArray& command) {
    const qsizetype removed = m_faults.removeIf(
        [&](const SimFault& fault) { return fault.kind == kind && fault.command == command; });
    if (removed > 0)
        emit FaultsChanged();
}

bool SimulatedAnalyzer::HasFault(SimFault::Kind kind, const QByteArray& command) const {
    return std::any_of(m_faults.begin(), m_faults.end(),
                       [&](const SimFault& fault) { return fault.kind == kind && fault.command == command; });
}

// --- time and state

int64_t SimulatedAnalyzer::Now() const {
    if (m_clock)
        return m_clock->Microseconds();
    return std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - m_origin)
        .count();
}

void SimulatedAnalyzer::Spend() {
    if (m_clock)
        m_clock->Advance(m_timing.callMicroseconds);
}

void SimulatedAnalyzer::Update() {
    if (m_unplugAt && m_line.TakenSoFar() >= *m_unplugAt)
        Unplug();
    const int64_t now = Now();
    if (m_state == SimState::WaitingForDischarge && m_dischargeAt >= 0 && now >= m_dischargeAt)
        FireDischarge(m_dischargeAt);
    if (m_state == SimState::Measuring && now >= m_textAt) {
        if (!m_silentWait) {
            const QByteArray text = EnergyText();
            const qsizetype lineEnd = text.indexOf('\r');
            m_line.Send(text.left(lineEnd), m_textAt);
            m_line.Send(text.mid(lineEnd), m_textAt + int64_t{m_lineEndDelayMs} * 1000);
        }
        m_textAt = -1;
        SetState(SimState::Idle);
    }
}

void SimulatedAnalyzer::SetState(SimState state) {
    if (state == m_state)
        return;
    m_state = state;
    emit StateChanged(state);
}

void SimulatedAnalyzer::ApplyFollowedLoad() {
    if (m_followLoad)
        m_accessory.SetJumpersForLoad(m_followLoad());
}

// --- commands

void SimulatedAnalyzer::Receive(char byte) {
    if (byte != '\r') {
        m_pending.append(byte);
        return;
    }
    const QByteArray command = m_pending;
    m_pending.clear();
    HandleCommand(command);
}

void SimulatedAnalyzer::HandleCommand(const QByteArray& command) {
    m_commands.append(command);
    emit CommandReceived(command);

    // A fault waiting for the command is taken even when the command gets no answer.
    const std::optional<SimFault> fault = TakeFault(command);
    const int64_t now = Now();
    std::optional<QByteArray> reply = Reply(command, now);
    if (!reply)
        return; // not a command of this analyzer: no answer

    int64_t delay = m_timing.replyDelayMicroseconds;
    if (fault)
        ApplyFault(*fault, command, *reply, delay);
    if (reply->isEmpty())
        return;
    const int stallFrom = fault && fault->kind == SimFault::Kind::StallAtByte ? fault->value : -1;
    const uint64_t first = m_line.Send(*reply, now + delay, stallFrom);
    if (fault && fault->kind == SimFault::Kind::UnplugAtByte)
        m_unplugAt = first + static_cast<uint64_t>(fault->value);
}

std::optional<SimFault> SimulatedAnalyzer::TakeFault(const QByteArray& command) {
    for (qsizetype i = 0; i < m_faults.size(); ++i) {
        if (m_faults[i].command != command)
            continue;
        const SimFault fault = m_faults[i];
        if (--m_faults[i].times <= 0) {
            m_faults.removeAt(i);
            emit FaultsChanged();
        }
        return fault;
    }
    return std::nullopt;
}

std::optional<QByteArray> SimulatedAnalyzer::Reply(const QByteArray& command, int64_t now) {
    if (command == "GS")
        return StatusBlock();
    if (command == "VN") {
        m_accessoryLinked = m_accessory.cableConnected;
        return QByteArray("*\r");
    }
    if (command == "RL") {
        ApplyFollowedLoad();
        if (!m_accessory.cableConnected)
            m_accessoryLinked = false;
        return m_accessory.LoadConfigReply(m_accessoryLinked);
    }
    if (command == "ECGDJ20" || command == "ECGDJ10")
        return QByteArray("*\r");
    if (command == "DEHT") {
        m_silentWait = false;
        m_lineEndDelayMs = 0;
        m_dischargeAt = m_timing.autoDischargeMilliseconds >= 0
                            ? now + static_cast<int64_t>(m_timing.autoDischargeMilliseconds) * 1000
                            : -1;
        SetState(SimState::WaitingForDischarge);
        return QByteArray(ReadyText);
    }
    if (command == "\x1b") {
        m_dischargeAt = m_textAt = -1;
        SetState(SimState::Idle);
        return QByteArray("*");
    }
    if (command == "VW")
        return EncodeWaveformReply(m_lastBlock, m_lastSamples);
    return std::nullopt;
}

void SimulatedAnalyzer::ApplyFault(const SimFault& fault, const QByteArray& command, QByteArray& reply,
                                   int64_t& delay) {
    switch (fault.kind) {
    case SimFault::Kind::NoReply:
        reply.clear();
        if (command == "DEHT")
            m_silentWait = true;
        break;
    case SimFault::Kind::LateReply:
        delay += static_cast<int64_t>(fault.value) * 1000;
        break;
    case SimFault::Kind::ShortReply:
        reply = reply.left(fault.value);
        break;
    case SimFault::Kind::ReplaceReply:
        reply = fault.bytes.isEmpty() ? SimFault::GarbageBytes(reply.size()) : fault.bytes;
        break;
    case SimFault::Kind::TestText:
        m_dischargeAt = -1;
        SetState(SimState::Idle);
        reply += TestText;
        break;
    case SimFault::Kind::TrailingText:
        m_lineEndDelayMs = fault.value;
        break;
    case SimFault::Kind::UnplugAtByte:
    case SimFault::Kind::StallAtByte:
        break; // need the reply's place on the line, in HandleCommand
    }
}

QByteArray SimulatedAnalyzer::StatusBlock() const {
    QByteArray block(StatusBlockSize, '\0');
    const QByteArray firmware = "CORVEX V2.10";
    block.replace(0, firmware.size(), firmware);
    block.replace(AnalyzerIdOffset, m_analyzerId.size(), m_analyzerId);
    QByteArray stamp = m_statusDate;
    if (stamp.isEmpty())
        stamp = StampBytes(m_clock ? QDateTime::fromSecsSinceEpoch(m_clock->Seconds())
                                   : QDateTime::currentDateTime());
    block.replace(DateOffset, stamp.size(), stamp);
    return block;
}

QByteArray SimulatedAnalyzer::EnergyText() const {
    return "E=" + QByteArray::number(m_lastBlock.TotalEnergy / 10.0, 'f', 1) + "J\r\n";
}

// --- FtdiDriver

FtStatus SimulatedAnalyzer::Usable(FtHandle handle) const {
    if (handle == FtHandle::Null || handle != m_handle)
        return FtInvalidHandle;
    return m_handleGone ? FtIoError : FtOK;
}

FtStatus SimulatedAnalyzer::OpenEx(const char* arg, uint32_t flags, FtHandle& handle) {
    Spend();
    Update();
    if (flags != FtOpenByDescription || !m_plugged || arg == nullptr || std::strcmp(arg, Description) != 0)
        return FtDeviceNotFound;
    if (m_handle != FtHandle::Null && !m_handleGone)
        return FtDeviceNotOpened; // already open
    m_handle = static_cast<FtHandle>(m_nextHandle++);
    m_handleGone = false;
    m_line.Clear();
    m_pending.clear();
    handle = m_handle;
    return FtOK;
}

FtStatus SimulatedAnalyzer::Close(FtHandle handle) {
    if (handle == FtHandle::Null || handle != m_handle)
        return FtInvalidHandle;
    m_handle = FtHandle::Null;
    m_handleGone = false;
    return FtOK;
}

FtStatus SimulatedAnalyzer::GetQueueStatus(FtHandle handle, uint32_t& rxBytes) {
    Spend();
    Update();
    if (const FtStatus status = Usable(handle); status != FtOK)
        return status;
    rxBytes = m_line.Arrived(Now());
    return FtOK;
}

FtStatus SimulatedAnalyzer::Read(FtHandle handle, void* buffer, uint32_t toRead, uint32_t& bytesReturned) {
    Spend();
    Update();
    if (const FtStatus status = Usable(handle); status != FtOK)
        return status;
    bytesReturned = m_line.Take(Now(), buffer, toRead);
    return FtOK;
}

FtStatus SimulatedAnalyzer::Write(FtHandle handle, const void* buffer, uint32_t toWrite,
                                  uint32_t& bytesWritten) {
    Spend();
    Update();
    if (const FtStatus status = Usable(handle); status != FtOK)
        return status;
    const auto* bytes = static_cast<const char*>(buffer);
    for (uint32_t i = 0; i < toWrite; ++i)
        Receive(bytes[i]);
    bytesWritten = toWrite;
    return FtOK;
}

FtStatus SimulatedAnalyzer::Purge(FtHandle handle, uint32_t mask) {
    Spend();
    Update();
    if (const FtStatus status = Usable(handle); status != FtOK)
        return status;
    if (mask & FtPurgeRx)
        m_line.DropArrived(Now());
    return FtOK;
}

FtStatus SimulatedAnalyzer::GetStatus(FtHandle handle, uint32_t& rxBytes, uint32_t& txBytes,
                                      uint32_t& eventWord) {
    Spend();
    Update();
    const FtStatus status = Usable(handle);
    if (status == FtIoError) {
        eventWord = FtEventDeviceGone;
        return status;
    }
    if (status != FtOK)
        return status;
    rxBytes = m_line.Arrived(Now());
    txBytes = 0;
    eventWord = 0;
    return FtOK;
}
