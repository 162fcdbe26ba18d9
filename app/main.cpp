// CorvexZR: the program a technician opens. It talks to a real analyzer through libftdi.
#include "app/programentry.h"
#include "link/ftdibackend.h"

int main(int argc, char** argv)
{
    FtdiBackend analyzer;
    return RunProgram(argc, argv, analyzer);
}
