#pragma once

#include <windows.h>

#include "foundation/CryptProvider.h"
#include "foundation/MemArray.h"
#include "foundation/PtrList.h"
#include "foundation/ProcessHeap.h"
#include "foundation/RecordList.h"
#include "foundation/win/FavouritesImageList.h"
#include "foundation/win/GdiObjects.h"
#include "foundation/win/OnDiskBitmap.h"
#include "globals/FindSettings.h"
#include "globals/NoteManagerOptions.h"
#include "globals/HashRecord.h"
#include "globals/NotesGeneration.h"
#include "globals/Settings.h"

// The program's shared state: objects built before WinMain, in one fixed order,
// and released in the reverse order after it returns. Each is made by the first
// call of its accessor, which shell/ProgramGlobalsOrder.cpp makes for every row
// below in turn. Each accessor refuses, with a CGenericException, an object that
// has already been released, so nothing touches released state during exit.

CConfigSettings& ConfigSettings();
CUserSettings& UserSettings();

// The "TaskbarCreated" message, after which the tray icon is added again.
UINT TaskbarCreatedMessage();
CFindSettings& FindSettings();
// The row of the hotkey key table (the rows in use) whose key code is the id;
// 0 also when none is.
WORD FindHotkeyIndex(DWORD id);
// The single-instance mutex; closed at exit when set.
void SetInstanceMutex(HANDLE mutex);
HANDLE GetInstanceMutex();
// The screen's size when the program started.
WORD ScreenWidth();
WORD ScreenHeight();
// A byte array shared by the table readers, the note parser and the Note Manager.
CMemArray<BYTE>& ScratchBytes();

// The stored pictures, picked by their code: "LG", "NG", and one for every
// other code.
COnDiskBitmap& OnDiskBitmapByCode(const char* imageCode);
// Four small-icon lists of the menus and favourites (index 0 to 3).
CFavouritesImageList& ImageList(int index);
// The system's menu font and its bold form (CreateMenuFonts makes them).
CGdiFont& MenuFont();
CGdiFont& BoldMenuFont();
CPrintSetup& PrintSetup();
// One line of the notes' favourites submenu: an object of the favourites
// folder, its icon's index in ImageList(kFavouritesImageList) and its place
// in the folder's listing (1 to 25).
struct FavouriteItem {
    char path[261];
    char name[51];  // the file name; a shortcut's without ".lnk"
    int imageIndex;
    DWORD ordinal;
    DWORD kind;  // 1 file or shortcut, 2 folder
    DWORD listOrdinal;
    // Ordered by name, ignoring case.
    bool IsGreater(const FavouriteItem& other) const { return lstrcmpiA(name, other.name) > 0; }
};
inline long RecordId(const FavouriteItem& item) { return static_cast<long>(item.ordinal); }
inline const char* RecordName(const FavouriteItem& item) { return item.name; }
enum { kMenuImageList = 0, kSmallIconImageList = 1, kFavouritesImageList = 3 };
CRecordList<FavouriteItem>& FavouritesList();
// A copy of the item put in the list before the first item whose name is not
// smaller (ignoring case).
void InsertSortedByName(CRecordList<FavouriteItem>& list, const FavouriteItem& item);
// The path, the name and the four numbers, each cut to its field.
void CopyFavouriteFileRecord(FavouriteItem& target, const FavouriteItem& source);
// The same icon index, the number that follows the path and the name.
bool HasSameRecordId(const FavouriteItem& a, const FavouriteItem& b);

// The web-search tables: 200 entries each, id -1 marks a free entry.
struct CCurrencyEntry {
    int id;
    char key[7];
    char value[32];
};
struct CLanguagePairEntry {
    int id;
    char key[13];
    char value[32];
};
enum { kWebSearchTableSize = 200 };
CCurrencyEntry* CurrencyTable();
CLanguagePairEntry* LanguagePairTable();

// The program's one CryptoAPI context.
CCryptProvider& CryptProvider();

// The password codes typed in this run, with their ids.
CRecordList<CHashRecord>& HashesList();
// The largest id of the "Hashes" list plus one; 0 for an empty list.
long GetNextHashId();
// Adds the code with the next free id, unless the list has it already (any case).
void AddToHashesList(const CHashRecord& record);
CPtrList& DeletedNotesList();

CNoteManagerOptions& NoteManagerOptions();
CRecordList<CNoteGroup>& GroupsList();
CRecordList<CGroupNotePair>& GroupsAndNotesList();
// Every user's stored Note Manager options.
CRecordList<CNoteManagerOptions>& NoteManagerOptionsList();

// The calendar's program-wide styles and lists are kept with their record
// (globals/CalendarStyle.h).

// A 51,200-byte work block of the process heap.
CProcessHeap& WorkHeapBlock();

// The order in which the objects above, and those kept behind accessors of
// their own elsewhere, are built: row n is built n-th and released (29 - n)-th. Rows whose objects a later part of the program brings
// are not listed yet.
enum ProgramGlobalRow {
    kRowTrayDragTracker = 1,
    kRowTaskbarCreated = 2,
    kRowFindSettings = 3,
    kRowInstanceMutex = 4,
    kRowScreenSize = 5,
    kRowTableKeys = 6,
    kRowScratchBytes = 8,
    kRowFavouritesWatcher = 9,
    kRowApplication = 11,
    kRowGdiCaches = 12,
    kRowOnDiskBitmaps = 13,
    kRowImageLists = 14,
    kRowMenuFonts = 15,
    kRowSettings = 16,
    kRowAllocators = 17,
    kRowPrintSetup = 18,
    kRowNamedLists = 19,
    kRowWebSearchTables = 20,
    kRowCryptProvider = 21,
    kRowHashes = 22,
    kRowDeletedNotes = 23,
    kRowNoteManagerOptions = 24,
    kRowGroupLists = 25,
    kRowCalendarStyles = 26,
    kRowAvatars = 27,
    kRowCalendarLists = 28,
    kRowWorkHeapBlock = 29,
    kProgramGlobalRowCount = 30
};

// What has happened to the rows so far, in the order it happened: +n when row n
// was built, -n when it was released. Kept in plain static memory, readable
// before the first object is built and after the last is released.
struct ProgramGlobalsLedger {
    int events[2 * kProgramGlobalRowCount];
    int count;
};
const ProgramGlobalsLedger& GetProgramGlobalsLedger();

// The row's objects were built, or are about to be released.
void RecordRowBuilt(int row);
void RecordRowReleased(int row);
// The object of the row, refused once the row was released. Accessors of
// program-wide objects kept elsewhere answer through this too.
void RefuseReleasedRow(int row);
template <class T>
T& LiveGlobal(T& object, int row)
{
    RefuseReleasedRow(row);
    return object;
}
