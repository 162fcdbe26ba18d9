#pragma once
// The desktop seam: web pages open in the user's browser through Desktop(); tests install a recorder.

#include <QUrl>

class DesktopServicesSeam {
public:
    virtual ~DesktopServicesSeam() = default;
    virtual void OpenUrl(const QUrl& url) = 0;
};

DesktopServicesSeam& Desktop();
void InstallDesktop(DesktopServicesSeam* desktop);
