// The program-wide objects, defined in the order in which they are built before
// WinMain; they are released in the reverse order after it returns. Objects
// that other parts of the program keep behind an accessor of their own are
// made here, in their place, by a first call of that accessor.
#include "globals/ProgramGlobals.h"

#include <cstdio>

#include "foundation/Allocator.h"
#include "foundation/FormatSettings.h"
#include "foundation/bytes/GenericException.h"
#include "foundation/bytes/MessageBoxes.h"
#include "store/DestinationLists.h"
#include "noteprops/AppAssociations.h"
#include "shell/Application.h"
#include "shell/FavouritesWatcher.h"
#include "shell/TrayDragTracker.h"
#include "store/bytes/TableGroups.h"

namespace {
// Plain static memory: zero before the first object is built, still readable
// after the last is released.
ProgramGlobalsLedger g_ledger;
bool g_released[kProgramGlobalRowCount];

void Record(int event)
{
    if (g_ledger.count < static_cast<int>(sizeof g_ledger.events / sizeof g_ledger.events[0]))
        g_ledger.events[g_ledger.count++] = event;
}

// Defined right after the objects of its row: built just after them and
// released just before them.
template <int Row>
struct RowMark {
    RowMark() { Record(Row); }
    ~RowMark()
    {
        g_released[Row] = true;
        Record(-Row);
    }
};

template <class T>
T& Live(T& object, int row)
{
    if (g_released[row]) {
        char text[96];
        std::snprintf(text, sizeof text, "A program-wide object (row %d) was used after its release", row);
        throw CGenericException(text);
    }
    return object;
}

struct InstanceMutexHolder {
    ~InstanceMutexHolder()
    {
        if (handle)
            CloseHandle(handle);
    }
    HANDLE handle = nullptr;
};

struct WebSearchTables {
    WebSearchTables()
    {
        for (CCurrencyEntry& entry : currencies)
            entry = {-1, "", ""};
        for (CLanguagePairEntry& entry : languagePairs)
            entry = {-1, "", ""};
    }
    CCurrencyEntry currencies[kWebSearchTableSize];
    CLanguagePairEntry languagePairs[kWebSearchTableSize];
};

enum { kWorkHeapBlockBytes = 51200 };

CTrayDragTracker g_trayDragTracker;
RowMark<kRowTrayDragTracker> g_mark1;

const UINT g_taskbarCreated = RegisterWindowMessageA("TaskbarCreated");
RowMark<kRowTaskbarCreated> g_mark2;

CFindSettings g_findSettings;
RowMark<kRowFindSettings> g_mark3;

InstanceMutexHolder g_instanceMutex;
RowMark<kRowInstanceMutex> g_mark4;

const WORD g_screenWidth = static_cast<WORD>(GetSystemMetrics(SM_CXSCREEN));
const WORD g_screenHeight = static_cast<WORD>(GetSystemMetrics(SM_CYSCREEN));
RowMark<kRowScreenSize> g_mark5;

const TableKeySet& g_tableKeys = GetTableKeys(TableGroup::kConfig);
RowMark<kRowTableKeys> g_mark6;

CMemArray<BYTE> g_scratchBytes;
RowMark<kRowScratchBytes> g_mark8;

CFavouritesWatcher g_favouritesWatcher;
RowMark<kRowFavouritesWatcher> g_mark9;

CApplication g_application;
RowMark<kRowApplication> g_mark11;

CBrushCache& g_brushCache = BrushCache();
CFontCache& g_fontCache = FontCache();
RowMark<kRowGdiCaches> g_mark12;

COnDiskBitmap g_onDiskBitmaps[3];
RowMark<kRowOnDiskBitmaps> g_mark13;

CFavouritesImageList g_imageLists[4];
RowMark<kRowImageLists> g_mark14;

CGdiFont g_menuFont;
CGdiFont g_boldMenuFont;
RowMark<kRowMenuFonts> g_mark15;

CConfigSettings g_configSettings;
CUserSettings g_userSettings;
RowMark<kRowSettings> g_mark16;

CAllocator& g_stringAllocator = StringAllocator();
CAllocator& g_noteAllocator = NoteAllocator();
RowMark<kRowAllocators> g_mark17;

CPrintSetup g_printSetup;
RowMark<kRowPrintSetup> g_mark18;

CRecordList<CDestination>& g_sentTo = SentToList();
CRecordList<CDestination>& g_transact = TransactList();
CRecordList<FavouriteItem> g_favourites("Favourites");
RowMark<kRowNamedLists> g_mark19;

WebSearchTables g_webSearchTables;
RowMark<kRowWebSearchTables> g_mark20;

CCryptProvider g_cryptProvider;
RowMark<kRowCryptProvider> g_mark21;

CRecordList<CHashRecord> g_hashes("Hashes");
RowMark<kRowHashes> g_mark22;

CPtrList g_deletedNotes("DeletedNotesList");
RowMark<kRowDeletedNotes> g_mark23;

struct NoteManagerStandardOptions : CNoteManagerOptions {
    NoteManagerStandardOptions() { SetNoteManagerDefaults(*this); }
} g_noteManagerOptions;
RowMark<kRowNoteManagerOptions> g_mark24;

CRecordList<CNoteGroup> g_groups("groups");
CRecordList<CGroupNotePair> g_groupsAndNotes("groupsAndNotes");
CRecordList<CNoteManagerOptions> g_noteManagerOptionsList;
CRecordList<CAppAssociation> g_appAssociations("AssociatedWithApps");
RowMark<kRowGroupLists> g_mark25;

CCalendarStyle g_standardCalendarOptions;
CCalendarStyle g_standardCalendarStyles[9];
RowMark<kRowCalendarStyles> g_mark26;

CAvatarInfo g_avatars[2] = {CAvatarInfo(40), CAvatarInfo(35)};
RowMark<kRowAvatars> g_mark27;

CRecordList<CCalendarStyle> g_calendarSettings("CalendarSettingsList");
CRecordList<CCalendarStyleSet> g_calendarStyleSets;
RowMark<kRowCalendarLists> g_mark28;

CProcessHeap g_workHeapBlock(kWorkHeapBlockBytes);
RowMark<kRowWorkHeapBlock> g_mark29;
}

