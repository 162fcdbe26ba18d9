#pragma once
// The library the program keeps its tests in: the one named in the settings file ([Library]
// DATABASE=, a file path or a postgresql:// URL), else library.sqlite in the data folder, unless the
// program's entry names another (the demo keeps its simulated tests apart from real ones).
// Opened on first use and kept open; a library that could not be opened is tried again at the next
// use (a server that was down may be back).

#include "library/testlibrary.h"

#include <QString>

// From now on the program keeps its tests in `location` (a file path or a postgresql:// URL) instead;
// empty: where the settings name.
void UseLibraryInstead(const QString& location);

// Where the program's library is.
QString ProgramLibraryLocation();

// The program's library, or nullptr with the reason in `why`.
TTestLibrary* ProgramLibrary(QString& why);

// Closes it (the next use opens it again, wherever the settings then name).
void CloseProgramLibrary();
