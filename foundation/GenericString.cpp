// Every operation first copies its argument, before it can show a size warning or
// allocate: the argument may lie in another pooled string, and both the box (its
// message loop lets a note repaint and allocate) and our own allocation can
// compact the pool and move that string.
#include "foundation/GenericString.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "foundation/DiagnosticLog.h"
#include "foundation/bytes/GenericException.h"
#include "foundation/bytes/MessageBoxes.h"

namespace {
const int kWarnAbove = 6144;
char g_noText[1] = "";

void SizeWarning(const char* text)
{
    ShowErrorMessage(nullptr, text, ProgramTitle);
}

}

template <class Block>
CBasicString<Block>::CBasicString()
{
    if (!m_block.Obtain(1))
        throw CGenericException("CGenericString(void) constructor failed");
    m_capacity = 1;
    m_block.Data()[0] = 0;
}

template <class Block>
CBasicString<Block>::CBasicString(int size)
{
    if (size < 0)
        throw CGenericException("CGenericString(void) constructor failed");
    if (size + 1 > 6000)
        SizeWarning("CGenericString constructor 1, argument > 6000 bytes");
    RunOperation("CGenericString(void) constructor failed", [&] {
        if (!m_block.Obtain(static_cast<DWORD>(size) + 1))
            throw CGenericException("CGenericString(void) constructor failed");
        m_capacity = size + 1;
        std::memset(m_block.Data(), 0, static_cast<size_t>(m_capacity));
    });
}

template <class Block>
CBasicString<Block>::CBasicString(const char* text)
{
    RunOperation("CGenericString(char*) constructor failed", [&] {
        std::string source(text ? text : "");
        int length = static_cast<int>(source.size());
        if (length + 1 > kWarnAbove)
            SizeWarning("CGenericString constructor 2, argument>6 KBytes");
        if (!m_block.Obtain(static_cast<DWORD>(length) + 1))
            throw CGenericException("CGenericString(char*) constructor failed");
        m_capacity = length + 1;
        std::memcpy(m_block.Data(), source.c_str(), static_cast<size_t>(length) + 1);
    });
}

template <class Block>
CBasicString<Block>::CBasicString(const CBasicString& other)
{
    RunOperation("CGenericString::Copy constructor failed ", [&] {
        std::string source(other.GetString(), static_cast<size_t>(other.GetLength()));
        int capacity = other.m_capacity > 0 ? other.m_capacity : 1;
        if (other.m_capacity > kWarnAbove)
            SizeWarning("CGenericString copy constructor, argument>6kbytes");
        if (!m_block.Obtain(static_cast<DWORD>(capacity)))
            throw CGenericException("CGenericString::Copy constructor failed ");
        m_capacity = capacity;
        std::memset(m_block.Data(), 0, static_cast<size_t>(capacity));
        std::memcpy(m_block.Data(), source.data(), source.size());
    });
}

template <class Block>
char* CBasicString<Block>::GetString() const
{
    char* data = m_block.Data();
    return data ? data : g_noText;
}

template <class Block>
int CBasicString<Block>::GetLength() const
{
    char* data = m_block.Data();
    return data ? static_cast<int>(strnlen(data, static_cast<size_t>(m_capacity))) : 0;
}

// Replaces the block by a larger one and copies the text back into it.
template <class Block>
void CBasicString<Block>::Grow(int capacity, const char* failureText)
{
    std::string saved(GetString(), static_cast<size_t>(GetLength()));
    if (!m_block.Replace(static_cast<DWORD>(capacity))) {
        m_capacity = 0;
        throw CGenericException(failureText);
    }
    m_capacity = capacity;
    char* data = m_block.Data();
    std::memset(data, 0, static_cast<size_t>(capacity));
    std::memcpy(data, saved.data(), saved.size() < static_cast<size_t>(capacity) ? saved.size() : capacity - 1);
}

// A result above about 6 KB is reported with the caller's warning, then made.
template <class Block>
void CBasicString<Block>::Append(const std::string& source, const char* warning)
{
    int length = GetLength();
    int added = static_cast<int>(source.size());
    if (length + added > kWarnAbove)
        SizeWarning(warning);
    if (m_capacity < length + added + 1) {
        int capacity = m_capacity + added + 1;
        if (added <= 10)
            capacity += 3 * added;
        Grow(capacity, "CGenericString operator+= failed");
    }
    std::memcpy(m_block.Data() + length, source.data(), source.size());
    m_block.Data()[length + added] = 0;
}

