#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "foundation/win/LoadedBitmap.h"

// The pictures of one folder of the data folder as a list of thumbnails: an
// owner-drawn, multi-column list box of a picker dialog, whose cells run down
// four rows and then on to the next column. The first line, "  NoImage",
// stands for no picture; the others are the folder's .BMP, .JPG and .GIF
// files. Each line has a tooltip with its file name. The user can copy
// another picture file into the folder and delete one with the Delete key.

// What sets one picker's list apart from another's.
struct CPictureListKind {
    const char* property;     // the list box property that holds the list
    const char* folder;       // the pictures' folder in the data folder
    BYTE cellSize;            // a cell's width and height, in pixels
    BYTE cellMargin;          // the space kept around a picture in its cell
    UINT noImageBitmap;       // resource drawn for "  NoImage"
    COLORREF transparent;     // pixels of this colour show the window colour
    const char* openTitle;    // title of the open-file dialog that adds a picture
    char* lastFolder;         // where that dialog opens next (MAX_PATH; empty: the pictures' folder)
    bool fillsCell = false;   // every picture covers its cell, stretched or tiled by the list's choice
};

// One line of the list: a picture file of the folder, or "  NoImage".
struct CPictureEntry {
    UINT id = 0;                    // the line's tooltip tool
    char fileName[MAX_PATH] = "";
    char tooltipText[121] = "";
    CLoadedBitmap picture;          // the thumbnail's source; empty when it could not be loaded
};

class CPictureList {
public:
    // Takes over the dialog's list box. The flag, when given, is set once a
    // picture file has been deleted.
    CPictureList(HWND dialog, int listId, const CPictureListKind& kind, DWORD* fileDeleted);
    ~CPictureList();
    CPictureList(const CPictureList&) = delete;
    CPictureList& operator=(const CPictureList&) = delete;

    HWND GetWindow() const { return m_list; }
    // The list's height that shows four rows of cells and the scroll bar.
    int ListHeight() const { return 4 * m_kind.cellSize + 30; }

    // Lists "  NoImage" and the folder's pictures, and selects the line of
    // that name (case ignored).
    void Fill(const char* fileToSelect);
    // The selected line's name; false when no line is selected.
    bool GetSelectedName(char (&name)[MAX_PATH]) const;
    // WM_DRAWITEM of the list.
    void DrawLine(const DRAWITEMSTRUCT& item) const;
    // For pictures that fill their cell: stretched into it, else tiled; the
    // list repaints.
    void SetStretch(bool stretch);
    // "Select other image...": copies a picture file chosen by the user into
    // the folder, never over one that is there, and selects it.
    void AddOtherImage();

private:
    static LRESULT CALLBACK SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
    // Gives the list box its own procedure back.
    void ReleaseList();

    // Adds a line for the file; its picture is loaded now, so that painting
    // never waits on a file or shows a box. Returns the line's index.
    int AddLine(const char* fileName);
    std::string LineText(int index) const;
    std::string FolderPath() const;
    // The path of a file of the folder; empty when it would not fit MAX_PATH.
    std::string PicturePath(const char* fileName) const;
    void DeleteSelected();
    void RemoveLine(int index);
    void RebuildTooltips();
    void RelayToTooltip(UINT message, WPARAM wParam, LPARAM lParam);

    HWND m_dialog;
    HWND m_list;
    const CPictureListKind& m_kind;
    DWORD* m_fileDeleted;
    WNDPROC m_previous = nullptr;
    HWND m_tooltip = nullptr;
    int m_topIndex = 0;
    UINT m_lastEntryId = 0;
    std::vector<std::unique_ptr<CPictureEntry>> m_entries;
    CLoadedBitmap m_noImage;
    bool m_stretch = false;
};
