#pragma once

#include <windows.h>

#include <string>

#include "foundation/Allocator.h"
#include "foundation/bytes/GenericException.h"

// The block of a string. With a pool it lies in the pool on the main thread, where
// it may move at any later allocation from the pool, so its address is read each
// time; on other threads, and without a pool, it lies on the process heap and
// never moves (see CAlocatorPointer).
template <class Pool>
class CStringBlock {
public:
    CStringBlock() : m_block(Pool::Get()) {}
    char* Data() const { return m_block.GetAddress(); }
    bool Obtain(DWORD capacity) { return m_block.TryAloca(capacity); }
    bool Replace(DWORD capacity)
    {
        m_block.AlocaNou(capacity);
        return m_block.HasBlock();
    }
    void SetChar(DWORD index, char c) { m_block.SetCharFromIndex(index, c); }

private:
    CAlocatorPointer<char> m_block;
};

struct StringPool {
    static CAllocator* Get() { return &StringAllocator(); }
};
struct NoPool {
    static CAllocator* Get() { return nullptr; }
};

// The program's owning ANSI text. Its capacity (bytes including the terminator)
// only grows; texts above about 6 KB are reported in a box but still handled.
template <class Block>
class CBasicString {
public:
    CBasicString();
    explicit CBasicString(int size);
    CBasicString(const char* text);
    CBasicString(const CBasicString& other);
    ~CBasicString() = default;

    CBasicString& operator=(const CBasicString& other);
    CBasicString& operator=(const char* text);
    CBasicString& operator=(long value);
    CBasicString operator+(const char* text) const;
    CBasicString& operator+=(const CBasicString& other);
    CBasicString& operator+=(const char* text);
    CBasicString& operator+=(char c);

    bool operator==(const char* text) const;
    bool operator==(const CBasicString& other) const { return *this == other.GetString(); }

    // The text's current address; for a pooled string it is valid only until
    // the next allocation from the pool.
    char* GetString() const;
    int GetCapacity() const { return m_capacity; }
    int GetLength() const;

    char GetCharFromIndex(int index) const;
    void SetCharFromIndex(int index, char c);
    CBasicString SubStr(int from, int count) const;

    void TrimRight(char c);
    void TrimLeft(char c);
    bool Fill(char c);
    void MakeStringRightPadded(BYTE width);
    void MakeStringLeftPadded(char c, BYTE width);
    void PadLeft(int value, char c, BYTE width);
    void PadLeftDouble(double value, char c, BYTE width);

private:
    void Grow(int capacity, const char* failureText);
    void Append(const std::string& source, const char* warning);
    void Assign(const std::string& source, int needed, const char* warning, const char* failureText);
    void WritePadded(const char* formatted, char c, BYTE width);

    int m_capacity = 0;
    Block m_block;
};

// Pooled on the main thread (at most 50 at once), on the heap elsewhere.
using CGenericString = CBasicString<CStringBlock<StringPool>>;
// Always on the heap: its address never moves, on any thread.
using CWorkerString = CBasicString<CStringBlock<NoPool>>;

extern template class CBasicString<CStringBlock<StringPool>>;
extern template class CBasicString<CStringBlock<NoPool>>;

// The value's text in the radix, assigned to the string; returns the text.
char* IntToText(long value, CGenericString& string, int radix);
char* IntToText(long value, CWorkerString& string, int radix);
