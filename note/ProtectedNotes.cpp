#include "note/ProtectedNotes.h"

#include <winsock2.h>

#include <richedit.h>

#include <cstdio>
#include <string>

#include "foundation/bytes/MessageBoxes.h"
#include "foundation/bytes/ModalLoops.h"
#include "foundation/win/MciSound.h"
#include "store/DestinationListOps.h"
#include "store/FileStepRetries.h"
#include "note/NoteAttachmentLine.h"
#include "note/NoteController.h"
#include "note/NoteKeeper.h"
#include "note/NoteRichEdit.h"
#include "store/NoteRtfPacking.h"
#include "store/bytes/DeletedRecordList.h"
#include "note/NotePasswordDialog.h"
#include "noteprops/ProtectedContent.h"
#include "noteprops/bytes/ProtectedBody.h"
#include "resources/ids/NotePasswordIds.h"
#include "globals/ProgramGlobals.h"

const char kProtectedPlaceholder[] = " ...PROTECTED  NOTE... ";

namespace {
const int kOnceEachRun = 1;
const int kEveryTime = 2;

// The body edit takes the bytes without the note counting as changed; the
// placeholder cannot be typed over.
bool ShowInBody(CNoteController& note, const std::string& bytes, bool masked)
{
    note.SetRichText(bytes.data(), bytes.size());
    HWND edit = note.m_bodyEdit;
    if (!edit)
        return true;
    const LRESULT events = SendMessageA(edit, EM_GETEVENTMASK, 0, 0);
    SendMessageA(edit, EM_SETEVENTMASK, 0, 0);
    const bool shown = CNoteRichEdit::StreamInRtf(edit, bytes.data(), bytes.size());
    SendMessageA(edit, EM_SETMODIFY, FALSE, 0);
    SendMessageA(edit, EM_SETREADONLY, masked ? TRUE : FALSE, 0);
    SendMessageA(edit, EM_SETEVENTMASK, 0, events);
    return shown;
}

// The opened text into the note; a failed load leaves it masked, its body kept.
bool LoadOpenedText(CNoteController& note, const std::string& rtf, const std::string& passwordText,
                    bool keepBody, const char* failureText)
{
    if (!ShowInBody(note, rtf, false)) {
        ShowErrorMessage(note.m_window, failureText, ProgramTitle);
        ShowInBody(note, kProtectedPlaceholder, true);
        return false;
    }
    note.m_masked = false;
    note.m_passwordText = passwordText;
    if (!keepBody)
        note.m_protectedContent.clear();
    if (rtf.size() >= kPackedTextFromBytes)
        PackNoteRtf(note, rtf.data(), rtf.size(), 0);
    return true;
}

// Tries the password texts given in this run, in their order.
bool OpenWithRememberedTexts(CNoteController& note, bool keepBody, const char* failureText)
{
    CRecordList<CHashRecord>& hashes = HashesList();
    for (auto* node = hashes.GetFirst(); node; node = node->next) {
        std::string rtf;
        if (!RPB(rtf, node->record.name, note.m_protectedContent.data(), note.m_protectedContent.size(),
                 note.m_attachedFile))
            continue;
        return LoadOpenedText(note, rtf, node->record.name, keepBody, failureText);
    }
    return false;
}

// The note comes to the front for its prompt, also when another program's
// window has the keyboard.
void BringNoteForward(HWND window)
{
    if (!window)
        return;
    const DWORD own = GetCurrentThreadId();
    HWND foreground = GetForegroundWindow();
    const DWORD other = foreground ? GetWindowThreadProcessId(foreground, nullptr) : 0;
    const bool attached = other && other != own && AttachThreadInput(own, other, TRUE);
    BringWindowToTop(window);
    SetForegroundWindow(window);
    if (attached)
        AttachThreadInput(own, other, FALSE);
}

CNotePasswordDialogParams PromptParams(const CNoteController& note, bool withAlarm)
{
    CNotePasswordDialogParams params;
    params.userId = note.m_userId;
    params.body = note.m_protectedContent;
    if (note.m_window)
        GetWindowRect(note.m_window, &params.noteRect);
    // The attached file opens with the note whichever way it is asked for:
    // a received one stays enciphered until then.
    std::snprintf(params.attachedFile, sizeof params.attachedFile, "%s", note.m_attachedFile);
    if (withAlarm) {
        params.ringing = note.m_ringing ? 1 : 0;
        params.recurring = note.m_alarmRecurring ? 1 : 0;
        params.unit = note.m_alarmUnit;
        params.value = note.m_alarmValue;
    }
    return params;
}

// The prompt's answer; kPromptGone when the note went meanwhile (the
// program closing, or a restore closing every note), known by its window.
const int kPromptGone = -1;
int RunPrompt(CNoteController& note, int templateId, CNotePasswordDialogParams& params)
{
    HWND window = note.m_window;
    BringNoteForward(window);
    const int answer = RunNotePasswordPrompt(window, templateId, params);
    return IsLiveNote(&note, window) ? answer : kPromptGone;
}

// The recurrence chosen in the prompt's menu: the alarm recurs from now, and
// a ringing note whose next time lies ahead stops and goes.
void HideAndRemind(CNoteController& note, const CNotePasswordDialogParams& params)
{
    note.m_alarmUnit = params.unit;
    note.m_alarmValue = params.value;
    note.m_alarmRecurring = true;
    note.m_snooze = LayOutSnoozeChoices(SnoozeMenuKind::kNote, params.unit, params.value).table;
    note.ComputeNextAlarm();
    note.SetModified();
    if (note.m_ringing && note.IsRecurringAlarmAhead()) {
        StopAllSounds();
        note.StopAlarmAndHide();
    }
}

bool LoadFromPrompt(CNoteController& note, const CNotePasswordDialogParams& params, const char* failureText)
{
    if (!LoadOpenedText(note, params.rtf, params.passwordText, false, failureText))
        return false;
    UpdateAttachmentLine(note);
    return true;
}
}

