#pragma once

// The program's entry: settings, single instance, windows, message loop, clean-up. Always 0.
int RunQrxSetup(int argc, char** argv);

// Registers the Tahoma fonts of the Wine font folder with the application (when present) and makes
// Tahoma 8 pt the application font; otherwise the desktop's sans-serif at 8 pt. True when Tahoma
// was found. Needs the application object.
bool InstallApplicationFont();
