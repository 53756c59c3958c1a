#pragma once

#include <cstdint>
#include <vector>

// The numbers of a table's deleted records, oldest first, each at most once.
// Tables that grow and shrink (notes, send records) take their new records
// from here before they grow.
class CDeletedRecordList {
public:
    void Clear() { m_records.clear(); }
    // Replaces the list by record numbers found in ascending order (a rescan
    // of the table), without the search that Add makes for each number.
    void AssignAscending(const std::vector<std::uint32_t>& recordNumbers);
    // Appends n at the tail unless it is already listed.
    void Add(std::uint32_t recordNumber);
    // Removes n when listed; an absent number changes nothing.
    void Remove(std::uint32_t recordNumber);
    // The head of the list, 0 when it is empty.
    std::uint32_t First() const { return m_records.empty() ? 0 : m_records.front(); }
    std::size_t Count() const { return m_records.size(); }

private:
    std::vector<std::uint32_t> m_records;
};

// The main window serves the deleted lists of the notes and transaction tables
// to every writer through private messages (the word parameter is the record
// number, the answer the result).
enum DeletedListMessage : unsigned {
    kNotesFirstDeletedMessage = 0x806E,
    kNotesRemoveDeletedMessage = 0x806F,
    kNotesAddDeletedMessage = 0x807F,
    kTransactAddDeletedMessage = 0x8080,
    kTransactRemoveDeletedMessage = 0x8081,
    kTransactFirstDeletedMessage = 0x8082,
};

// A note that was never saved carries this number and has no record to free.
const std::uint32_t kUnsavedNoteId = 9999;

// Answers one of the messages above from the two lists; false for any other
// message, which is then the window's own.
bool AnswerDeletedListMessage(unsigned message, std::uintptr_t wordParameter, CDeletedRecordList& notes,
                              CDeletedRecordList& transactions, std::intptr_t& result);
