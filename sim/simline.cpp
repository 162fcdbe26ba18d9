#include "sim/simline.h"

#include <algorithm>
#include <cmath>
#include <cstring>

uint64_t SimLine::Send(const QByteArray& bytes, int64_t earliest, int stallFrom) {
    // A transmission that stalled is abandoned when the analyzer sends something new.
    DropNeverArriving();
    Compact();
    const uint64_t first = m_base + m_bytes.size();
    const int64_t start = std::max(earliest, m_lineFree);
    const double period = m_bytesPerSecond > 0 ? 1e6 / m_bytesPerSecond : 0.0;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const bool stalled = stallFrom >= 0 && i >= stallFrom;
        m_bytes.push_back(static_cast<uint8_t>(bytes[i]));
        m_arrival.push_back(stalled ? Never : start + std::llround(static_cast<double>(i + 1) * period));
        if (!stalled)
            m_lineFree = m_arrival.back();
    }
    return first;
}

uint32_t SimLine::Arrived(int64_t now) {
    while (m_arrivedEnd < m_bytes.size() && m_arrival[m_arrivedEnd] <= now)
        ++m_arrivedEnd;
    return static_cast<uint32_t>(m_arrivedEnd - m_readPos);
}

uint32_t SimLine::Take(int64_t now, void* buffer, uint32_t count) {
    const uint32_t taken = std::min(count, Arrived(now));
    if (taken > 0)
        std::memcpy(buffer, m_bytes.data() + m_readPos, taken);
    m_readPos += taken;
    if (m_readPos == m_bytes.size())
        Compact();
    return taken;
}

void SimLine::DropArrived(int64_t now) {
    Arrived(now);
    m_readPos = m_arrivedEnd;
    DropNeverArriving();
    Compact();
}

void SimLine::Clear() {
    m_base += m_bytes.size();
    m_bytes.clear();
    m_arrival.clear();
    m_readPos = m_arrivedEnd = 0;
}

void SimLine::DropNeverArriving() {
    size_t keep = m_bytes.size();
    while (keep > m_readPos && m_arrival[keep - 1] == Never)
        --keep;
    m_bytes.resize(keep);
    m_arrival.resize(keep);
    m_arrivedEnd = std::min(m_arrivedEnd, keep);
}

void SimLine::Compact() {
    if (m_readPos == 0)
        return;
    m_bytes.erase(m_bytes.begin(), m_bytes.begin() + static_cast<std::ptrdiff_t>(m_readPos));
    m_arrival.erase(m_arrival.begin(), m_arrival.begin() + static_cast<std::ptrdiff_t>(m_readPos));
    m_base += m_readPos;
    m_arrivedEnd -= m_readPos;
    m_readPos = 0;
}
