#pragma once
// What the fuzz targets share: a failed check names itself on standard error and aborts, so that
// libFuzzer keeps the input that broke it; and the test for a number that is not finite in a text.

#include <QString>
#include <cstdio>
#include <cstdlib>

[[noreturn]] inline void FuzzFail(const char* what) {
    std::fprintf(stderr, "fuzz check failed: %s\n", what);
    std::abort();
}

inline void FuzzCheck(bool ok, const char* what) {
    if (!ok)
        FuzzFail(what);
}

// "nan" or "inf" in any case: a value that is not finite reached a text the user sees.
inline bool HasNonFiniteText(const QString& text) {
    return text.contains(QLatin1String("nan"), Qt::CaseInsensitive) ||
           text.contains(QLatin1String("inf"), Qt::CaseInsensitive);
}
