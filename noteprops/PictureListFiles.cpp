// The picture files behind the list: another picture copied into the folder,
// and a picture deleted from it.
#include <windows.h>
#include <commdlg.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "foundation/DiagnosticLog.h"
#include "foundation/FileHelpers.h"
#include "foundation/bytes/MessageBoxes.h"
#include "noteprops/PictureList.h"

namespace {
// The text that follows a failed file operation's path.
std::string SystemErrorText(DWORD error)
{
    char description[320] = "";
    FormatLastErrorText(error, description, sizeof description);
    return description;
}
}

void CPictureList::AddOtherImage()
{
    const std::string folder = FolderPath();
    char chosen[MAX_PATH] = "";
    char current[MAX_PATH] = "";
    GetCurrentDirectoryA(sizeof current, current);
    OPENFILENAMEA open{};
    open.lStructSize = sizeof open;
    open.hwndOwner = m_dialog;
    open.lpstrFilter = "Image files (*.bmp,*.gif,*.jpg) \0*.bmp;*.gif;*.jpg\0";
    open.lpstrFile = chosen;
    open.nMaxFile = sizeof chosen;
    open.lpstrInitialDir = m_kind.lastFolder[0] ? m_kind.lastFolder : folder.c_str();
    open.lpstrTitle = m_kind.openTitle;
    open.Flags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY;
    const bool picked = GetOpenFileNameA(&open) != FALSE;
    // The dialog may move the current folder, where the program keeps its reports.
    SetCurrentDirectoryA(current);
    if (!picked || open.nFileOffset == 0 || open.nFileOffset >= std::strlen(chosen))
        return;
    std::snprintf(m_kind.lastFolder, MAX_PATH, "%.*s", static_cast<int>(open.nFileOffset), chosen);

    const char* name = chosen + open.nFileOffset;
    if (FileExistsInFolder(folder.c_str(), name)) {
        const std::string text = std::string("Sorry, the file '") + name + "' already exists in the '" + folder +
                                 "' folder.\r\n\r\nPlease choose another file.";
        ShowWarningMessage(m_dialog, text.c_str(), ProgramTitle);
        return;
    }
    const std::string target = PicturePath(name);
    if (target.empty()) {
        const std::string text = std::string("The name of the file '") + name + "' is too long for the '" + folder +
                                 "' folder.\r\n\r\nPlease choose another file.";
        ShowWarningMessage(m_dialog, text.c_str(), ProgramTitle);
        return;
    }
    if (!CopyFileA(chosen, target.c_str(), TRUE)) {
        const std::string text = std::string("Error copying file \"") + chosen + "\" to \"" + target + "\"\r\n" +
                                 SystemErrorText(GetLastError());
        ShowErrorMessage(m_dialog, text.c_str(), ProgramTitle);
        return;
    }
    const int line = AddLine(name);
    SendMessageA(m_list, LB_SETCURSEL, static_cast<WPARAM>(line), 0);
    RebuildTooltips();
}

// The file goes first: a picture that cannot be deleted stays in the list.
void CPictureList::DeleteSelected()
{
    const LRESULT selected = SendMessageA(m_list, LB_GETCURSEL, 0, 0);
    if (selected == LB_ERR || selected == 0) {
        MessageBeep(MB_ICONHAND);
        return;
    }
    const std::string path = FolderPath() + "\\" + LineText(static_cast<int>(selected));
    const std::string question = "Are you sure you want to delete '" + path + "' ?";
    if (AskYesNo(m_dialog, question.c_str(), ProgramTitle) != kIdYes)
        return;
    ClearReadOnlyAttribute(path.c_str());
    if (!DeleteFileA(path.c_str())) {
        const std::string text = "Error deleting file \"" + path + "\"\r\n" + SystemErrorText(GetLastError());
        ShowErrorMessage(m_dialog, text.c_str(), ProgramTitle);
        return;
    }
    RemoveLine(static_cast<int>(selected));
    SendMessageA(m_list, LB_SETCURSEL, static_cast<WPARAM>(selected - 1), 0);
    if (m_fileDeleted)
        *m_fileDeleted = 1;
    RebuildTooltips();
}
