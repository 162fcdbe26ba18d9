#pragma once
// The desktop seam: web pages open in the user's browser through Desktop(); tests install a recorder.

#include "base/seam.h"

#include <QUrl>

class DesktopServicesSeam {
public:
    virtual ~DesktopServicesSeam() = default;
    virtual void OpenUrl(const QUrl& url) = 0;
};

// QDesktopServices until another is installed (ScopedInstall<DesktopServicesSeam>).
template <> Seam<DesktopServicesSeam>& TheSeam<DesktopServicesSeam>();
DesktopServicesSeam& Desktop();
