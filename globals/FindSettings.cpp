#include "globals/FindSettings.h"

#include <cstring>

CFindSettings::~CFindSettings()
{
    for (char*& text : history)
        SetText(text, nullptr);
    SetText(replaceText, nullptr);
}

void CFindSettings::SetText(char*& slot, const char* text)
{
    delete[] slot;
    slot = nullptr;
    if (text) {
        slot = new char[std::strlen(text) + 1];
        std::strcpy(slot, text);
    }
}

CPrintSetup::~CPrintSetup()
{
    if (deviceMode)
        GlobalFree(deviceMode);
    if (deviceNames)
        GlobalFree(deviceNames);
    if (bodyFont)
        DeleteObject(bodyFont);
    if (titleFont)
        DeleteObject(titleFont);
}
