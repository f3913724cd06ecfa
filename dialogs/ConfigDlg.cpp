#include "dialogs/Commands.h"

void ConfigurationCommand(HWND)
{
}
