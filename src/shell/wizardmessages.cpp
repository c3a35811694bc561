#include "shell/wizardmessages.h"

bool PostWizard(WPARAM kind)
{
    return PostMessage(ApplicationMainWindow(), UM_WIZARD, kind, 0);
}
