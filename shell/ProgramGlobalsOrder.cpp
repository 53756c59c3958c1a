// The program-wide objects, built before WinMain in one fixed order and
// released in the reverse order after it returns. Objects kept behind an
// accessor of their own (most of them in globals/, some in the folder of
// their kind) are made here, in their place, by a first call of that accessor.
#include "globals/CalendarStyle.h"
#include "globals/ProgramGlobals.h"

#include "foundation/Allocator.h"
#include "foundation/win/GdiCaches.h"
#include "net/AvatarInfo.h"
#include "noteprops/AppAssociations.h"
#include "shell/Application.h"
#include "shell/FavouritesWatcher.h"
#include "shell/TrayDragTracker.h"
#include "store/DestinationLists.h"
#include "store/bytes/TableGroups.h"

namespace {
// Defined right after the objects of its row: built just after them and
// released just before them.
template <int Row>
struct RowMark {
    RowMark() { RecordRowBuilt(Row); }
    ~RowMark() { RecordRowReleased(Row); }
};

CTrayDragTracker g_trayDragTracker;
RowMark<kRowTrayDragTracker> g_mark1;

const UINT g_taskbarCreated = TaskbarCreatedMessage();
RowMark<kRowTaskbarCreated> g_mark2;

CFindSettings& g_findSettings = FindSettings();
RowMark<kRowFindSettings> g_mark3;

const HANDLE g_instanceMutex = GetInstanceMutex();
RowMark<kRowInstanceMutex> g_mark4;

const WORD g_screenWidth = ScreenWidth();
const WORD g_screenHeight = ScreenHeight();
RowMark<kRowScreenSize> g_mark5;

const TableKeySet& g_tableKeys = GetTableKeys(TableGroup::kConfig);
RowMark<kRowTableKeys> g_mark6;

CMemArray<BYTE>& g_scratchBytes = ScratchBytes();
RowMark<kRowScratchBytes> g_mark8;

CFavouritesWatcher g_favouritesWatcher;
RowMark<kRowFavouritesWatcher> g_mark9;

CApplication g_application;
RowMark<kRowApplication> g_mark11;

CBrushCache& g_brushCache = BrushCache();
CFontCache& g_fontCache = FontCache();
RowMark<kRowGdiCaches> g_mark12;

COnDiskBitmap& g_onDiskBitmaps = OnDiskBitmapByCode("LG");
RowMark<kRowOnDiskBitmaps> g_mark13;

CFavouritesImageList& g_imageLists = ImageList(0);
RowMark<kRowImageLists> g_mark14;

CGdiFont& g_menuFont = MenuFont();
CGdiFont& g_boldMenuFont = BoldMenuFont();
RowMark<kRowMenuFonts> g_mark15;

CConfigSettings& g_configSettings = ConfigSettings();
CUserSettings& g_userSettings = UserSettings();
RowMark<kRowSettings> g_mark16;

CAllocator& g_stringAllocator = StringAllocator();
CAllocator& g_noteAllocator = NoteAllocator();
RowMark<kRowAllocators> g_mark17;

CPrintSetup& g_printSetup = PrintSetup();
RowMark<kRowPrintSetup> g_mark18;

CRecordList<CDestination>& g_sentTo = SentToList();
CRecordList<CDestination>& g_transact = TransactList();
CRecordList<FavouriteItem>& g_favourites = FavouritesList();
RowMark<kRowNamedLists> g_mark19;

CCurrencyEntry* g_webSearchTables = CurrencyTable();
RowMark<kRowWebSearchTables> g_mark20;

CCryptProvider& g_cryptProvider = CryptProvider();
RowMark<kRowCryptProvider> g_mark21;

CRecordList<CHashRecord>& g_hashes = HashesList();
RowMark<kRowHashes> g_mark22;

CPtrList& g_deletedNotes = DeletedNotesList();
RowMark<kRowDeletedNotes> g_mark23;

CNoteManagerOptions& g_noteManagerOptions = NoteManagerOptions();
RowMark<kRowNoteManagerOptions> g_mark24;

CRecordList<CNoteGroup>& g_groups = GroupsList();
CRecordList<CGroupNotePair>& g_groupsAndNotes = GroupsAndNotesList();
CRecordList<CNoteManagerOptions>& g_noteManagerOptionsList = NoteManagerOptionsList();
CRecordList<CAppAssociation>& g_appAssociations = AppAssociationsList();
RowMark<kRowGroupLists> g_mark25;

CCalendarStyle& g_standardCalendarOptions = StandardCalendarOptions();
CCalendarStyle (&g_standardCalendarStyles)[9] = StandardCalendarStyles();
RowMark<kRowCalendarStyles> g_mark26;

CAvatarInfo& g_avatars = ProgramAvatar(0);
RowMark<kRowAvatars> g_mark27;

CRecordList<CCalendarStyle>& g_calendarSettings = CalendarSettingsList();
CRecordList<CCalendarStyleSet>& g_calendarStyleSets = CalendarStyleSetList();
RowMark<kRowCalendarLists> g_mark28;

CProcessHeap& g_workHeapBlock = WorkHeapBlock();
RowMark<kRowWorkHeapBlock> g_mark29;
}

CTrayDragTracker& TrayDragTracker() { return LiveGlobal(g_trayDragTracker, kRowTrayDragTracker); }
CFavouritesWatcher& FavouritesWatcher() { return LiveGlobal(g_favouritesWatcher, kRowFavouritesWatcher); }
