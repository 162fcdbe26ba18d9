#pragma once
// The serial line from the simulated analyzer to the host's receive queue: bytes are sent one after
// another at the wire speed, each arriving at a known time; the host sees those that have arrived.

#include <QByteArray>
#include <cstdint>
#include <limits>
#include <vector>

class SimLine {
public:
    static constexpr int64_t Never = std::numeric_limits<int64_t>::max();

    // Bytes per second on the wire; 0 sends every byte at once.
    void SetSpeed(int bytesPerSecond) { m_bytesPerSecond = bytesPerSecond; }

    // Queues `bytes` to start no earlier than `earliest` (microseconds) and after what is already on
    // the line. Bytes from `stallFrom` on are never sent. Returns the sequence number of the first byte.
    uint64_t Send(const QByteArray& bytes, int64_t earliest, int stallFrom = -1);

    // Bytes that have arrived by `now` and not been taken.
    uint32_t Arrived(int64_t now);
    // Takes up to `count` arrived bytes; returns how many.
    uint32_t Take(int64_t now, void* buffer, uint32_t count);
    // Drops the arrived bytes and any that will never come; bytes still on their way keep coming.
    void DropArrived(int64_t now);
    // Drops everything.
    void Clear();

    // Sequence number of the next byte the host will take (counts every byte ever sent).
    uint64_t TakenSoFar() const { return m_base + m_readPos; }
    // Whether the line is quiet: nothing queued or on its way.
    bool Idle() const { return m_readPos == m_bytes.size(); }

private:
    void DropNeverArriving();
    void Compact();

    int m_bytesPerSecond = 0;
    std::vector<uint8_t> m_bytes;
    std::vector<int64_t> m_arrival;
    size_t m_readPos = 0;
    size_t m_arrivedEnd = 0;
    uint64_t m_base = 0; // sequence number of m_bytes[0]
    int64_t m_lineFree = 0;
};
