// A shared library's address at which nobody answers, for the end-to-end test of the Test Library window:
// prints it (with a connect time-out of 15 s) and holds the port until it is ended.
#include "tests/support/silentserver.h"

#include <cstdio>
#include <unistd.h>

int main() {
    const SilentServer server;
    if (!server.Listening())
        return 1;
    std::printf("%s\n", server.Address(15).toUtf8().constData());
    std::fflush(stdout);
    for (;;)
        pause();
}
