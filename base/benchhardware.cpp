#include "base/benchhardware.h"

template <>
Seam<BenchHardware>& TheSeam<BenchHardware>() {
    static Seam<BenchHardware> seam;
    return seam;
}

bool IsBenchHardware(const QObject* window) {
    const BenchHardware* bench = TheSeam<BenchHardware>().Get();
    return window != nullptr && bench != nullptr && bench->IsBenchWindow(window);
}
