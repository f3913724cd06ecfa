#include "dialogs/Commands.h"

void AboutCommand()
{
}
