#include "store/IntroNotes.h"

#include <string>
#include <vector>

#include "foundation/Clock.h"
#include "foundation/bytes/NoteColors.h"
#include "store/NoteMaking.h"
#include "store/FieldAccess.h"

namespace {
// An intro note's text is one memo of the settings table.
const DWORD kLargestIntroText = 51200;

std::vector<char> ReadIntroText(CDbfFile& settings)
{
    DWORD block = static_cast<DWORD>(ReadNumber(settings, "TEXT"));
    DWORD offset = 0;
    DWORD fileSize = 0;
    DWORD length = 0;
    if (block == 0 || !settings.GetSizeOfMemoField(block, offset, fileSize, length) || length >= kLargestIntroText)
        return {};
    std::vector<char> text(length + 1, '\0');
    settings.ReadMemoField(text.data(), static_cast<DWORD>(text.size()), block);
    return text;
}

// On displays of 256 colours or fewer a named colour is drawn pure.
COLORREF ForDisplay(COLORREF colour)
{
    return GetDisplayColorCount() > 256 ? colour : ColorToStrongColor(colour);
}
}

CNoteController* CreateNoteFromRecord(CDbfFile& settings, DWORD userId, int k)
{
    NoteDescription description;
    description.bodyColor = ForDisplay(ReadColour(settings, kNoteColourFields));
    description.textColor = ForDisplay(ReadColour(settings, kTextColourFields));
    description.titleColor = ForDisplay(ReadColour(settings, kTitleColourFields));
    description.titleTextColor = ForDisplay(ReadColour(settings, kTitleTextColourFields));
    std::string title = ReadText(settings, "SZTITLE", 40);
    description.title = title.c_str();
    description.rolledUp = ReadFlag(settings, "BROLLUP") != 0;
    description.showDate = ReadFlag(settings, "BSHOWDATE") != 0;
    description.stayOnTop = ReadFlag(settings, "BSTAYONTOP") != 0;
    description.border = ReadFlag(settings, "BHASBORDER") != 0;
    LOGFONTA bodyFont;
    LOGFONTA titleFont;
    bodyFont = ReadFontFields(settings, FontFieldSet::kBody);
    titleFont = ReadFontFields(settings, FontFieldSet::kTitle);
    description.bodyFont = &bodyFont;
    description.titleFont = &titleFont;
    description.alarmRecurring = ReadFlag(settings, "BDELAY") != 0;
    description.alarmValue = static_cast<BYTE>(ReadNumber(settings, "BYDELAY"));
    description.alarmUnit = static_cast<BYTE>(ReadNumber(settings, "BYDELAYTYP"));
    description.retry = ReadFlag(settings, "BRETRY") != 0;
    description.retryCount = static_cast<BYTE>(ReadNumber(settings, "BYRETRY"));
    description.retryUnit = static_cast<BYTE>(ReadNumber(settings, "BYRETRYTYP"));
    description.width = ReadNumber(settings, "WNOWIDTH");
    description.height = ReadNumber(settings, "WNOHEIGHT");
    description.x = 50 + 220 * (k - 1);
    description.y = 50 + 50 * (k - 1);
    description.userId = userId;
    // An intro note is new to its user: it is dated when it is made.
    description.created = GetLocalNow();
    std::vector<char> text = ReadIntroText(settings);
    description.text = text.empty() ? nullptr : text.data();
    description.textLength = text.empty() ? 0 : static_cast<DWORD>(text.size() - 1);
    return MakeNote(description);
}

void CreateIntroNotes(DWORD userId, CreatedNotes& notes)
{
    CSettingsTable settings;
    settings.Open("READ");
    int k = 0;
    for (settings.GoTop(); !settings.IsEOF(); settings.Skip(1)) {
        if (ReadText(settings, "CONFIG", 2) != "IN")
            continue;
        ++k;
        if (CNoteController* note = CreateNoteFromRecord(settings, userId, k))
            notes.push_back(note);
    }
    settings.Close();
}
