#include "library/programlibrary.h"

#include "base/global.h"
#include "base/settings.h"

#include <QCoreApplication>

namespace {

QString instead;
std::unique_ptr<TTestLibrary> library;

} // namespace

void UseLibraryInstead(const QString& location) {
    instead = location;
    CloseProgramLibrary();
}

QString ProgramLibraryLocation() {
    return instead.isEmpty() ? ConfiguredLibraryLocation(ProgramSettings()) : instead;
}

TTestLibrary* ProgramLibrary(QString& why) {
    const QString location = ProgramLibraryLocation();
    if (library && library->Location() != location)
        library.reset();
    if (!library) {
        // Closed with the application, while Qt's SQL connections still exist: left to the end of the
        // program, it would go after them.
        static const bool closedWithTheApplication = [] {
            qAddPostRoutine(CloseProgramLibrary);
            return true;
        }();
        Q_UNUSED(closedWithTheApplication);
        library = TTestLibrary::Open(location, why);
    }
    return library.get();
}

void CloseProgramLibrary() {
    library.reset();
}
