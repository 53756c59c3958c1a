#include "noteprops/PictureListDialog.h"

#include <cstdio>
#include <memory>

#include "foundation/win/HelpFile.h"
#include "resources/ids/PictureListIds.h"

namespace {
// Posted to itself by the dialog when it first paints.
const UINT kFillRequest = WM_APP + 1;
// Around and between the buttons, in pixels.
const int kPictureListGap = 6;

struct CPicturePicker {
    CPicturePicker(HWND dialog, const CPictureDialogKind& kind, const CPictureChoice& choice)
        : list(dialog, IDC_PICTURE_LIST, kind.pictures, choice.fileDeleted), choice(choice)
    {
    }
    CPictureList list;
    CPictureChoice choice;
    bool fillPosted = false;
};

CPicturePicker* PickerOf(HWND dialog)
{
    return reinterpret_cast<CPicturePicker*>(GetWindowLongPtrA(dialog, GWLP_USERDATA));
}

SIZE ItemSize(HWND dialog, int id)
{
    RECT rect = {};
    GetWindowRect(GetDlgItem(dialog, id), &rect);
    return SIZE{rect.right - rect.left, rect.bottom - rect.top};
}

int ButtonRowHeight(HWND dialog)
{
    return ItemSize(dialog, IDC_PICTURE_OK).cy + 2 * kPictureListGap;
}

void SizeDialog(HWND dialog, const CPicturePicker& picker)
{
    RECT client = {};
    GetClientRect(dialog, &client);
    RECT frame = {0, 0, client.right, picker.list.ListHeight() + ButtonRowHeight(dialog)};
    AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongPtrA(dialog, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongPtrA(dialog, GWL_EXSTYLE)));
    SetWindowPos(dialog, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

bool HasStretchChoice(const CPictureDialogKind& kind, const CPictureChoice& choice)
{
    return kind.tileButton && kind.stretchButton && choice.stretch;
}

// The list over the full width; "Select other image..." and the tile and
// stretch buttons at the left of the row below it, OK, Cancel and Help at its
// right.
void LayOutPictureList(HWND dialog, const CPictureDialogKind& kind, const CPicturePicker& picker, int width)
{
    const int listHeight = picker.list.ListHeight();
    MoveWindow(picker.list.GetWindow(), 0, 0, width, listHeight, TRUE);
    const int top = listHeight + kPictureListGap;
    int left = kPictureListGap;
    for (int id : {IDC_PICTURE_OTHER_IMAGE, kind.tileButton, kind.stretchButton}) {
        HWND item = id ? GetDlgItem(dialog, id) : nullptr;
        if (!item)
            continue;
        const SIZE size = ItemSize(dialog, id);
        const int buttonHeight = ItemSize(dialog, IDC_PICTURE_OK).cy;
        MoveWindow(item, left, top + (buttonHeight - size.cy) / 2, size.cx, size.cy, TRUE);
        left += size.cx + kPictureListGap;
    }
    int right = width - kPictureListGap;
    for (int id : {IDC_PICTURE_HELP, IDCANCEL, IDC_PICTURE_OK}) {
        const SIZE size = ItemSize(dialog, id);
        right -= size.cx;
        MoveWindow(GetDlgItem(dialog, id), right, top, size.cx, size.cy, TRUE);
        right -= kPictureListGap;
    }
}

void TakeSelectedPicture(HWND dialog, const CPictureDialogKind& kind, CPicturePicker& picker)
{
    char name[MAX_PATH] = "";
    if (picker.list.GetSelectedName(name))
        std::snprintf(picker.choice.fileName, MAX_PATH, "%s", name);
    if (HasStretchChoice(kind, picker.choice))
        *picker.choice.stretch = IsDlgButtonChecked(dialog, kind.stretchButton) == BST_CHECKED ? 1 : 0;
    EndDialog(dialog, 1);
}

INT_PTR OnPictureListCommand(HWND dialog, const CPictureDialogKind& kind, CPicturePicker* picker, int id, int code)
{
    if (id == IDCANCEL) {
        EndDialog(dialog, 0);
        return TRUE;
    }
    if (id == IDC_PICTURE_HELP) {
        ShowHelpTopic(dialog, kind.helpTopic);
        return TRUE;
    }
    if (!picker)
        return FALSE;
    if (code == BN_CLICKED && HasStretchChoice(kind, picker->choice) &&
        (id == kind.tileButton || id == kind.stretchButton)) {
        picker->list.SetStretch(id == kind.stretchButton);
        return TRUE;
    }
    switch (id) {
    case IDC_PICTURE_OK:
        TakeSelectedPicture(dialog, kind, *picker);
        return TRUE;
    case IDC_PICTURE_LIST:
        if (code != LBN_DBLCLK)
            return FALSE;
        TakeSelectedPicture(dialog, kind, *picker);
        return TRUE;
    case IDC_PICTURE_OTHER_IMAGE:
        picker->list.AddOtherImage();
        return TRUE;
    default:
        return FALSE;
    }
}
}

INT_PTR OpenPictureDialog(HWND dialog, const CPictureDialogKind& kind, const CPictureChoice& choice)
{
    auto picker = std::make_unique<CPicturePicker>(dialog, kind, choice);
    SetWindowLongPtrA(dialog, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(picker.get()));
    CPicturePicker& opened = *picker.release();
    if (HasStretchChoice(kind, choice)) {
        const bool stretch = *choice.stretch != 0;
        CheckRadioButton(dialog, kind.tileButton, kind.stretchButton, stretch ? kind.stretchButton : kind.tileButton);
        opened.list.SetStretch(stretch);
    }
    SizeDialog(dialog, opened);
    SetFocus(opened.list.GetWindow());
    return FALSE;
}

INT_PTR HandlePictureDialogMessage(HWND dialog, const CPictureDialogKind& kind, UINT message, WPARAM wParam,
                                   LPARAM lParam)
{
    CPicturePicker* picker = PickerOf(dialog);
    switch (message) {
    case WM_MEASUREITEM: {
        // Sent while the list is made, before the dialog has its picker.
        auto* measure = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
        if (measure->CtlID != IDC_PICTURE_LIST)
            return FALSE;
        measure->itemHeight = kind.pictures.cellSize;
        return TRUE;
    }
    case WM_DRAWITEM:
        if (!picker || wParam != IDC_PICTURE_LIST)
            return FALSE;
        picker->list.DrawLine(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        return TRUE;
    case WM_SIZE:
        if (picker)
            LayOutPictureList(dialog, kind, *picker, LOWORD(lParam));
        return FALSE;
    case WM_PAINT:
        if (picker && !picker->fillPosted) {
            picker->fillPosted = true;
            PostMessageA(dialog, kFillRequest, 0, 0);
        }
        return FALSE;
    case kFillRequest:
        if (picker)
            picker->list.Fill(picker->choice.fileName);
        return TRUE;
    case WM_COMMAND:
        return OnPictureListCommand(dialog, kind, picker, LOWORD(wParam), HIWORD(wParam));
    case WM_HELP:
        ShowHelpTopic(dialog, kind.helpTopic);
        return TRUE;
    case WM_DESTROY:
        SetWindowLongPtrA(dialog, GWLP_USERDATA, 0);
        delete picker;
        return FALSE;
    default:
        return FALSE;
    }
}
