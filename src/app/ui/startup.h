#pragma once

// The program's entry: settings, single instance, windows, message loop, clean-up. Always 0.
int RunQrxSetup(int argc, char** argv);
