#include "base/appicons.h"

// Resources in a static library are kept by the linker only when something refers to them; this
// function is that reference. Outside any namespace, as Q_INIT_RESOURCE requires.
static void InitAppResources() {
    static const bool done = [] {
        Q_INIT_RESOURCE(app);
        return true;
    }();
    (void)done;
}

QIcon AppPicture(const char* path) {
    InitAppResources();
    return QIcon(QStringLiteral(":/") + QString::fromLatin1(path));
}
