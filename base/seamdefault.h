#pragma once
// For the module that owns a seam: its seam, with a `Default` made on first use as the fallback
// (function-local statics, so no order of start-up between files matters).

#include "base/seam.h"

template <class Interface, class Default> Seam<Interface>& SeamWithDefault() {
    static Default fallback;
    static Seam<Interface> seam(&fallback);
    return seam;
}
