// Notes made from a backup's records: placed with the cascade offset, in the
// user's fonts where the backup says nothing, tied to their groups and
// programs under the ids the notes table gives them.
#include <winsock2.h>

#include "shell/RestoredNotes.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "foundation/Clock.h"
#include "foundation/DiagnosticLog.h"
#include "foundation/ResourceData.h"
#include "foundation/bytes/BoundedCopy.h"
#include "foundation/bytes/MessageBoxes.h"
#include "store/DestinationListOps.h"
#include "store/SentToTable.h"
#include "note/NoteController.h"
#include "note/NoteCreation.h"
#include "notemanager/NoteManagerFile.h"
#include "noteprops/AppAssociationsFile.h"
#include "note/NoteSheetRecords.h"
#include "note/ProtectedNotes.h"
#include "shell/NoteLists.h"
#include "resources/ids/RestoreIds.h"
#include "shell/BackupNoteRecords.h"
#include "globals/MainWindowMessages.h"
#include "shell/NoteManagerFiles.h"
#include "globals/ProgramGlobals.h"
#include "shell/WindowController.h"
#include "store/NoteSaving.h"
#include "xmlfiles/MissingBackupFields.h"
#include "xmlfiles/bytes/BackupReading.h"
#include "xmlfiles/bytes/XmlBufferDocument.h"

