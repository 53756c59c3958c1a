#include "noteprops/AvatarPicker.h"

#include "foundation/CallbackGuard.h"
#include "foundation/DataFolder.h"
#include "noteprops/PictureListDialog.h"
#include "resources/ids/AvatarPickerIds.h"

namespace {
// Where "Select other image..." opens next, for the rest of the program's run.
char g_lastAvatarFolder[MAX_PATH] = "";

// Avatars are at most 24 by 24 pixels: the cell keeps 5 pixels around that.
// A small avatar's 0x4080FF pixels are transparent, as on the chat buttons.
const CPictureListKind kAvatarPictures = {
    "ChatImageListBox", DataName::kChatFolder, 34, 5, IDB_AVATAR_NO_IMAGE, 0x4080FF,
    "Select an image file as avatar (maximum 24x24 pixels, please)", g_lastAvatarFolder,
};
const CPictureDialogKind kAvatarDialog = {kAvatarPictures, IDH_AVATAR_PICKER};
}

INT_PTR CALLBACK AvatarDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    return GuardCallback<INT_PTR>(FALSE, [&]() -> INT_PTR {
        if (message == WM_INITDIALOG) {
            auto* params = reinterpret_cast<CAvatarPickerParams*>(lParam);
            return OpenPictureDialog(dialog, kAvatarDialog, CPictureChoice{params->fileName, &params->fileDeleted});
        }
        return HandlePictureDialogMessage(dialog, kAvatarDialog, message, wParam, lParam);
    });
}

INT_PTR RunAvatarPicker(HWND owner, CAvatarPickerParams& params)
{
    const INT_PTR result = DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_AVATAR_PICKER), owner,
                                           AvatarDialogProc, reinterpret_cast<LPARAM>(&params));
    if (result == -1)
        return -1;
    return result == 1 ? 1 : 0;
}
