#include "base/desktop.h"

#include "base/seamdefault.h"

#include <QDesktopServices>

namespace {

class QtDesktop : public DesktopServicesSeam {
public:
    void OpenUrl(const QUrl& url) override { QDesktopServices::openUrl(url); }
};

} // namespace

template <> Seam<DesktopServicesSeam>& TheSeam<DesktopServicesSeam>() {
    return SeamWithDefault<DesktopServicesSeam, QtDesktop>();
}

DesktopServicesSeam& Desktop() {
    return *TheSeam<DesktopServicesSeam>().Get();
}
