#include "noteprops/TexturePicker.h"

#include <cstdio>
#include <string>

#include "foundation/CallbackGuard.h"
#include "foundation/DataFolder.h"
#include "foundation/bytes/MessageBoxes.h"
#include "noteprops/PictureListDialog.h"
#include "resources/ids/TexturePickerIds.h"
#include "store/DataFolderImages.h"

namespace {
// Where "Select other image..." opens next, for the rest of the program's run.
char g_lastTextureFolder[MAX_PATH] = "";

// A cell shows a good part of a picture that will cover a whole note. The
// "no image" picture's light grey takes the window colour.
const CPictureListKind kTexturePictures = {
    "ImageListBox", DataName::kTexturesFolder, 85, 5, IDB_TEXTURE_NO_IMAGE, RGB(0xF4, 0xF4, 0xF4),
    "Select an image file for the note background", g_lastTextureFolder, true,
};
const CPictureDialogKind kTextureDialog = {kTexturePictures, IDH_TEXTURE_PICKER, IDC_TEXTURE_TILE,
                                           IDC_TEXTURE_STRETCH};

bool TexturesFolderExists()
{
    const DWORD attributes = GetFileAttributesA(DataFilePath(DataName::kTexturesFolder).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}
}

INT_PTR CALLBACK TextureDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    return GuardCallback<INT_PTR>(FALSE, [&]() -> INT_PTR {
        if (message == WM_INITDIALOG) {
            auto* params = reinterpret_cast<CTexturePickerParams*>(lParam);
            return OpenPictureDialog(dialog, kTextureDialog, CPictureChoice{params->fileName, nullptr, &params->stretch});
        }
        return HandlePictureDialogMessage(dialog, kTextureDialog, message, wParam, lParam);
    });
}

INT_PTR RunTexturePicker(HWND owner, CTexturePickerParams& params)
{
    const INT_PTR result = DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_TEXTURE_PICKER), owner,
                                           TextureDialogProc, reinterpret_cast<LPARAM>(&params));
    if (result == -1)
        return -1;
    return result == 1 ? 1 : 0;
}

bool ChooseTexture(HWND owner, const CTextureChoice& current, CTextureChoice& chosen)
{
    if (!TexturesFolderExists()) {
        const std::string text = "Sorry, the folder '" + GetDataFolder() +
                                 "\\TEXTURES'is missing.\r\n\r\nPlease create this folder, copy into it some nice "
                                 "images and then try again.";
        ShowErrorMessage(owner, text.c_str(), ProgramTitle);
        return false;
    }
    CTexturePickerParams params;
    params.stretch = current.stretch ? 1 : 0;
    std::snprintf(params.fileName, sizeof params.fileName, "%s", current.fileName[0] ? current.fileName : kNoImageName);
    if (RunTexturePicker(owner, params) != 1)
        return false;
    const bool none = lstrcmpiA(params.fileName, kNoImageName) == 0;
    std::snprintf(chosen.fileName, sizeof chosen.fileName, "%s", none ? "" : params.fileName);
    chosen.stretch = params.stretch != 0;
    return true;
}
