#include "store/UnlockedBoxes.h"

#include <algorithm>
#include <memory>
#include <utility>
#include <vector>

#include "foundation/bytes/MessageBoxes.h"

namespace {
using KeptBoxes = std::vector<std::pair<HWND, std::string>>;

// A plain pointer: a thread-local object with a destructor can hang the
// process at exit under this runtime, and the list is empty between saves.
thread_local KeptBoxes* t_keptBoxes = nullptr;
thread_local int t_holds = 0;
}

void ShowWhenUnlocked(HWND owner, const std::string& text)
{
    if (!t_keptBoxes)
        t_keptBoxes = new KeptBoxes;
    t_keptBoxes->emplace_back(owner, text);
}

void ShowKeptBoxes()
{
    if (t_holds > 0)
        return;
    std::unique_ptr<KeptBoxes> boxes(t_keptBoxes);
    t_keptBoxes = nullptr;
    if (!boxes)
        return;
    // Each note's save says the same of a missing file: the user hears it once.
    std::vector<std::string> shown;
    for (const auto& box : *boxes) {
        if (std::find(shown.begin(), shown.end(), box.second) != shown.end())
            continue;
        shown.push_back(box.second);
        ShowErrorMessage(box.first, box.second.c_str(), ProgramTitle);
    }
}

CKeptBoxesHeld::CKeptBoxesHeld()
{
    ++t_holds;
}

CKeptBoxesHeld::~CKeptBoxesHeld()
{
    --t_holds;
    ShowKeptBoxes();
}
