#pragma once

#include <windows.h>

#include <cstdio>
#include <cstring>

#include "foundation/LinkedNodes.h"
#include "foundation/bytes/GenericException.h"

// A named doubly linked list holding records by value. Operations that order or
// look up records use what the record type offers:
//   IsGreater(const R&)            AddDescending
//   RecordDateTime(const R&)       AddDescendingByDate
//   RecordId(const R&), RecordName(const R&)   the id and name operations
//   operator==                     FindDestination
template <class R>
class CRecordList {
public:
    struct Node {
        Node* next;
        Node* previous;
        R record;
    };

    explicit CRecordList(const char* name = "") { std::snprintf(m_name, sizeof m_name, "%s", name ? name : ""); }
    ~CRecordList() { RemoveAll(); }
    CRecordList(const CRecordList&) = delete;
    CRecordList& operator=(const CRecordList&) = delete;

    Node* AddToTail(const R& record)
    {
        Node* node = NewNode(record, " AddToTail failed ");
        LinkNode(m_first, m_last, static_cast<Node*>(nullptr), node);
        return node;
    }

    Node* AddAssociationToHead(const R& record)
    {
        Node* node = NewNode(record, " AddToTail failed ");
        LinkNode(m_first, m_last, m_first, node);
        return node;
    }

    // The list runs from the smallest to the greatest; a new record goes in front
    // of its equals.
    Node* AddDescending(const R& record)
    {
        return InsertOrdered(record, " AddDecending failed ",
                             [](const R& a, const R& b) { return a.IsGreater(b); });
    }

    // The list runs from the earliest to the latest.
    Node* AddDescendingByDate(const R& record)
    {
        return InsertOrdered(record, " AddDecending failed ",
                             [](const R& a, const R& b) { return RecordDateTime(a) > RecordDateTime(b); });
    }

    Node* FindByName(const char* name) const
    {
        for (Node* node = m_first; node; node = node->next)
            if (lstrcmpiA(RecordName(node->record), name) == 0)
                return node;
        return nullptr;
    }

    Node* FindByIdAndName(const R& key) const
    {
        for (Node* node = m_first; node; node = node->next)
            if (RecordId(node->record) == RecordId(key) && lstrcmpiA(RecordName(node->record), RecordName(key)) == 0)
                return node;
        return nullptr;
    }

    Node* FindDestination(const R& key) const
    {
        for (Node* node = m_first; node; node = node->next)
            if (node->record == key)
                return node;
        return nullptr;
    }

    // The record after the one with the name; null when absent or last.
    R* GetNextByName(const char* name) const
    {
        Node* node = FindByName(name);
        return node && node->next ? &node->next->record : nullptr;
    }

    // The largest id plus one; 0 for an empty list.
    long NextFreeId() const
    {
        if (!m_first)
            return 0;
        long largest = RecordId(m_first->record);
        for (Node* node = m_first; node; node = node->next)
            if (RecordId(node->record) > largest)
                largest = RecordId(node->record);
        return largest + 1;
    }

    long FindIdByName(const char* name) const
    {
        Node* node = FindByName(name);
        return node ? RecordId(node->record) : -1;
    }

    int GetNameById(char* buffer, size_t size, long id) const
    {
        for (Node* node = m_first; node; node = node->next) {
            if (RecordId(node->record) == id) {
                std::snprintf(buffer, size, "%s", RecordName(node->record));
                return 1;
            }
        }
        return 0;
    }

    // Unlinks and frees the node.
    void Remove(Node* node)
    {
        UnlinkNode(m_first, m_last, node);
        delete node;
    }

    // Deletes every node; each record's destructor runs with its node.
    void RemoveAll()
    {
        while (m_first)
            Remove(m_first);
    }

    Node* GetFirst() const { return m_first; }
    Node* GetLast() const { return m_last; }
    DWORD GetCount() const
    {
        DWORD count = 0;
        for (Node* node = m_first; node; node = node->next)
            ++count;
        return count;
    }
    const char* GetName() const { return m_name; }

private:
    Node* NewNode(const R& record, const char* failureText, const char* unknownFailureText = nullptr)
    {
        return MakeListNode(
            failureText, [&record] { return new Node{nullptr, nullptr, record}; }, unknownFailureText);
    }

    template <class Before>
    Node* InsertOrdered(const R& record, const char* failureText, Before before)
    {
        Node* node = NewNode(record, failureText, " AddDescending failed Unknown error ");
        Node* position =
            FindOrderedPosition(m_first, m_last, [&](Node* current) { return before(record, current->record); });
        LinkNode(m_first, m_last, position, node);
        return node;
    }

    Node* m_last = nullptr;
    Node* m_first = nullptr;
    char m_name[50];
};
