#include "library/programlibrary.h"

#include "base/global.h"

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
    if (!library)
        library = TTestLibrary::Open(location, why);
    return library.get();
}

void CloseProgramLibrary() {
    library.reset();
}