bool BringPasswordPromptForward()
{
    HWND prompt = FindWindowA(nullptr, kNotePasswordPromptTitle);
    DWORD process = 0;
    if (prompt)
        GetWindowThreadProcessId(prompt, &process);
    if (!prompt || process != GetCurrentProcessId())
        return false;
    SetForegroundWindow(prompt);
    SetFocus(GetDlgItem(prompt, IDC_NOTE_PASSWORD_EDIT));
    return true;
}

int OpenProtectedNote(INoteKeeper&, CNoteController& note)
{
    if (BringPasswordPromptForward())
        return kProtectedNoteNotLocked;
    if (!note.m_protected || note.m_protectedContent.empty())
        return kProtectedNoteNotLocked;
    if (!note.m_masked) {
        // A note open on the screen keeps no enciphered copy of itself.
        if (!note.m_hidden)
            note.m_protectedContent.clear();
        return kProtectedNoteNotLocked;
    }
    FindLastAttachedFilePath(note);
    if (UserSettings().passwordMode == kOnceEachRun &&
        OpenWithRememberedTexts(note, false, "Loading rich text 4 has failed")) {
        UpdateAttachmentLine(note);
        return kProtectedNoteOpened;
    }
    CNotePasswordDialogParams params = PromptParams(note, true);
    switch (RunPrompt(note, IDD_NOTE_PASSWORD, params)) {
    case kPromptGone:
        return kProtectedNoteGone;
    case kPromptOpened:
        if (!LoadFromPrompt(note, params, "Loading rich text 2 has failed"))
            return kProtectedNoteNotLocked;
        if (note.m_bodyEdit)
            SetFocus(note.m_bodyEdit);
        return kProtectedNoteOpened;
    case kPromptHideAndRemind:
        HideAndRemind(note, params);
        return kProtectedNoteStaysLocked;
    case kPromptAlarmOffAndHide:
        note.SwitchAlarmOff();
        note.HideNote();
        return kProtectedNoteStaysLocked;
    default:
        note.HideNote();
        return kProtectedNoteStaysLocked;
    }
}

int AskProtectedNotePassword(INoteKeeper&, int relayout, CNoteController& note, int searching)
{
    if (!note.m_protected || note.m_hidden || note.m_protectedContent.empty() || !note.m_masked)
        return kProtectedNoteNotLocked;
    CNotePasswordDialogParams params = PromptParams(note, false);
    const int answer = RunPrompt(note, searching ? IDD_NOTE_PASSWORD_SEARCH : IDD_NOTE_PASSWORD, params);
    if (answer == kPromptGone)
        return kProtectedNoteGone;
    if (answer == kPromptOpened) {
        if (!LoadFromPrompt(note, params, "Loading rich text 1 has failed"))
            return kProtectedNoteNotLocked;
        if (relayout)
            note.RelayoutRichEdits();
        return kProtectedNoteOpened;
    }
    note.HideNote();
    return answer == kPromptStopSearching ? kProtectedNoteStopSearching : kProtectedNoteStaysLocked;
}

void MaskProtectedNotes(INoteKeeper& app, CNoteController* only)
{
    auto mask = [](CNoteController& note) {
        if (note.m_hidden && note.m_protected && !note.m_protectedContent.empty())
            note.LockProtectedNote();
    };
    if (only) {
        mask(*only);
        return;
    }
    CPtrList& notes = app.OwnNotes();
    void* current = notes.GetFirst();
    for (DWORD i = 0, count = notes.GetCount(); current && i < count; ++i, current = notes.GetNext(current))
        mask(*static_cast<CNoteController*>(current));
}

void FindLastAttachedFilePath(CNoteController& note)
{
    if (note.m_attachedFile[0] || note.m_noteId == kUnsavedNoteId)
        return;
    DWORD latest = 0;
    for (const CDestination& record : CopyOfTransactList()) {
        if (record.m_noteId != note.m_noteId || record.m_transactionId < latest || !record.m_attachedFile[0])
            continue;
        latest = record.m_transactionId;
        std::snprintf(note.m_attachedFile, sizeof note.m_attachedFile, "%s", record.m_attachedFile);
    }
}

