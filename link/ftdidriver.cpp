#include "link/ftdidriver.h"

#include "base/seamdefault.h"

namespace {

// What a program without a backend sees: no analyzer is ever plugged in.
class NoDeviceDriver : public FtdiDriver {
public:
    FtStatus OpenEx(const char*, uint32_t, FtHandle&) override { return FtDeviceNotFound; }
    FtStatus Close(FtHandle) override { return FtInvalidHandle; }
    FtStatus GetQueueStatus(FtHandle, uint32_t&) override { return FtInvalidHandle; }
    FtStatus Read(FtHandle, void*, uint32_t, uint32_t&) override { return FtInvalidHandle; }
    FtStatus Write(FtHandle, const void*, uint32_t, uint32_t&) override { return FtInvalidHandle; }
    FtStatus Purge(FtHandle, uint32_t) override { return FtInvalidHandle; }
    FtStatus GetStatus(FtHandle, uint32_t&, uint32_t&, uint32_t&) override { return FtInvalidHandle; }
};

} // namespace

template <> Seam<FtdiDriver>& TheSeam<FtdiDriver>() {
    return SeamWithDefault<FtdiDriver, NoDeviceDriver>();
}

FtdiDriver& TheFtdiDriver() {
    return *TheSeam<FtdiDriver>().Get();
}
