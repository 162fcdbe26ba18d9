#include "base/desktop.h"

#include <QDesktopServices>

namespace {

class QtDesktop : public DesktopServicesSeam {
public:
    void OpenUrl(const QUrl& url) override { QDesktopServices::openUrl(url); }
};

} // namespace

template <> Seam<DesktopServicesSeam>& TheSeam<DesktopServicesSeam>() {
    static QtDesktop qt;
    static Seam<DesktopServicesSeam> seam(&qt);
    return seam;
}

DesktopServicesSeam& Desktop() {
    return *TheSeam<DesktopServicesSeam>().Get();
}
