#pragma once

// The program's one exception type: the thread's last system error at the moment
// of the failure and a text of at most 199 characters that names the operation;
// a failure on a file also keeps the file's path (empty for any other), so that
// a box can name the file whatever the text holds. Thrown and caught by value;
// it owns no memory, so copying it cannot fail.
class CGenericException {
public:
    explicit CGenericException(const char* text);
    CGenericException(const char* text, const char* filePath);

    const char* GetErrorText() const { return m_text; }
    unsigned long GetErrorCode() const { return m_dwErrorCode; }
    const char* GetFilePath() const { return m_filePath; }

    enum { kMaxTextLength = 199, kMaxPathLength = 260 };

private:
    unsigned long m_dwErrorCode;
    char m_text[kMaxTextLength + 1];
    char m_filePath[kMaxPathLength + 1];
};

// Runs an operation body so that a CGenericException from inside passes on
// unchanged and any other failure becomes a CGenericException with the
// operation's own failure text.
template <class Body>
auto RunOperation(const char* failureText, Body&& body) -> decltype(body())
{
    try {
        return body();
    } catch (const CGenericException&) {
        throw;
    } catch (...) {
        throw CGenericException(failureText);
    }
}