int CNoteController::OpenProtectedNote()
{
    if (BringPasswordPromptForward())
        return 0;
    if (!m_protected || !m_hidden || m_protectedContent.empty() || !m_masked)
        return 0;
    if (UserSettings().passwordMode == kEveryTime)
        return 1;
    return OpenWithRememberedTexts(*this, true, "Loading rich text 5 has failed") ? 2 : 1;
}

void CNoteController::LockProtectedNote()
{
    if (!m_protected || m_masked)
        return;
    // The body is made of the text as it stands, so that nothing typed is lost.
    SyncFromWindow();
    if (!PrepareContentForSend())
        return;
    ShowInBody(*this, kProtectedPlaceholder, true);
    m_masked = true;
}

void CNoteController::ToggleLock()
{
    if (m_protected && m_masked) {
        if (m_application)
            m_application->OpenLockedNote(*this);
        return;
    }
    if (m_protected) {
        m_protected = false;
        m_protectedContent.clear();
        m_passwordText.clear();
        SetModified();
        return;
    }
    MakeProtected();
}

bool CNoteController::MakeProtected()
{
    if (m_protected)
        return true;
    if (!UserSettings().passwordCode[0]) {
        if (CLocksSavedTogether::ToldNoPassword())
            return false;
        ShowInfoMessage(m_window,
                        "A note can be locked once you have a password:\r\n"
                        "General settings..., Security, \"Set password...\".",
                        ProgramTitle);
        return false;
    }
    m_protected = true;
    SetModified();
    // Saved at once, with the notes' memo file rebuilt: no earlier plain copy
    // of the text stays in it. Until that works the plain text is still on
    // the disk, and the user must know.
    return CLocksSavedTogether::TakeLockedNote() || SaveAfterLocking(m_application, m_window, 1);
}

namespace {
thread_local CLocksSavedTogether* t_locksSavedTogether = nullptr;
}

CLocksSavedTogether::CLocksSavedTogether() : m_outer(t_locksSavedTogether), m_loopDepth(ModalLoopDepth())
{
    t_locksSavedTogether = this;
}

CLocksSavedTogether::~CLocksSavedTogether()
{
    t_locksSavedTogether = m_outer;
}

bool CLocksSavedTogether::TakeLockedNote()
{
    CLocksSavedTogether* command = t_locksSavedTogether;
    if (!command || command->m_loopDepth != ModalLoopDepth())
        return false;
    ++command->m_locked;
    return true;
}

bool CLocksSavedTogether::ToldNoPassword()
{
    CLocksSavedTogether* command = t_locksSavedTogether;
    if (!command || command->m_loopDepth != ModalLoopDepth())
        return false;
    const bool told = command->m_toldNoPassword;
    command->m_toldNoPassword = true;
    return told;
}

bool CLocksSavedTogether::Save(INoteKeeper* keeper, void* owner)
{
    const size_t locked = m_locked;
    m_locked = 0;
    return locked == 0 || SaveAfterLocking(keeper, owner, locked);
}

bool SaveAfterLocking(INoteKeeper* keeper, void* owner, size_t count)
{
    // The held files this save meets are named in its box.
    CHeldFilesMetOnce thisSave(HeldFileWork::kPartOfWorkUnderWay);
    if (!keeper || keeper->SaveAllNotes(true))
        return true;
    const std::string held = thisSave.HeldFilesText();
    std::string text = count == 1 ? "The note is locked, but your notes could not be saved now; "
                                  : "The " + std::to_string(count) +
                                        " notes are locked, but your notes could not be saved now; ";
    text += held.empty() ? "another program may be using the notes files." : held;
    text += count == 1 ? "\r\n\r\nUntil a save succeeds, the plain text of the note stays in notes.QPS. "
                       : "\r\n\r\nUntil a save succeeds, the plain texts of these notes stay in notes.QPS. ";
    text += "Quillnet+ tries again with every save of all notes.";
    ShowWarningMessage(owner, text.c_str(), ProgramTitle);
    return false;
}

std::string CNoteController::ProtectionPasswordText() const
{
    // A note opened with another password (one received, say) keeps that one
    // while its user has none of their own.
    const char* own = UserSettings().passwordCode;
    const std::string text = own[0] ? std::string(own) : m_passwordText;
    return text.size() >= 8 ? text : std::string();
}

bool CNoteController::PrepareContentForSend(std::string* failure)
{
    const std::string passwordText = ProtectionPasswordText();
    std::string body, reason;
    if (passwordText.size() < 8) {
        reason = "there is no password to encipher it with";
    } else if (MakeProtectedBody(m_richText, passwordText, ContentDigestText, body, reason)) {
        m_protectedContent.swap(body);
        m_passwordText = passwordText;
        return true;
    }
    if (failure)
        *failure = reason;
    return false;
}
