#pragma once
// The program's entry, shared by the program and its demo: the application object with its title,
// the seams installed, the main window, and the message loop until the main window closes.

class FtdiDriver;

// Installs `analyzer` as the driver every test talks to. Returns 0 in every case, as the program's
// exit status.
int RunProgram(int argc, char** argv, FtdiDriver& analyzer);
