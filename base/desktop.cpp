#include "base/desktop.h"

#include <QDesktopServices>

namespace {

class QtDesktop : public DesktopServicesSeam {
public:
    void OpenUrl(const QUrl& url) override { QDesktopServices::openUrl(url); }
};

QtDesktop g_qtDesktop;
DesktopServicesSeam* g_installed = nullptr;

} // namespace

DesktopServicesSeam& Desktop() {
    return g_installed ? *g_installed : g_qtDesktop;
}

void InstallDesktop(DesktopServicesSeam* desktop) {
    g_installed = desktop;
}
