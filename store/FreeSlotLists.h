#pragma once

#include <windows.h>

#include <cstdint>

#include "foundation/CriticalSectionLock.h"
#include "store/bytes/DeletedRecordList.h"

class CDbfFile;

// The free record numbers of a table that reuses its deleted records (notes,
// delivery records). The main window answers its private messages from these
// lists and the writers take their slots from them directly: each list has a
// lock of its own, so that taking a slot never waits for a table lock or for a
// window, and a slot taken by one writer is gone for every other.
class CFreeSlotList {
public:
    CFreeSlotList() = default;
    CFreeSlotList(const CFreeSlotList&) = delete;
    CFreeSlotList& operator=(const CFreeSlotList&) = delete;

    // The deleted records of the open table, as it rebuilds them.
    void Rebuild(CDbfFile& openTable);
    void Clear();
    // Removes the first free number and returns it; 0 when there is none.
    std::uint32_t Take();
    std::uint32_t First();
    void Add(std::uint32_t recordNumber);
    void Remove(std::uint32_t recordNumber);
    std::size_t Count();

    // Runs the body with the list locked (the main window's answers).
    template <class Body>
    void Locked(Body&& body)
    {
        CCriticalSectionLock hold(m_lock.Section());
        body(m_list);
    }

private:
    CCriticalSection m_lock;
    CDeletedRecordList m_list;
};

CFreeSlotList& NotesFreeSlots();
CFreeSlotList& TransactionFreeSlots();

// The main window's answer to the deleted-list messages (0x806E, 0x806F,
// 0x807F, 0x8080 to 0x8082) from the two lists; false for any other message.
bool AnswerFreeSlotMessage(unsigned message, std::uintptr_t wordParameter, std::intptr_t& result);
