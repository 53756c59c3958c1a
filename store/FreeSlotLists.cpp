#include "store/FreeSlotLists.h"

#include "foundation/CriticalSectionLock.h"
#include "store/DbfFile.h"

void CFreeSlotList::Rebuild(CDbfFile& openTable)
{
    openTable.BuildDeletedList();
    CCriticalSectionLock hold(m_lock.Section());
    m_list = openTable.DeletedList();
}

void CFreeSlotList::Clear()
{
    CCriticalSectionLock hold(m_lock.Section());
    m_list.Clear();
}

std::uint32_t CFreeSlotList::Take()
{
    CCriticalSectionLock hold(m_lock.Section());
    std::uint32_t first = m_list.First();
    if (first != 0)
        m_list.Remove(first);
    return first;
}

std::uint32_t CFreeSlotList::First()
{
    CCriticalSectionLock hold(m_lock.Section());
    return m_list.First();
}

void CFreeSlotList::Add(std::uint32_t recordNumber)
{
    CCriticalSectionLock hold(m_lock.Section());
    m_list.Add(recordNumber);
}

void CFreeSlotList::Remove(std::uint32_t recordNumber)
{
    CCriticalSectionLock hold(m_lock.Section());
    m_list.Remove(recordNumber);
}

std::size_t CFreeSlotList::Count()
{
    CCriticalSectionLock hold(m_lock.Section());
    return m_list.Count();
}

CFreeSlotList& NotesFreeSlots()
{
    static CFreeSlotList list;
    return list;
}

CFreeSlotList& TransactionFreeSlots()
{
    static CFreeSlotList list;
    return list;
}

bool AnswerFreeSlotMessage(unsigned message, std::uintptr_t wordParameter, std::intptr_t& result)
{
    bool answered = false;
    NotesFreeSlots().Locked([&](CDeletedRecordList& notes) {
        TransactionFreeSlots().Locked([&](CDeletedRecordList& transactions) {
            answered = AnswerDeletedListMessage(message, wordParameter, notes, transactions, result);
        });
    });
    return answered;
}
