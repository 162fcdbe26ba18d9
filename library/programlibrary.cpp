#include "library/programlibrary.h"

#include "base/global.h"

#include <QCoreApplication>

namespace {

bool demo = false;
std::unique_ptr<TTestLibrary> library;

} // namespace

void UseDemoLibrary() {
    demo = true;
    CloseProgramLibrary();
}

QString ProgramLibraryLocation() {
    return demo ? DataFolder + QStringLiteral("demo-library.sqlite") : ConfiguredLibraryLocation();
}

TTestLibrary* ProgramLibrary(QString& why) {
    const QString location = ProgramLibraryLocation();
    if (library && library->Location() != location)
        library.reset();
    if (!library) {
        library = TTestLibrary::Open(location, why);
        // Closed with the application, while Qt's database drivers are still there.
        static const bool closedAtExit = [] {
            qAddPostRoutine(CloseProgramLibrary);
            return true;
        }();
        (void)closedAtExit;
    }
    return library.get();
}

void CloseProgramLibrary() {
    library.reset();
}
