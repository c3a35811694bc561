// The program's static objects, defined in one place so that their order is fixed: the log is
// constructed first (it opens the log file) and destroyed last.
#include "app/debug.h"
#include "app/globalvar.h"

CDebug g_Debug;
CGlobalVar g_Var;
