#include "noteprops/bytes/TransparencySteps.h"

int RoundTransparency(int percent)
{
    if (percent <= 0)
        return 0;
    const int rest = percent % 10;
    if (rest >= 6)
        percent += 10 - rest;
    else if (rest >= 1 && rest <= 4)
        percent -= rest;
    return percent < 5 ? 0 : percent;
}
