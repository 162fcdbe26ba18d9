#include "library/programlibrary.h"

#include "base/global.h"
#include "base/settings.h"

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
    return demo ? DataFolder + QStringLiteral("demo-library.sqlite")
                : ConfiguredLibraryLocation(ProgramSettings());
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
