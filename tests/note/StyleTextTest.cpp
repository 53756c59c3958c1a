// A style's text applied to a note whose body is a rich edit of the test's
// own, with the program's clock set to 5 March 2026: the date placeholders
// take that day, a line break follows, and the caret waits where "%C" was.
#include <windows.h>
#include <richedit.h>

#include <string>

#include <gtest/gtest.h>

#include "foundation/Clock.h"
#include "globals/NoteStyle.h"
#include "globals/ProgramGlobals.h"
#include "globals/Settings.h"
#include "note/NoteController.h"
#include "support/InFolder.h"
#include "support/ProgramDriver.h"

namespace {
const int kTextStyle = 4;

// A note with a rich edit for its body, the clock at 5 March 2026 09:30 and
// the fifth style's own text, all put back afterwards.
class StyleText : public InFolder {
protected:
    void SetUp() override
    {
        LoadLibraryA("riched20.dll");
        m_edit = CreateWindowExA(0, RICHEDIT_CLASSA, "", WS_POPUP | ES_MULTILINE, 0, 0, 300, 200, nullptr, nullptr,
                                 GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(m_edit, nullptr);
        m_note.m_bodyEdit = m_edit;
        m_saved = UserSettings().styles[kTextStyle];
        const SYSTEMTIME fifthOfMarch = {2026, 3, 4, 5, 9, 30, 0, 0};
        SetClockOverride(&fifthOfMarch);
    }
    void TearDown() override
    {
        SetClockOverride(nullptr);
        UserSettings().styles[kTextStyle] = m_saved;
        m_note.m_bodyEdit = nullptr;
        DestroyWindow(m_edit);
    }

    // The note's text after the style with that text is applied to an empty note.
    std::string Applied(const std::string& text)
    {
        SetWindowTextA(m_edit, "");
        CNoteStyle& style = UserSettings().styles[kTextStyle];
        style = CNoteStyle();
        style.undefined = 0;
        style.SetText(("{\\rtf1\\ansi " + text + "}").c_str());
        m_note.ApplyStyle(kTextStyle, true);
        return ReadWindowText(m_edit);
    }
    LONG Caret() const
    {
        CHARRANGE selection{};
        SendMessageA(m_edit, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&selection));
        return selection.cpMin == selection.cpMax ? selection.cpMin : -1;
    }

    HWND m_edit = nullptr;
    CNoteController m_note;
    CNoteStyle m_saved;
};
}

TEST_F(StyleText, TheDatePlaceholdersTakeTheClocksDayAndTheCaretWaitsWhereTheCursorMarkWas)
{
    EXPECT_EQ(Applied("%DD.%MM.%YYYY%C"), "05.03.2026\r\n");
    EXPECT_EQ(Caret(), 10) << "right after 2026";
    EXPECT_EQ(Applied("%MMMM"), "March\r\n");
    EXPECT_EQ(Applied("%C%HH:%MIN"), "09:30\r\n");
    EXPECT_EQ(Caret(), 0);
}
