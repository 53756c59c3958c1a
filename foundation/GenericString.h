#pragma once

#include <windows.h>

#include <string>

#include "foundation/Allocator.h"
#include "foundation/bytes/GenericException.h"

// Storage of a string whose block lives in the "String Allocator" pool: it may
// move at any later allocation from the pool, so its address is read each time.
class CPoolStringBlock {
public:
    CPoolStringBlock() : m_block(&StringAllocator()) {}
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

// Storage on the process heap: it never moves, so worker threads use it.
class CHeapStringBlock {
public:
    CHeapStringBlock() = default;
    ~CHeapStringBlock();
    CHeapStringBlock(const CHeapStringBlock&) = delete;
    CHeapStringBlock& operator=(const CHeapStringBlock&) = delete;
    char* Data() const { return m_data; }
    bool Obtain(DWORD capacity) { return Replace(capacity); }
    bool Replace(DWORD capacity);
    void SetChar(DWORD index, char c);

private:
    char* m_data = nullptr;
    DWORD m_size = 0;
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
    void Append(const char* text, int length, const char* warning);
    void Assign(const std::string& source, int needed, const char* warning, const char* failureText);
    void WritePadded(const char* formatted, char c, BYTE width);

    int m_capacity = 0;
    Block m_block;
};

using CGenericString = CBasicString<CPoolStringBlock>;
// For worker threads: the same interface over a block that never moves.
using CWorkerString = CBasicString<CHeapStringBlock>;

extern template class CBasicString<CPoolStringBlock>;
extern template class CBasicString<CHeapStringBlock>;

// The value's text in the radix, assigned to the string; returns the text.
char* IntToText(long value, CGenericString& string, int radix);
char* IntToText(long value, CWorkerString& string, int radix);