// Copies the text in, first replacing the block when it is smaller than needed;
// the capacity never shrinks.
template <class Block>
void CBasicString<Block>::Assign(const std::string& source, int needed, const char* warning, const char* failureText)
{
    if (m_capacity < needed) {
        if (warning && needed > kWarnAbove)
            SizeWarning(warning);
        if (!m_block.Replace(static_cast<DWORD>(needed))) {
            m_capacity = 0;
            throw CGenericException(failureText);
        }
        m_capacity = needed;
    }
    char* data = m_block.Data();
    size_t copied = source.size() < static_cast<size_t>(m_capacity) ? source.size() : m_capacity - 1;
    std::memcpy(data, source.data(), copied);
    data[copied] = 0;
}

template <class Block>
CBasicString<Block>& CBasicString<Block>::operator=(const CBasicString& other)
{
    if (this == &other)
        return *this;
    RunOperation("CGenericString::operator=Generic Unknown", [&] {
        Assign(std::string(other.GetString(), static_cast<size_t>(other.GetLength())), other.m_capacity,
               "CGenericString operator=, argument>6kbytes", "CGenericString::operator=Generic Unknown");
    });
    return *this;
}

template <class Block>
CBasicString<Block>& CBasicString<Block>::operator=(const char* text)
{
    RunOperation("CGenericString::operator=const char Unknown", [&] {
        std::string source(text ? text : "");
        Assign(source, static_cast<int>(source.size()) + 1, "CGenericString constructor 2, argument>6kBytes",
               "CGenericString::operator=const char Unknown");
    });
    return *this;
}

template <class Block>
CBasicString<Block>& CBasicString<Block>::operator=(long value)
{
    char digits[24];
    std::snprintf(digits, sizeof digits, "%ld", value);
    RunOperation("CGenericString::operator=const char Unknown", [&] {
        Assign(std::string(digits), static_cast<int>(std::strlen(digits)) + 1, nullptr, "CGenericString::operator=const char Unknown");
    });
    return *this;
}

template <class Block>
CBasicString<Block> CBasicString<Block>::operator+(const char* text) const
{
    int length = GetLength();
    int added = text ? static_cast<int>(std::strlen(text)) : 0;
    std::string joined(GetString(), static_cast<size_t>(length));
    joined.append(text ? text : "", static_cast<size_t>(added));
    CBasicString result(length + added);
    std::memcpy(result.m_block.Data(), joined.data(), joined.size());
    return result;
}

template <class Block>
CBasicString<Block>& CBasicString<Block>::operator+=(const CBasicString& other)
{
    Append(std::string(other.GetString(), static_cast<size_t>(other.GetLength())),
           "CGenericString operator+= , argument>6kBytes");
    return *this;
}

template <class Block>
CBasicString<Block>& CBasicString<Block>::operator+=(const char* text)
{
    Append(std::string(text ? text : ""), "CGenericString operator+= , argument>6KBytes");
    return *this;
}

template <class Block>
CBasicString<Block>& CBasicString<Block>::operator+=(char c)
{
    int length = GetLength();
    if (length + 1 > kWarnAbove)
        SizeWarning("CGenericString operator+= , argument>6KBytes");
    if (m_capacity < length + 2)
        Grow(m_capacity + 4, "CGenericString operator+= failed");
    m_block.Data()[length] = c;
    m_block.Data()[length + 1] = 0;
    return *this;
}

template <class Block>
bool CBasicString<Block>::operator==(const char* text) const
{
    return lstrcmpA(GetString(), text ? text : "") == 0;
}

template <class Block>
char CBasicString<Block>::GetCharFromIndex(int index) const
{
    if (m_capacity == 0 && index != 0)
        throw CGenericException("CGenericString:: GetCharFromIndex EmptyString");
    if (index == 0 && GetLength() == 0)
        return 0;
    if (index < 0 || index >= m_capacity)
        throw CGenericException("CGenericString::GetCharFromIndex out of range");
    return m_block.Data()[index];
}

template <class Block>
void CBasicString<Block>::SetCharFromIndex(int index, char c)
{
    if (m_capacity == 1 && index != 0)
        throw CGenericException("CGenericString::SetCharFromIndex index too big");
    if (index < 0 || index >= m_capacity)
        throw CGenericException("CGenericString::SetCharFromIndex negative index or too big");
    m_block.SetChar(static_cast<DWORD>(index), c);
}

