#pragma once

#include <string>

class CGenericException;

// The one place that knows the names of the data folder's files and folders, and
// builds their absolute paths, so that nothing depends on the current folder.
// The data folder is chosen once at start-up ("QlData", or a user's folder in
// it) before any other thread runs; it is read everywhere after.

namespace DataName {
// Tables and their memo files.
inline constexpr char kSettingsTable[] = "config.QPD";
inline constexpr char kSettingsMemo[] = "config.QPS";
inline constexpr char kUsersTable[] = "users.QPD";
inline constexpr char kNotesTable[] = "notes.QPD";
inline constexpr char kNotesMemo[] = "notes.qps";
inline constexpr char kNotesWorkingTable[] = "notesTemp.QPD";
inline constexpr char kNotesWorkingMemo[] = "notesTemp.QPS";
// A rebuilt notes table and memo file, whole, waiting to replace the pair.
inline constexpr char kNotesRebuiltTable[] = "notesNew.QPD";
inline constexpr char kNotesRebuiltMemo[] = "notesNew.QPS";
inline constexpr char kSentToTable[] = "sentto.QPD";
inline constexpr char kTransactionsTable[] = "transact.QPD";
inline constexpr char kSoundsTable[] = "sounds.QPD";
// Small settings files.
inline constexpr char kChatOptions[] = "chat.QPD";
inline constexpr char kChatNoteSettings[] = "chatnote.QPD";
inline constexpr char kNoteManagerSettings[] = "noteman.QPD";
inline constexpr char kApplicationAssociations[] = "apps.QPD";
inline constexpr char kCalendarSettings[] = "calendar.QPD";
// The new calendar settings file, whole, before it replaces the old one.
inline constexpr char kCalendarWorkingCopy[] = "calTemp.qpd";
inline constexpr char kWebSearchSites[] = "webSearch.QPD";
// The texts of the user's nine note styles ("style1.rtf" to "style9.rtf") and
// of the nine standard styles, which the program only reads: printf patterns of
// the style number 1 to 9.
inline constexpr char kUserStyleTextPattern[] = "style%d.rtf";
inline constexpr char kStandardStyleTextPattern[] = "style%d.qpd";
// The file attached to the last received note.
inline constexpr char kReceivedAttachment[] = "ATTACHED\\received.tmp";
// Diagnostic reports.
inline constexpr char kErrorLog[] = "error.txt";
inline constexpr char kMessagesLog[] = "messages.txt";
// The help file beside the program.
inline constexpr char kHelpFile[] = "qnpost.chm";
// Dumps of the XML reader's passes that older versions left behind.
inline constexpr char kXmlTokenDump[] = "token.txt";
inline constexpr char kXmlTreeDump[] = "tree.txt";
// Beside the program: the installer's affiliate id.
inline constexpr char kAffiliationId[] = "Affiliation.ID";
// In "UPGRADE" or "QlData": network and delayed sending stay off for new users.
inline constexpr char kNoNetworkMarker[] = "NoNetwork.txt";
// In the working folder: a failed send request of a second start, with its reason.
inline constexpr char kCommandLineSendErrors[] = "cmdLineSend.err";
// In the working folder: a restore a second start asked for that could not be made.
inline constexpr char kCommandLineRestoreErrors[] = "cmdLineRestore.Err";
// Written before data files are replaced together (a restore, an undo of a
// restore) and removed once the set is whole: what the next start reads to
// put an interrupted replacement right.
inline constexpr char kReplacementRecord[] = "replacing.lst";
// What a restore that replaces the notes writes into the backup folder before
// it replaces them: the empty notes pair and the emptied delivery records.
inline constexpr char kEmptyNotesTableCopy[] = "BACKUP\\notes.qpd";
inline constexpr char kEmptyNotesMemoCopy[] = "BACKUP\\notes.qps";
inline constexpr char kEmptiedTransactionsCopy[] = "BACKUP\\transact.qpd";
// Folders.
inline constexpr char kDataFolder[] = "QlData";
inline constexpr char kUpgradeFolder[] = "UPGRADE";
inline constexpr char kBackupFolder[] = "BACKUP";
inline constexpr char kUnrestoreFolder[] = "UNRESTORE";
inline constexpr char kAttachedFolder[] = "ATTACHED";
inline constexpr char kChatFolder[] = "CHAT";
inline constexpr char kTexturesFolder[] = "TEXTURES";
}  // namespace DataName

// Sets the data folder: an absolute path, with or without a final "\".
void SetDataFolder(const char* folder);
// The data folder without a final "\"; empty until start-up has chosen it.
const std::string& GetDataFolder();

// The data folder, "\" and the name (a file or "FOLDER\file"). While no data
// folder is chosen the name stands alone, relative to the current folder.
std::string DataFilePath(const char* name);
// The same for the program folder (the folder of qnpost.exe).
std::string ProgramFilePath(const char* name);
// A file of the upgrade folder beside the program ("UPGRADE\name").
std::string UpgradeFilePath(const std::string& name);

// After a replacement of data files ended with neither the old set nor the new
// one whole, nothing may write a data file until the next start puts the set
// right: a note saved now would go into a table that does not match its memo
// file. Once sealed, the data folder stays sealed for the rest of the run.
void SealDataFiles();
bool AreDataFilesSealed();
// The one check of every write: while the data files are sealed, a file of the
// data folder is not opened for writing nor written. The refusal is logged in
// error.txt and thrown as a CGenericException that IsSealedRefusal knows: it
// is never shown in a box (the user was told why nothing is written).
void RefuseWritingWhenSealed(const char* path);
bool IsSealedRefusal(const CGenericException& failure);
// The path lies in the data folder (compared without regard to case).
bool IsInDataFolder(const std::string& path);
