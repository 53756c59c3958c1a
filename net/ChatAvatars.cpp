#include "net/ChatAvatars.h"

#include <cstring>
#include <vector>

#include "foundation/DataFolder.h"
#include "foundation/DiagnosticLog.h"
#include "foundation/FileHelpers.h"
#include "foundation/bytes/Base64Codec.h"
#include "foundation/bytes/MessageBoxes.h"
#include "net/ChatNotes.h"
#include "net/ChatStrip.h"
#include "net/ChatTraffic.h"
#include "net/bytes/AttachmentName.h"
#include "net/bytes/ReceivedAvatar.h"
#include "net/bytes/WireText.h"
#include "note/NoteController.h"
#include "note/NoteWindow.h"
#include "noteprops/AvatarPicker.h"
#include "globals/ProgramGlobals.h"
#include "store/ChatOptions.h"
#include "store/DataFolderImages.h"

namespace {
const unsigned kMaxNumberedNames = 99;

bool IsNoPicture(const char* name)
{
    return !name[0] || lstrcmpiA(name, kNoImageName) == 0;
}

bool LoadsAsPicture(const std::string& name)
{
    CBoxesToLog quiet;
    CAvatarInfo probe(0);
    return probe.SetPictureFromFile(name.c_str()) && probe.Picture();
}
}

const char* OwnAvatarName()
{
    return ChatOptions().avatar;
}

HBITMAP OwnAvatarPicture()
{
    CAvatarInfo& own = ProgramAvatar(0);
    const char* name = IsNoPicture(OwnAvatarName()) ? "" : OwnAvatarName();
    if (lstrcmpA(own.Name(), name) != 0 || (name[0] && !own.Picture())) {
        CBoxesToLog quiet;  // a damaged picture leaves the button its name
        own.SetPictureFromFile(name);
    }
    return own.Picture();
}

void PutOwnAvatar(CWireNote& wire)
{
    const char* name = OwnAvatarName();
    wire.avatarName = IsNoPicture(name) ? kNoImageName : name;
    wire.avatarData.clear();
    if (IsNoPicture(name))
        return;
    size_t size = 0;
    const char* encoded = ProgramAvatar(0).EncodeAvatar(name, &size);
    if (encoded && size <= WireLimit::kAvatarData)
        wire.avatarData.assign(encoded, size);
}

std::string KeepReceivedAvatar(const CWireNote& wire)
{
    const std::string name = SafeAvatarName(wire.avatarName);
    if (name.empty() || wire.avatarData.empty())
        return std::string();
    std::vector<unsigned char> picture(CBase64Codec::DecodedLengthBound(wire.avatarData.size()) + 1);
    size_t length = 0;
    if (!CBase64Codec().DecodeString(wire.avatarData.data(), wire.avatarData.size(), picture.data(), picture.size(),
                                     &length) ||
        !LooksLikePicture(picture.data(), length))
        return std::string();
    picture.resize(length);
    const std::string folder = DataFilePath(DataName::kChatFolder);
    CreateDirectoryA(folder.c_str(), nullptr);
    for (unsigned n = 1; n <= kMaxNumberedNames; ++n) {
        const std::string candidate = NumberedFileName(name, n);
        const std::string path = folder + "\\" + candidate;
        if (path.size() >= MAX_PATH)
            break;
        std::vector<unsigned char> existing;
        if (FileExists(path.c_str())) {
            if (ReadAvatarFile(candidate.c_str(), static_cast<DWORD>(picture.size()), existing) && existing == picture)
                return candidate;
            continue;
        }
        if (WriteNewFile(path, picture.data(), static_cast<DWORD>(picture.size())) != ERROR_SUCCESS)
            break;
        // Bytes that only begin like a picture are not kept for the buttons
        // and the picker to stumble on.
        if (LoadsAsPicture(candidate))
            return candidate;
        DeleteFileA(path.c_str());
        break;
    }
    WriteErrorLog("A chat participant's picture could not be kept: ", name.c_str());
    return std::string();
}

void ChooseOwnAvatar(HWND owner)
{
    CAvatarPickerParams params;
    lstrcpynA(params.fileName, IsNoPicture(OwnAvatarName()) ? kNoImageName : OwnAvatarName(),
              sizeof params.fileName);
    const INT_PTR result = RunAvatarPicker(owner, params);
    if (result < 0) {
        MessageBeep(0);
        return;
    }
    if (result == 1 && lstrlenA(params.fileName) >= static_cast<int>(sizeof ChatOptions().avatar)) {
        ShowInfoMessage(owner, "The name of this picture file is too long for a chat picture (99 characters at most). "
                               "Please rename the file and choose it again.",
                        ProgramTitle);
        return;
    }
    const bool changed = result == 1 && lstrcmpA(params.fileName, OwnAvatarName()) != 0;
    if (changed) {
        lstrcpynA(ChatOptions().avatar, params.fileName, sizeof ChatOptions().avatar);
        SaveChatOptions();
    }
    // A picture deleted in the picker may have been anybody's.
    if (!changed && !params.fileDeleted)
        return;
    for (CChatStrip* strip : CChatStrip::All())
        strip->RebuildButtons();
    if (!changed)
        return;
    for (CChatStrip* strip : CChatStrip::All()) {
        CNoteController* note = NoteOfWindow(strip->NoteWindow());
        if (note && note->m_chatState == kChatActive)
            SendChatOperation(*note, ChatOperation::kAvatar, std::string());
    }
}
