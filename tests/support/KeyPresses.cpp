#include "support/KeyPresses.h"

#include <vector>

#include <gtest/gtest.h>

#include "support/NoticeReading.h"

void PressKeys(std::initializer_list<BYTE> keys)
{
    if (keys.size() > 1) {
        EXPECT_TRUE(ForegroundReadItsNotices()) << "the keys' window did not read its focus and enter notices";
    }
    std::vector<INPUT> inputs;
    for (BYTE key : keys)
        inputs.push_back(KeyInput(key, 0));
    for (auto key = keys.end(); key != keys.begin();)
        inputs.push_back(KeyInput(*--key, KEYEVENTF_KEYUP));
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

void TypeOnTheKeyboard(const char* text)
{
    for (const char* character = text; *character; ++character) {
        const SHORT key = VkKeyScanA(*character);
        if (HIBYTE(key) & 1)
            PressKeys({VK_SHIFT, LOBYTE(key)});
        else
            PressKeys({LOBYTE(key)});
    }
}

INPUT KeyInput(BYTE key, DWORD flags)
{
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.dwFlags = flags;
    return input;
}

void PostKeyPress(HWND control, UINT key)
{
    PostMessageA(control, WM_KEYDOWN, key, 1);
    PostMessageA(control, WM_KEYUP, key, 0xC0000001);
}
