// qrx-setup entry point.
#include "app/ui/startup.h"

int main(int argc, char** argv)
{
    return RunQrxSetup(argc, argv);
}
