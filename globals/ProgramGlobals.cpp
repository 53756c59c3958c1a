// The program-wide objects of this folder, each made by the first call of its
// accessor. shell/ProgramGlobalsOrder.cpp makes those calls before WinMain in
// the order of the rows, so that the objects are built in that order and
// released in the reverse order after WinMain returns.
#include "globals/ProgramGlobals.h"

#include <cstdio>

#include "foundation/FormatSettings.h"
#include "foundation/bytes/GenericException.h"

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

bool IsRow(int row)
{
    return row > 0 && row < kProgramGlobalRowCount;
}

struct InstanceMutexHolder {
    ~InstanceMutexHolder()
    {
        if (handle)
            CloseHandle(handle);
    }
    HANDLE handle = nullptr;
};

InstanceMutexHolder& InstanceMutex()
{
    static InstanceMutexHolder holder;
    return LiveGlobal(holder, kRowInstanceMutex);
}

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

WebSearchTables& WebSearch()
{
    static WebSearchTables tables;
    return LiveGlobal(tables, kRowWebSearchTables);
}

struct NoteManagerStandardOptions : CNoteManagerOptions {
    NoteManagerStandardOptions() { SetNoteManagerDefaults(*this); }
};

enum { kWorkHeapBlockBytes = 51200 };
}

void RecordRowBuilt(int row)
{
    Record(row);
}

void RecordRowReleased(int row)
{
    if (IsRow(row))
        g_released[row] = true;
    Record(-row);
}

void RefuseReleasedRow(int row)
{
    if (IsRow(row) && g_released[row]) {
        char text[96];
        std::snprintf(text, sizeof text, "A program-wide object (row %d) was used after its release", row);
        throw CGenericException(text);
    }
}

CConfigSettings& ConfigSettings()
{
    static CConfigSettings settings;
    return LiveGlobal(settings, kRowSettings);
}

CUserSettings& UserSettings()
{
    static CUserSettings settings;
    return LiveGlobal(settings, kRowSettings);
}

UINT TaskbarCreatedMessage()
{
    static const UINT message = RegisterWindowMessageA("TaskbarCreated");
    return message;
}

CFindSettings& FindSettings()
{
    static CFindSettings settings;
    return LiveGlobal(settings, kRowFindSettings);
}

WORD FindHotkeyIndex(DWORD id)
{
    int count = HotkeyKeyTableCount < kHotkeyKeyTableSize ? HotkeyKeyTableCount : kHotkeyKeyTableSize;
    for (int i = 0; i < count; ++i)
        if (HotkeyKeyTable[i].code == id)
            return static_cast<WORD>(i);
    return 0;
}

void SetInstanceMutex(HANDLE mutex) { InstanceMutex().handle = mutex; }
HANDLE GetInstanceMutex() { return InstanceMutex().handle; }

WORD ScreenWidth()
{
    static const WORD width = static_cast<WORD>(GetSystemMetrics(SM_CXSCREEN));
    return width;
}

WORD ScreenHeight()
{
    static const WORD height = static_cast<WORD>(GetSystemMetrics(SM_CYSCREEN));
    return height;
}

CMemArray<BYTE>& ScratchBytes()
{
    static CMemArray<BYTE> bytes;
    return LiveGlobal(bytes, kRowScratchBytes);
}

COnDiskBitmap& OnDiskBitmapByCode(const char* imageCode)
{
    static COnDiskBitmap bitmaps[3];
    const char* code = imageCode ? imageCode : "";
    int index = lstrcmpA(code, "LG") == 0 ? 0 : lstrcmpA(code, "NG") == 0 ? 1 : 2;
    return LiveGlobal(bitmaps[index], kRowOnDiskBitmaps);
}

CFavouritesImageList& ImageList(int index)
{
    static CFavouritesImageList lists[4];
    if (index < 0 || index > 3)
        throw CGenericException("ImageList: no image list of that index");
    return LiveGlobal(lists[index], kRowImageLists);
}

CGdiFont& MenuFont()
{
    static CGdiFont font;
    return LiveGlobal(font, kRowMenuFonts);
}

CGdiFont& BoldMenuFont()
{
    static CGdiFont font;
    return LiveGlobal(font, kRowMenuFonts);
}

CPrintSetup& PrintSetup()
{
    static CPrintSetup setup;
    return LiveGlobal(setup, kRowPrintSetup);
}

CRecordList<FavouriteItem>& FavouritesList()
{
    static CRecordList<FavouriteItem> list("Favourites");
    return LiveGlobal(list, kRowNamedLists);
}

CCurrencyEntry* CurrencyTable() { return WebSearch().currencies; }
CLanguagePairEntry* LanguagePairTable() { return WebSearch().languagePairs; }

CCryptProvider& CryptProvider()
{
    static CCryptProvider provider;
    return LiveGlobal(provider, kRowCryptProvider);
}

CRecordList<CHashRecord>& HashesList()
{
    static CRecordList<CHashRecord> list("Hashes");
    return LiveGlobal(list, kRowHashes);
}

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

CPtrList& DeletedNotesList()
{
    static CPtrList list("DeletedNotesList");
    return LiveGlobal(list, kRowDeletedNotes);
}

CNoteManagerOptions& NoteManagerOptions()
{
    static NoteManagerStandardOptions options;
    return LiveGlobal<CNoteManagerOptions>(options, kRowNoteManagerOptions);
}

CRecordList<CNoteGroup>& GroupsList()
{
    static CRecordList<CNoteGroup> list("groups");
    return LiveGlobal(list, kRowGroupLists);
}

CRecordList<CGroupNotePair>& GroupsAndNotesList()
{
    static CRecordList<CGroupNotePair> list("groupsAndNotes");
    return LiveGlobal(list, kRowGroupLists);
}

CRecordList<CNoteManagerOptions>& NoteManagerOptionsList()
{
    static CRecordList<CNoteManagerOptions> list;
    return LiveGlobal(list, kRowGroupLists);
}

CProcessHeap& WorkHeapBlock()
{
    static CProcessHeap block(kWorkHeapBlockBytes);
    return LiveGlobal(block, kRowWorkHeapBlock);
}

const ProgramGlobalsLedger& GetProgramGlobalsLedger() { return g_ledger; }
