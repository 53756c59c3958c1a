#pragma once

#include <windows.h>

#include "foundation/DateTime.h"
#include "foundation/LinkedNodes.h"

// A node of the pointer lists. Nodes come from one program-wide pool of blocks of
// 600 nodes, guarded by a lock, because note lists change on the main thread and
// on the network threads.
struct CPtrNod {
    CPtrNod* next = nullptr;      // towards the tail
    CPtrNod* previous = nullptr;  // towards the head
    void* data = nullptr;
    CPtrNod* freeLink = nullptr;  // used while the node waits in the pool

    static void* operator new(size_t size);
    static void operator delete(void* node, size_t size);
};

enum { kNodesPerBlock = 600 };

// At shut-down the pool gives its blocks back once the last node has returned.
void SetNodePoolClosing(bool closing);
// Nodes in use (for tests and diagnostics).
DWORD GetLiveNodeCount();

// A named list of pointers to objects owned elsewhere.
class CPtrList {
public:
    explicit CPtrList(const char* name = "");
    ~CPtrList() { RemoveAll(); }
    CPtrList(const CPtrList&) = delete;
    CPtrList& operator=(const CPtrList&) = delete;

    bool IsEmpty() const { return m_first == nullptr; }
    CPtrNod* AddHead(void* data);
    // Keeps the list from the latest date to the earliest; a new record goes in
    // front of records with an equal date. The record type gives its date through
    // RecordDateTime(const T&).
    template <class T>
    CPtrNod* InsertSortedByDate(T* record);

    void* GetFirst() const { return m_first ? m_first->data : nullptr; }
    void* GetLast() const { return m_last ? m_last->data : nullptr; }
    void* GetNext(void* data) const;
    void* GetPrev(void* data) const;
    void* GetNextCircular(void* data) const;
    void* GetPrevCircular(void* data) const;
    bool Contains(void* data) const { return Find(data) != nullptr; }
    DWORD GetCount() const;

    // Unlinks the node holding the data; 0 (and a line in "error.txt") when absent.
    int DeleteElem(void* data);
    // Returns every node to the pool; the data are not freed.
    void RemoveAll();

    const char* GetName() const { return m_name; }

private:
    CPtrNod* Find(void* data) const;
    CPtrNod* NewNode(void* data, const char* failureText);

    CPtrNod* m_last = nullptr;
    CPtrNod* m_first = nullptr;
    char m_name[25];
};

template <class T>
CPtrNod* CPtrList::InsertSortedByDate(T* record)
{
    CPtrNod* node = NewNode(record, " AddAscending failed ");
    CPtrNod* position = FindOrderedPosition(m_first, m_last, [record](CPtrNod* current) {
        return RecordDateTime(*record) < RecordDateTime(*static_cast<T*>(current->data));
    });
    LinkNode(m_first, m_last, position, node);
    return node;
}
