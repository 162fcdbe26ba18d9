#include "link/ftdiprobe.h"

#include "link/analyzerlink.h"
#include "link/ftdibackend.h"
#include "link/protocol.h"
#include "link/usbcomm.h"

#include <cstring>

namespace {

QString Place(const FtdiDeviceInfo& device) {
    return QStringLiteral("bus %1 address %2")
        .arg(device.bus, 3, 10, QLatin1Char('0'))
        .arg(device.address, 3, 10, QLatin1Char('0'));
}

// The analyzer's identification in its status block: up to 16 characters from byte 12, ending at the
// first zero byte.
QString AnalyzerIdOf(const uint8_t* status) {
    const auto* id = reinterpret_cast<const char*>(status + 12);
    return QString::fromLatin1(id, static_cast<qsizetype>(strnlen(id, 16)));
}

const char PermissionHint[] =
    "On Linux, the udev rule 70-corvexzr.rules lets the user at the computer open the analyzer: the\n"
    "corvexzr package installs it in /usr/lib/udev/rules.d; from source, install "
    "resources/70-corvexzr.rules\n"
    "(see the README). Then unplug the analyzer and plug it in again.\n";

} // namespace

int ProbeAnalyzer(QTextStream& out, QTextStream& err) {
    QString usbError;
    const QList<FtdiDeviceInfo> devices = LibFtdiDriver::ListDevices(&usbError);
    if (!usbError.isEmpty()) {
        err << usbError << "\n";
        err.flush();
        return ProbeAnalyzerNotFound;
    }

    out << "FTDI devices (vendor 0403):\n";
    if (devices.isEmpty())
        out << "  none\n";
    const FtdiDeviceInfo* analyzer = nullptr;
    int unreadable = 0;
    for (const FtdiDeviceInfo& device : devices) {
        out << "  " << Place(device)
            << QStringLiteral("  product %1  ").arg(device.productId, 4, 16, QLatin1Char('0'));
        if (device.readError.isEmpty() || !device.product.isEmpty()) {
            out << '"' << device.product << '"'
                << (device.notPermitted ? QStringLiteral(" (this user may not open it)") : QString()) << "\n";
            if (!analyzer && device.product == QLatin1String(AnalyzerDescription))
                analyzer = &device;
        } else {
            out << "product string not readable: " << device.readError << "\n";
            ++unreadable;
        }
    }
    out.flush();

    if (!analyzer) {
        err << "The analyzer (\"" << AnalyzerDescription << "\") was not found.\n";
        if (unreadable > 0)
            err << "Some FTDI devices could not be read, most likely for lack of permission; the analyzer "
                   "may be\n"
                   "one of them. "
                << PermissionHint;
        else
            err << "Check that it is switched on and connected to this computer by USB.\n";
        err.flush();
        return ProbeAnalyzerNotFound;
    }

    out << "Analyzer \"" << AnalyzerDescription << "\" found at " << Place(*analyzer) << ".\n";
    out.flush();
    LibFtdiDriver driver;
    FtHandle handle = FtHandle::Null;
    QString why;
    if (driver.Open(AnalyzerDescription, handle, &why) != FtOK) {
        err << "The analyzer could not be opened: " << why << "\n"
            << "Another program may be using it, or this user may not have permission. " << PermissionHint;
        err.flush();
        return ProbeAnalyzerNotOpened;
    }
    out << "Opened it.\n";
    out.flush();

    // The analyzer answers its status query only in REMOTE mode, which a test needs as well.
    uint8_t status[StatusReplySize] = {};
    bool answered = false;
    {
        const ScopedInstall<FtdiDriver> installed(driver);
        AnalyzerLink link(handle);
        answered = link.QueryStatus(status).Ok(); // closes the analyzer when it fails
        link.Close();
    }
    if (answered)
        out << "It answers: analyzer ID \"" << AnalyzerIdOf(status) << "\". Ready for a test.\n";
    else
        out << "It did not answer the status query: set it to REMOTE mode (main menu) before a test.\n";
    out.flush();
    return ProbeAnalyzerOpened;
}
