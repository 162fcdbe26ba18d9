#include "records/tzrtest.h"

#include <QIODevice>
#include <cstring>

void TZRTest::ClearTest() {
    std::memset(static_cast<void*>(this), 0, sizeof(TZRTest));
}

void TZRTest::CopyTest(const TZRTest& source) {
    if (&source != this)
        std::memcpy(static_cast<void*>(this), static_cast<const void*>(&source), sizeof(TZRTest));
}

namespace {

bool WritePiece(QIODevice& stream, const void* data, qint64 size) {
    return stream.write(static_cast<const char*>(data), size) == size;
}

bool ReadPiece(QIODevice& stream, void* data, qint64 size) {
    return stream.read(static_cast<char*>(data), size) == size;
}

} // namespace

int TZRTest::WriteLoad(QIODevice& stream) const {
    if (!WritePiece(stream, &Results, sizeof Results) || !WritePiece(stream, Samples, sizeof Samples) ||
        !WritePiece(stream, &HasData, sizeof HasData) ||
        !WritePiece(stream, &AccessoryResistance, sizeof AccessoryResistance))
        return -1;
    return 0;
}

int TZRTest::ReadLoad(QIODevice& stream) {
    if (!ReadPiece(stream, &Results, sizeof Results) || !ReadPiece(stream, Samples, sizeof Samples) ||
        !ReadPiece(stream, &HasData, sizeof HasData) ||
        !ReadPiece(stream, &AccessoryResistance, sizeof AccessoryResistance))
        return -1;
    return 0;
}