CTrayDragTracker& TrayDragTracker() { return Live(g_trayDragTracker, kRowTrayDragTracker); }
CFavouritesWatcher& FavouritesWatcher() { return Live(g_favouritesWatcher, kRowFavouritesWatcher); }
CConfigSettings& ConfigSettings() { return Live(g_configSettings, kRowSettings); }
CUserSettings& UserSettings() { return Live(g_userSettings, kRowSettings); }
UINT TaskbarCreatedMessage() { return g_taskbarCreated; }
CFindSettings& FindSettings() { return Live(g_findSettings, kRowFindSettings); }
WORD FindHotkeyIndex(DWORD id)
{
    int count = HotkeyKeyTableCount < kHotkeyKeyTableSize ? HotkeyKeyTableCount : kHotkeyKeyTableSize;
    for (int i = 0; i < count; ++i)
        if (HotkeyKeyTable[i].code == id)
            return static_cast<WORD>(i);
    return 0;
}

void SetInstanceMutex(HANDLE mutex) { Live(g_instanceMutex, kRowInstanceMutex).handle = mutex; }
HANDLE GetInstanceMutex() { return Live(g_instanceMutex, kRowInstanceMutex).handle; }
WORD ScreenWidth() { return g_screenWidth; }
WORD ScreenHeight() { return g_screenHeight; }
CMemArray<BYTE>& ScratchBytes() { return Live(g_scratchBytes, kRowScratchBytes); }

COnDiskBitmap& OnDiskBitmapByCode(const char* imageCode)
{
    const char* code = imageCode ? imageCode : "";
    int index = lstrcmpA(code, "LG") == 0 ? 0 : lstrcmpA(code, "NG") == 0 ? 1 : 2;
    return Live(g_onDiskBitmaps[index], kRowOnDiskBitmaps);
}

CFavouritesImageList& ImageList(int index)
{
    if (index < 0 || index > 3)
        throw CGenericException("ImageList: no image list of that index");
    return Live(g_imageLists[index], kRowImageLists);
}

CGdiFont& MenuFont() { return Live(g_menuFont, kRowMenuFonts); }
CGdiFont& BoldMenuFont() { return Live(g_boldMenuFont, kRowMenuFonts); }
CPrintSetup& PrintSetup() { return Live(g_printSetup, kRowPrintSetup); }
CRecordList<FavouriteItem>& FavouritesList() { return Live(g_favourites, kRowNamedLists); }
CCurrencyEntry* CurrencyTable() { return Live(g_webSearchTables, kRowWebSearchTables).currencies; }
CLanguagePairEntry* LanguagePairTable() { return Live(g_webSearchTables, kRowWebSearchTables).languagePairs; }
CCryptProvider& CryptProvider() { return Live(g_cryptProvider, kRowCryptProvider); }
CRecordList<CHashRecord>& HashesList() { return Live(g_hashes, kRowHashes); }
long GetNextHashId() { return HashesList().NextFreeId(); }

void AddToHashesList(const CHashRecord& record)
{
    CRecordList<CHashRecord>& hashes = HashesList();
    if (hashes.FindByName(record.name))
        return;
    CHashRecord added = record;
    added.id = GetNextHashId();
    try {
        hashes.AddToTail(added);
    } catch (const CGenericException&) {
        throw;
    } catch (...) {
        throw CGenericException(" AddToTail failed Unknown error ");
    }
}

CPtrList& DeletedNotesList() { return Live(g_deletedNotes, kRowDeletedNotes); }
CNoteManagerOptions& NoteManagerOptions() { return Live<CNoteManagerOptions>(g_noteManagerOptions, kRowNoteManagerOptions); }
CRecordList<CNoteGroup>& GroupsList() { return Live(g_groups, kRowGroupLists); }
CRecordList<CGroupNotePair>& GroupsAndNotesList() { return Live(g_groupsAndNotes, kRowGroupLists); }
CRecordList<CNoteManagerOptions>& NoteManagerOptionsList() { return Live(g_noteManagerOptionsList, kRowGroupLists); }
CRecordList<CAppAssociation>& AppAssociationsList() { return Live(g_appAssociations, kRowGroupLists); }
CCalendarStyle& StandardCalendarOptions() { return Live(g_standardCalendarOptions, kRowCalendarStyles); }
CCalendarStyle (&StandardCalendarStyles())[9] { return Live(g_standardCalendarStyles, kRowCalendarStyles); }
CAvatarInfo& ProgramAvatar(int index)
{
    if (index < 0 || index > 1)
        throw CGenericException("ProgramAvatar: no avatar record of that index");
    return Live(g_avatars[index], kRowAvatars);
}
CRecordList<CCalendarStyle>& CalendarSettingsList() { return Live(g_calendarSettings, kRowCalendarLists); }
CRecordList<CCalendarStyleSet>& CalendarStyleSetList() { return Live(g_calendarStyleSets, kRowCalendarLists); }
CProcessHeap& WorkHeapBlock() { return Live(g_workHeapBlock, kRowWorkHeapBlock); }
const ProgramGlobalsLedger& GetProgramGlobalsLedger() { return g_ledger; }
