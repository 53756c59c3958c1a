#include "foundation/StartupValues.h"

StartupValues& GetStartupValues()
{
    static StartupValues values;
    return values;
}
