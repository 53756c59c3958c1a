#include "store/UnlockedBoxes.h"

#include <utility>
#include <vector>

#include "foundation/bytes/MessageBoxes.h"

namespace {
thread_local std::vector<std::pair<HWND, std::string>> t_keptBoxes;
}

void ShowWhenUnlocked(HWND owner, const std::string& text)
{
    t_keptBoxes.emplace_back(owner, text);
}

void ShowKeptBoxes()
{
    std::vector<std::pair<HWND, std::string>> boxes;
    boxes.swap(t_keptBoxes);
    for (const auto& box : boxes)
        ShowErrorMessage(box.first, box.second.c_str(), ProgramTitle);
}