namespace {
CDateTime DateOf(const BackupStamp& stamp, int second = 0)
{
    return CDateTime(static_cast<BYTE>(stamp.day), static_cast<BYTE>(stamp.month), static_cast<WORD>(stamp.year),
                     static_cast<WORD>(stamp.hour), static_cast<WORD>(stamp.minute), static_cast<WORD>(second));
}

// What a note of the backup starts from: the user's fonts, and the place of
// the note read before it.
CRestoredNote DefaultRecord(const CRestoredNote* previous, int pixelsPerInch)
{
    CRestoredNote record;
    const CUserSettings& user = UserSettings();
    record.bodyFont = BackupFontOf(user.note.bodyFont, pixelsPerInch);
    record.titleFont = BackupFontOf(user.note.titleFont, pixelsPerInch);
    if (previous) {
        record.left = previous->left;
        record.top = previous->top;
    }
    return record;
}

CNoteController* CreateRestoredNote(const CRestoredNote& record, POINT offset, int pixelsPerInch)
{
    const CUserSettings& user = UserSettings();
    const LOGFONTA bodyFont = LogFontOf(record.bodyFont, user.note.bodyFont, pixelsPerInch);
    const LOGFONTA titleFont = LogFontOf(record.titleFont, user.note.titleFont, pixelsPerInch);
    NoteDescription d;
    d.packed.digitsKnown = true;
    d.packed.digitC = record.backgroundKind >= 0 && record.backgroundKind <= 5 ? record.backgroundKind : 0;
    d.packed.combined = record.textureId;
    d.packed.level = record.transparency >= 0 && record.transparency <= 90 ? record.transparency : 0;
    d.transparency = static_cast<BYTE>(d.packed.level);
    d.stayOnTop = record.stayOnTop;
    d.border = record.border;
    d.hidden = record.hidden;
    d.showDate = record.showDate;
    d.x = record.left + offset.x;
    d.y = record.top + offset.y;
    d.width = record.width;
    d.height = record.height;
    d.quiet = true;
    d.bodyColor = record.bodyColour;
    d.textColor = record.textColour;
    d.titleColor = record.titleColour;
    d.titleTextColor = record.titleTextColour;
    d.bodyFont = &bodyFont;
    d.titleFont = &titleFont;
    d.title = record.title.c_str();
    d.noteId = 9999;
    d.userId = user.userId;
    d.created = DateOf(record.created.stamp, record.created.second);
    d.text = record.content.data();
    d.textLength = static_cast<DWORD>(record.content.size());
    d.alarmSet = record.alarm.set;
    d.alarm = DateOf(record.alarm.when);
    d.alarmRecurring = record.alarm.recurring;
    d.alarmValue = static_cast<BYTE>(record.alarm.value);
    d.alarmUnit = static_cast<BYTE>(record.alarm.unit);
    d.alarmStopMinutes = static_cast<BYTE>(record.alarm.stopAfterMinutes);
    CNoteController* note = CreateNote(d);
    if (!note)
        return nullptr;
    note->m_rollUpOnLeave = record.rollUpOnLeave;
    SetNoteLineKinds(*note, record.horizontalLines != 0, static_cast<DWORD>(record.leftMarginLine),
                     record.plainText);
    return note;
}

// The group of that name, made as a new group is when there is none; -1 when
// no id is left for it.
long GroupIdFor(const std::string& name)
{
    long id = GroupsList().FindIdByName(name.c_str());
    if (id >= 0)
        return id;
    id = NextNewGroupId(GroupsList());
    if (id < 0)
        return id;
    CNoteGroup group;
    ResetNoteGroup(group);
    group.id = static_cast<DWORD>(id);
    CopyBounded(group.name, name.c_str());
    CopyBounded(group.editable, "1");
    GroupsList().AddToTail(group);
    return id;
}

// Still one of the notes the program keeps: a note deleted meanwhile is not.
bool InNoteLists(CWindowController& app, CNoteController* note)
{
    return app.OwnNotes().Contains(note) || app.OtherNotes().Contains(note);
}

// The note's group pair and associations into the lists, under its record
// number; true when it follows a program's window.
bool TieInLists(const RestoredNoteTies& entry)
{
    const DWORD noteId = entry.note->m_noteId;
    if (entry.group.size() >= 2) {
        const long groupId = GroupIdFor(entry.group);
        if (groupId >= 0) {
            CGroupNotePair pair{static_cast<DWORD>(GroupsAndNotesList().NextFreeId()), static_cast<DWORD>(groupId),
                                noteId};
            GroupsAndNotesList().AddAssociationToHead(pair);
        }
    }
    for (const BackupAssociation& saved : entry.associations) {
        CAppAssociation association;
        association.id = static_cast<DWORD>(AppAssociationsList().NextFreeId());
        association.noteId = noteId;
        association.iconIndex = AddIconFromText(AppIconImageList(), saved.iconBase64);
        lstrcpynA(association.application, saved.application.c_str(), sizeof association.application);
        AppAssociationsList().AddAssociationToHead(association);
    }
    return !entry.associations.empty();
}

// Groups and associations are kept under the notes' record numbers, which
// the notes have only once they are stored; the ties of notes not stored
// yet wait. A tie in the lists waits too until noteman.QPD and apps.QPD are
// both written: a file held by another program keeps it for the next save.
void TieStoredNotes(CWindowController& app, CRestoreState& state)
{
    bool associated = false;
    bool toWrite = false;
    std::vector<RestoredNoteTies> still;
    for (RestoredNoteTies& entry : state.pendingTies) {
        if (!InNoteLists(app, entry.note))
            continue;
        if (!entry.tied && entry.note->m_noteId != 9999) {
            associated = TieInLists(entry) || associated;
            entry.tied = true;
        }
        toWrite = toWrite || entry.tied;
        still.push_back(std::move(entry));
    }
    state.pendingTies = std::move(still);
    state.unwrittenTieFiles.clear();
    if (toWrite)
        state.unwrittenTieFiles = SaveGroupsAndAssociations();
    if (toWrite && state.unwrittenTieFiles.empty())
        state.pendingTies.erase(std::remove_if(state.pendingTies.begin(), state.pendingTies.end(),
                                               [](const RestoredNoteTies& entry) { return entry.tied; }),
                                state.pendingTies.end());
    if (associated)
        PostMessageA(app.GetWindow(), kMsgRefreshAppTracking, 0, 0);
}

size_t UnstoredCount(const CRestoreState& state)
{
    return static_cast<size_t>(std::count_if(state.pendingTies.begin(), state.pendingTies.end(),
                                             [](const RestoredNoteTies& entry) { return !entry.tied; }));
}

// The restored notes are stored at once, so that they have record numbers
// for their ties. A note the user deleted while a password prompt was open
// is left out. False when storeAll could not store them.
bool StoreAndTie(CWindowController& app, const std::vector<RestoredNoteTies>& restored,
                 const std::function<bool()>& storeAll)
{
    std::vector<CNoteController*> notes;
    CRestoreState& state = app.RestoreState();
    for (const RestoredNoteTies& entry : restored) {
        if (!InNoteLists(app, entry.note))
            continue;
        entry.note->SyncFromWindow();
        notes.push_back(entry.note);
        state.pendingTies.push_back(entry);
    }
    if (storeAll) {
        if (!storeAll())
            return false;
    } else if (notes.empty()) {
        return true;
    } else {
        SaveNotes(notes, false);
    }
    TieStoredNotes(app, state);
    return true;
}

// Shown with a green frame until it is edited or the program ends.
void MarkRestored(CNoteController& note)
{
    note.m_restoredMark = true;
    if (note.m_window)
        SetWindowPos(note.m_window, nullptr, 0, 0, 0, 0,
                     SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

bool ShowsMask(const CNoteController& note)
{
    // Only a text as long as the mask is read.
    const int length = static_cast<int>(std::strlen(kProtectedPlaceholder));
    if (!note.m_bodyEdit || GetWindowTextLengthA(note.m_bodyEdit) != length)
        return false;
    std::string text(static_cast<size_t>(length) + 1, '\0');
    text.resize(static_cast<size_t>(GetWindowTextA(note.m_bodyEdit, &text[0], length + 1)));
    return text == kProtectedPlaceholder;
}

// A protected note came back shown: every shown note still masked is
// offered its password, except those whose prompt the user already
// declined in this restore.
void OfferMaskedNotes(CWindowController& app, std::vector<CNoteController*>& declined)
{
    std::vector<CNoteController*> masked;
    ForEachNote(app.OwnNotes(), [&](CNoteController* note) {
        if (!note->m_hidden && note->m_protected && note->m_masked && ShowsMask(*note) &&
            std::find(declined.begin(), declined.end(), note) == declined.end())
            masked.push_back(note);
        return true;
    });
    for (CNoteController* note : masked) {
        // The prompt runs a message loop: a note may have gone meanwhile.
        if (!app.OwnNotes().Contains(note))
            continue;
        if (app.OpenLockedNote(*note) != kProtectedNoteOpened)
            declined.push_back(note);
    }
}

// What the restore could not finish: notes not stored yet, and the files
// that their groups and programs wait for; empty when nothing waits.
std::string WaitingText(size_t unstored, const std::vector<std::string>& unwrittenFiles)
{
    std::string text;
    if (unstored)
        text = "But " + std::to_string(unstored) +
               " of them could not be saved yet (another program may be using the notes files). "
               "They are saved with the next save, and then get their groups and programs.";
    if (!unwrittenFiles.empty())
        text += (text.empty() ? "" : "\r\n\r\n") +
                std::string("The groups and programs of the restored notes could not be written yet to these files, "
                            "which another program is using:") +
                ListedFileNames(unwrittenFiles) + "\r\nPlease close that program; they are written with the next save.";
    return text;
}

void ShowRestoredCount(HWND owner, int created, bool allHidden, const std::string& waiting)
{
    const std::string done = ResourceText(IDS_RESTORE_DONE);
    const bool one = created == 1;
    const char* ending = !allHidden || created == 0 ? "." : one ? " and is hidden." : " and all restored are hidden.";
    char text[400];
    const char* format = one ? "%s           %s note was restored%s" : "%s           %s notes were restored%s";
    std::snprintf(text, sizeof text, format, done.c_str(), std::to_string(created).c_str(), ending);
    if (waiting.empty()) {
        ShowInfoMessage(owner, text, ProgramTitle);
        return;
    }
    // Not a success: the notes or their ties are not stored yet.
    ShowWarningMessage(owner, (text + std::string("\r\n\r\n") + waiting).c_str(), ProgramTitle);
}
}

bool RestoreComputersFromXml(CXMLBufferDocument& document)
{
    std::vector<BackupComputer> computers;
    std::string problem;
    const int read = ReadBackupComputers(document, computers, problem);
    CDateTime when;
    when = GetLocalNow();
    for (const BackupComputer& computer : computers)
        UpdateSentToList(computer.computerName.c_str(), computer.ipAddress.c_str(), computer.alias.c_str(),
                         computer.email.c_str(), 0, &when, 0);
    if (!computers.empty())
        SaveSentToList();
    if (read < 0)
        ShowErrorMessage(nullptr, problem.c_str(), ProgramTitle);
    else if (read == 0)
        ShowWarningMessage(nullptr, problem.c_str(), ProgramTitle);
    return read == 1;
}

void TiePendingRestoredNotes(CWindowController& app)
{
    TieStoredNotes(app, app.RestoreState());
}

int RestoreNotesFromXml(CWindowController& app, CXMLBufferDocument& document, int noteCount, bool silent,
                        const std::function<bool()>& storeAll)
{
    CRestoreState& state = app.RestoreState();
    if (state.method == 2)
        state.cascadeOffset = POINT{0, 0};
    else
        state.cascadeOffset = POINT{state.cascadeOffset.x + 10, state.cascadeOffset.y + 10};
    const int pixelsPerInch = PixelsPerInchOf(app.GetWindow());
    bool allHidden = true;
    std::vector<RestoredNoteTies> restored;
    std::vector<CNoteController*> declined;
    CRestoredNote previous;
    // A damaged backup may lack dozens of fields in each of hundreds of
    // notes: they are logged, and told in one box once the notes are made.
    CMissingBackupFields missingFields(document.GetFileName());
    for (int k = 1; k <= noteCount; ++k) {
        CRestoredNote record = DefaultRecord(k > 1 ? &previous : nullptr, pixelsPerInch);
        std::vector<BackupMissingField> missing;
        ReadBackupNote(document, k, record, missing);
        missingFields.Add(k, missing);
        previous = record;
        CNoteController* note = CreateRestoredNote(record, state.cascadeOffset, pixelsPerInch);
        // The limit of notes is reached: the user was told, and no further note can come.
        if (!note)
            break;
        app.AdoptNote(note);
        note->SetModified();
        if (state.method == 1)
            MarkRestored(*note);
        allHidden = allHidden && record.hidden;
        restored.push_back(RestoredNoteTies{note, record.group, record.associations});
        // Nobody answers a prompt during a silent request: the note stays masked.
        if (note->m_protected && !note->m_hidden && !state.quiet)
            OfferMaskedNotes(app, declined);
    }
    // A failed storeAll has put the notes of before back: the notes made here are gone.
    if (!StoreAndTie(app, restored, storeAll))
        return -1;
    RememberNotesAfterRestore(app);
    const std::string waiting = WaitingText(UnstoredCount(state), state.unwrittenTieFiles);
    if (!waiting.empty())
        WriteErrorLog("RestoreNotesFromXml():", waiting.c_str());
    app.UpdateTrayTooltip();
    RestoreComputersFromXml(document);
    if (!silent) {
        missingFields.Show(app.GetWindow());
        ShowRestoredCount(app.GetWindow(), static_cast<int>(restored.size()), allHidden, waiting);
    }
    return static_cast<int>(restored.size());
}
