#include "store/bytes/DeletedRecordList.h"

#include <algorithm>
#include <new>

#include "foundation/bytes/GenericException.h"

void CDeletedRecordList::Add(std::uint32_t recordNumber)
{
    if (std::find(m_records.begin(), m_records.end(), recordNumber) != m_records.end())
        return;
    try {
        m_records.push_back(recordNumber);
    } catch (const std::bad_alloc&) {
        throw CGenericException(" AddToTail failed Unknown error ");
    }
}

void CDeletedRecordList::AssignAscending(const std::vector<std::uint32_t>& recordNumbers)
{
    try {
        m_records = recordNumbers;
    } catch (const std::bad_alloc&) {
        throw CGenericException(" AddToTail failed Unknown error ");
    }
}

void CDeletedRecordList::Remove(std::uint32_t recordNumber)
{
    auto found = std::find(m_records.begin(), m_records.end(), recordNumber);
    if (found != m_records.end())
        m_records.erase(found);
}

bool AnswerDeletedListMessage(unsigned message, std::uintptr_t wordParameter, CDeletedRecordList& notes,
                              CDeletedRecordList& transactions, std::intptr_t& result)
{
    std::uint32_t recordNumber = static_cast<std::uint32_t>(wordParameter);
    result = 0;
    switch (message) {
    case kNotesFirstDeletedMessage:
        result = static_cast<std::intptr_t>(notes.First());
        return true;
    case kNotesRemoveDeletedMessage:
        notes.Remove(recordNumber);
        return true;
    case kNotesAddDeletedMessage:
        if (recordNumber != kUnsavedNoteId && recordNumber != 0)
            notes.Add(recordNumber);
        return true;
    case kTransactAddDeletedMessage:
        if (recordNumber != 0)
            transactions.Add(recordNumber);
        return true;
    case kTransactRemoveDeletedMessage:
        transactions.Remove(recordNumber);
        return true;
    case kTransactFirstDeletedMessage:
        result = static_cast<std::intptr_t>(transactions.First());
        return true;
    default:
        return false;
    }
}
