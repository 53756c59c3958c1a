#include "net/NoteEmail.h"

#include <cstdio>

#include "foundation/Clock.h"
#include "foundation/DiagnosticLog.h"
#include "net/bytes/MimeMessage.h"
#include "net/bytes/RichTextReduce.h"
#include "globals/Settings.h"

namespace {
// Attached files larger than this are not read into a message.
const DWORD kMaxAttachmentBytes = 64 * 1024 * 1024;

CMailDate MailDateNow(const SYSTEMTIME& now)
{
    CMailDate date;
    date.year = now.wYear;
    date.month = now.wMonth;
    date.day = now.wDay;
    date.hour = now.wHour;
    date.minute = now.wMinute;
    date.second = now.wSecond;
    date.weekday = now.wDayOfWeek;
    TIME_ZONE_INFORMATION zone;
    DWORD kind = GetTimeZoneInformation(&zone);
    LONG bias = zone.Bias;
    if (kind == TIME_ZONE_ID_DAYLIGHT)
        bias += zone.DaylightBias;
    else if (kind == TIME_ZONE_ID_STANDARD)
        bias += zone.StandardBias;
    date.utcOffsetMinutes = kind == TIME_ZONE_ID_INVALID ? 0 : -bias;
    return date;
}

// Unique per message: the time, this process and a counter.
std::string NewUniqueId(const SYSTEMTIME& now)
{
    static volatile LONG counter = 0;
    char id[80];
    std::snprintf(id, sizeof id, "%04u%02u%02u%02u%02u%02u.%lu.%ld.qnpost", now.wYear, now.wMonth, now.wDay,
                  now.wHour, now.wMinute, now.wSecond, GetCurrentProcessId(), InterlockedIncrement(&counter));
    return id;
}

bool ReadWholeFile(const std::string& path, std::string& bytes, std::string& failure)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        failure = "The attached file \"" + path + "\" cannot be opened";
        return false;
    }
    DWORD size = GetFileSize(file, nullptr);
    bool ok = size != INVALID_FILE_SIZE && size <= kMaxAttachmentBytes;
    if (!ok)
        failure = "The attached file \"" + path + "\" is too large to be sent by e-mail";
    bytes.assign(ok ? size : 0, '\0');
    DWORD read = 0;
    if (ok && size > 0 && (!ReadFile(file, &bytes[0], size, &read, nullptr) || read != size)) {
        failure = "The attached file \"" + path + "\" cannot be read";
        ok = false;
    }
    CloseHandle(file);
    return ok;
}

bool BuildMessage(const CEmailSettings& settings, const CEmailNote& note, const std::string& to, std::string& message,
                  std::string& failure)
{
    SYSTEMTIME now = GetLocalNow();
    CMimeMessage mime;
    mime.fromAddress = settings.senderAddress;
    mime.fromName = settings.senderName;
    mime.to.push_back(to);
    mime.subject = note.title;
    mime.date = MailDateNow(now);
    mime.uniqueId = NewUniqueId(now);
    CReducedText text = ReduceRichText(note.richText.data(), note.richText.size());
    mime.text = ReducedToPlainText(text);
    if (settings.html)
        mime.html = ReducedToHtml(text, note.backColour);
    if (!note.attachmentPath.empty()) {
        CMimeAttachment attachment;
        attachment.fileName = note.attachmentPath;
        if (!ReadWholeFile(note.attachmentPath, attachment.bytes, failure))
            return false;
        mime.attachments.push_back(attachment);
    }
    MimeWriteResult written = WriteMimeMessage(mime, message);
    if (written != MimeWriteResult::kWritten) {
        failure = std::string("The note cannot be sent by e-mail: ") + DescribeMimeWriteResult(written);
        return false;
    }
    return true;
}
}

CEmailSettings EmailSettingsFromConfig(const CConfigSettings& config, const char* computerName)
{
    CEmailSettings settings;
    settings.server.host = config.smtpServer;
    settings.server.port = config.smtpPort > 0 ? static_cast<unsigned>(config.smtpPort) : 25;
    settings.server.heloName = computerName ? computerName : "";
    settings.server.authenticate = config.smtpAuthentication != 0;
    settings.server.account = config.smtpAccount;
    settings.server.password = config.smtpPassword;
    settings.senderAddress = config.senderAddress;
    settings.senderName = config.senderName;
    settings.html = config.htmlMail != 0;
    return settings;
}

bool SendNoteByEmail(const CEmailSettings& settings, const CEmailNote& note, CDestination& recipient,
                     std::string* failure)
{
    std::string message;
    std::string why;
    CSmtpOutcome outcome;
    if (BuildMessage(settings, note, recipient.m_email, message, why)) {
        outcome = SendSmtpMessage(settings.server, settings.senderAddress, {recipient.m_email}, message);
        why = outcome.failure;
    }
    if (outcome.delivered)
        return true;
    WriteErrorLog(("Sending a note by e-mail to " + std::string(recipient.m_email) + " failed: ").c_str(),
                  why.c_str());
    std::snprintf(recipient.m_description, sizeof recipient.m_description, "%s", why.c_str());
    if (failure)
        *failure = why;
    return false;
}
