// What an ordered insert reports when the record cannot be copied into its node.
#include <new>
#include <string>

#include <gtest/gtest.h>

#include "foundation/RecordList.h"

namespace {
// A record whose copy fails in the way its flag says.
struct FailingRecord {
    enum Failure { kNone, kProgramException, kOtherFailure };
    FailingRecord(int value, Failure failure) : value(value), failure(failure) {}
    FailingRecord(const FailingRecord& other) : value(other.value), failure(other.failure)
    {
        if (failure == kProgramException)
            throw CGenericException("copy refused");
        if (failure == kOtherFailure)
            throw std::bad_alloc();
    }
    bool IsGreater(const FailingRecord& other) const { return value > other.value; }
    int value;
    Failure failure;
};

std::string FailureText(CRecordList<FailingRecord>& list, FailingRecord::Failure failure)
{
    try {
        list.AddDescending(FailingRecord(5, failure));
    } catch (const CGenericException& e) {
        return e.GetErrorText();
    }
    return "";
}
}

TEST(RecordListFailures, OrderedInsertsNameTheirFailure)
{
    CRecordList<FailingRecord> list("failing");
    list.AddDescending(FailingRecord(3, FailingRecord::kNone));
    EXPECT_EQ(FailureText(list, FailingRecord::kProgramException), " AddDecending failed ");
    EXPECT_EQ(FailureText(list, FailingRecord::kOtherFailure), " AddDescending failed Unknown error ");
    // Nothing was linked by the failed inserts.
    EXPECT_EQ(list.GetCount(), 1u);
}