template <class Block>
CBasicString<Block> CBasicString<Block>::SubStr(int from, int count) const
{
    if (from < 0 || count < 0)
        throw CGenericException("CGenericString::SubStr Negative indices ");
    // Compared without adding, so that no count, however large, can wrap round.
    if (from >= m_capacity || count >= m_capacity - from)
        throw CGenericException("CGenericString::SubStr index too big  ");
    std::string part(GetString() + from, static_cast<size_t>(count));
    CBasicString result(count);
    std::memcpy(result.m_block.Data(), part.data(), part.size());
    return result;
}

template <class Block>
void CBasicString<Block>::TrimRight(char c)
{
    int length = GetLength();
    if (length <= 1)
        return;
    char* data = m_block.Data();
    while (length > 0 && data[length - 1] == c)
        data[--length] = 0;
}

template <class Block>
void CBasicString<Block>::TrimLeft(char c)
{
    int length = GetLength();
    char* data = m_block.Data();
    int skip = 0;
    while (skip < length && data[skip] == c)
        ++skip;
    if (skip == 0)
        return;
    std::memmove(data, data + skip, static_cast<size_t>(length - skip));
    data[length - skip] = 0;
}

template <class Block>
bool CBasicString<Block>::Fill(char c)
{
    if (m_capacity <= 0)
        return true;
    char* data = m_block.Data();
    std::memset(data, c, static_cast<size_t>(m_capacity - 1));
    data[m_capacity - 1] = 0;
    return true;
}

template <class Block>
void CBasicString<Block>::MakeStringRightPadded(BYTE width)
{
    if (width >= m_capacity)
        throw CGenericException("MakeStringRightPadded overflow");
    char* data = m_block.Data();
    int length = GetLength();
    for (int i = length; i < width; ++i)
        data[i] = ' ';
    data[width] = 0;
}

template <class Block>
void CBasicString<Block>::MakeStringLeftPadded(char c, BYTE width)
{
    if (width >= m_capacity)
        throw CGenericException("MakeStringLeftPadded overflow");
    int length = GetLength();
    if (length >= width)
        return;
    char* data = m_block.Data();
    int shift = width - length;
    std::memmove(data + shift, data, static_cast<size_t>(length));
    std::memset(data, c, static_cast<size_t>(shift));
    data[width] = 0;
}

template <class Block>
void CBasicString<Block>::WritePadded(const char* formatted, char c, BYTE width)
{
    for (int i = 0; i < width; ++i)
        SetCharFromIndex(i, c);
    SetCharFromIndex(width, 0);
    int length = static_cast<int>(std::strlen(formatted));
    for (int i = 0; i < length; ++i)
        SetCharFromIndex(width - 1 - i, formatted[length - 1 - i]);
}

template <class Block>
void CBasicString<Block>::PadLeft(int value, char c, BYTE width)
{
    char formatted[24];
    std::snprintf(formatted, sizeof formatted, "%d", value);
    if (std::strlen(formatted) > width) {
        char report[64];
        std::snprintf(report, sizeof report, "field len=%d Value=%d", width, value);
        WriteErrorLog("CGenericString::PadLeft(): ", report, nullptr);
        throw CGenericException(report);
    }
    WritePadded(formatted, c, width);
}

template <class Block>
void CBasicString<Block>::PadLeftDouble(double value, char c, BYTE width)
{
    char formatted[64];
    std::snprintf(formatted, sizeof formatted, "%.*g", width ? static_cast<int>(width) : 1, value);
    bool finite = value - value == 0; // NaN and the infinities give NaN
    if (!finite || std::strlen(formatted) > width) {
        char report[96];
        if (finite && value > -2147483648.0 && value < 2147483648.0) {
            int whole = static_cast<int>(value);
            int hundredths = static_cast<int>((value - whole) * 100);
            if (hundredths < 0)
                hundredths = -hundredths;
            std::snprintf(report, sizeof report, " field len=%d Value=%d.%d", width, whole, hundredths);
        } else {
            // No int holds it: the number as formatted.
            std::snprintf(report, sizeof report, " field len=%d Value=%s", width, formatted);
        }
        WriteErrorLog("CGenericString::PadLeftDouble(): ", report, nullptr);
        throw CGenericException(report);
    }
    WritePadded(formatted, c, width);
}

template class CBasicString<CStringBlock<StringPool>>;
template class CBasicString<CStringBlock<NoPool>>;

namespace {
template <class Block>
char* AssignNumberText(long value, CBasicString<Block>& string, int radix)
{
    char digits[40];
    _ltoa(value, digits, radix);
    string = digits;
    return string.GetString();
}
}

char* IntToText(long value, CGenericString& string, int radix)
{
    return AssignNumberText(value, string, radix);
}

char* IntToText(long value, CWorkerString& string, int radix)
{
    return AssignNumberText(value, string, radix);
}
