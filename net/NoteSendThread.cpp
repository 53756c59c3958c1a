#include "net/NoteSendThread.h"

#include <cstdio>

#include "foundation/CallbackGuard.h"
#include "net/NoteSendRecords.h"
#include "foundation/bytes/AttachmentCipher.h"

namespace {
const DWORD kAnimationFrameMs = 500;
const int kAnimationFrames = 6;

// Posts a heap payload to the note window; the window frees it, or it is
// freed here when the window is gone.
template <class Payload>
void PostPayload(HWND window, UINT message, std::unique_ptr<Payload> payload)
{
    if (PostMessageA(window, message, 0, reinterpret_cast<LPARAM>(payload.get())))
        payload.release();
}

bool ReadAttachedFile(const std::string& path, std::string& bytes, std::string& reason)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        reason = "the attached file " + path + " cannot be read";
        return false;
    }
    LARGE_INTEGER size{};
    bool ok = GetFileSizeEx(file, &size) != 0;
    if (ok && size.QuadPart > static_cast<LONGLONG>(kMaxAttachedFileBytes)) {
        reason = "the attached file " + path + " is larger than 24 MB";
        ok = false;
    } else if (ok) {
        bytes.resize(static_cast<size_t>(size.QuadPart));
        DWORD done = 0;
        ok = bytes.empty() || (ReadFile(file, &bytes[0], static_cast<DWORD>(bytes.size()), &done, nullptr) &&
                               done == bytes.size());
        if (!ok)
            reason = "the attached file " + path + " cannot be read";
    }
    CloseHandle(file);
    return ok;
}

std::string FileNameOf(const std::string& path)
{
    const size_t slash = path.find_last_of("\\/:");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The wire text of the job; false with the reason when its attachment cannot go.
bool BuildWireText(CSendJob& job, std::string& wireText, std::string& reason)
{
    std::string attachment;
    if (!job.attachedFile.empty()) {
        if (!ReadAttachedFile(job.attachedFile, attachment, reason))
            return false;
        unsigned char key[8];
        if (AttachmentKeyOf(job.attachmentKey, key))
            attachment = EncipherAttachment(attachment, key);
        job.wire.attachedFileName = FileNameOf(job.attachedFile);
    }
    job.wire.transactionId = job.transactionId;
    job.wire.coRecipients.clear();
    for (const CDestination& recipient : job.recipients)
        if (recipient.m_computerName[0] && job.wire.coRecipients.size() < WireLimit::kCoRecipients)
            job.wire.coRecipients.push_back(recipient.m_computerName);
    wireText = WriteWireText(job.wire, job.richText.data(), job.richText.size(),
                             job.attachedFile.empty() ? nullptr : attachment.data(), attachment.size());
    return true;
}

void SendToEach(CSendJob& job)
{
    std::string wireText, reason;
    const bool ready = BuildWireText(job, wireText, reason);
    for (CDestination& recipient : job.recipients) {
        const std::string name = RecipientName(recipient);
        auto starting = std::make_unique<CSendProgress>();
        starting->recipient = name;
        starting->total = wireText.size();
        PostPayload(job.noteWindow, kNoteMsgSendProgress, std::move(starting));

        auto outcome = std::make_unique<CSendOutcome>();
        if (!ready) {
            recipient.m_status = 0;
            outcome->result = TransmitResult::kSendFailed;
            outcome->reason = reason;
        } else {
            CTransmitOptions options;
            options.stopFlag = &job.control->stop;
            options.progress = [&](size_t sent, size_t total) {
                auto progress = std::make_unique<CSendProgress>();
                progress->recipient = name;
                progress->sent = sent;
                progress->total = total;
                PostPayload(job.noteWindow, kNoteMsgSendProgress, std::move(progress));
            };
            // A recipient with an e-mail address gets the note as a message
            // through the SMTP server, with the attached file as it is.
            options.sendEmail = [&](CDestination& to) {
                CEmailNote mail;
                mail.title = job.wire.title;
                mail.richText = job.richText;
                mail.backColour = job.wire.backColour;
                mail.attachmentPath = job.attachedFile;
                std::string failure;
                const bool sent = SendNoteByEmail(job.email, mail, to, &failure);
                if (!sent)
                    outcome->reason = failure;
                return sent;
            };
            outcome->result = TransmitToRecipient(recipient, wireText, options);
        }
        // A send cut short by the program closing is not a failed delivery:
        // its record stays as it was, to be tried again at the next start.
        if (outcome->result == TransmitResult::kStopped)
            break;
        outcome->record = RecordDelivery(job, recipient);
        PostPayload(job.noteWindow, kNoteMsgSendOutcome, std::move(outcome));
    }
}

DWORD WINAPI SendThread(void* parameter)
{
    std::unique_ptr<CSendJob> job(static_cast<CSendJob*>(parameter));
    GuardQuietly(0, [&] {
        SendToEach(*job);
        return 0;
    });
    SetEvent(job->control->animationStop);
    PostMessageA(job->noteWindow, kNoteMsgSendFinished, job->sendNumber, 0);
    return 0;
}

struct AnimationWork {
    HWND window;
    std::shared_ptr<CSendControl> control;
};

DWORD WINAPI AnimationThread(void* parameter)
{
    std::unique_ptr<AnimationWork> work(static_cast<AnimationWork*>(parameter));
    for (int frame = 1; WaitForSingleObject(work->control->animationStop, kAnimationFrameMs) == WAIT_TIMEOUT;
         frame = (frame + 1) % kAnimationFrames) {
        if (work->control->stop)
            break;
        PostMessageA(work->window, kNoteMsgSendFrame, static_cast<WPARAM>(frame), 0);
    }
    return 0;
}
}

bool StartSendThreads(std::unique_ptr<CSendJob> job, HANDLE& sendThread, HANDLE& animationThread)
{
    sendThread = animationThread = nullptr;
    if (!job->control || !job->control->animationStop)
        return false;
    auto animation = std::make_unique<AnimationWork>(AnimationWork{job->noteWindow, job->control});
    const std::shared_ptr<CSendControl> control = job->control;
    DWORD id = 0;
    sendThread = CreateThread(nullptr, 0, &SendThread, job.get(), CREATE_SUSPENDED, &id);
    if (!sendThread)
        return false;
    job.release();
    RegisterSendThread(sendThread, control);
    animationThread = CreateThread(nullptr, 0, &AnimationThread, animation.get(), 0, &id);
    if (animationThread)
        animation.release();
    ResumeThread(sendThread);
    return true;
}

std::string RecipientName(const CDestination& recipient)
{
    std::string name = recipient.m_computerName[0] ? recipient.m_computerName
                       : recipient.m_alias[0]      ? recipient.m_alias
                       : recipient.m_email[0]      ? recipient.m_email
                                                   : recipient.m_ipAddress;
    if (recipient.m_ipAddress[0] && name != recipient.m_ipAddress && !recipient.m_email[0])
        name += std::string(" (") + recipient.m_ipAddress + ")";
    return name;
}
