#pragma once
// Reads a fuzzer's input from the front, a byte, a word or a run of bytes at a time. Past the end
// every read gives zeros (or nothing), so a short input is simply a run where every later choice is
// the first one.

#include <QByteArray>
#include <algorithm>
#include <cstddef>
#include <cstdint>

class FuzzInput {
public:
    FuzzInput(const uint8_t* data, size_t size) : m_data(data), m_size(size) {}

    size_t Remaining() const { return m_size - m_pos; }
    bool AtEnd() const { return m_pos == m_size; }

    uint8_t Byte() { return m_pos < m_size ? m_data[m_pos++] : 0; }
    // Little-endian.
    uint16_t Word() {
        const uint8_t low = Byte();
        return static_cast<uint16_t>(low | Byte() << 8);
    }
    // Up to `count` bytes (fewer at the end of the input).
    QByteArray Bytes(size_t count) {
        const size_t n = std::min(count, Remaining());
        const QByteArray bytes(reinterpret_cast<const char*>(m_data + m_pos), static_cast<qsizetype>(n));
        m_pos += n;
        return bytes;
    }
    QByteArray Rest() { return Bytes(Remaining()); }

private:
    const uint8_t* m_data;
    size_t m_size;
    size_t m_pos = 0;
};
