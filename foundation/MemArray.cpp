#include "foundation/MemArray.h"

#include <cstdio>

#include "foundation/DiagnosticLog.h"
#include "foundation/bytes/TextChecks.h"

void ReportMemArrayBoundsFault(const void* data, DWORD count, DWORD index)
{
    // The dump holds as many bytes as the array has elements.
    WriteBoundsFaultReport("CMemArray::operator[] ", data, count, index);
}

void ReportMemArrayAllocFailure(unsigned long long requestedBytes)
{
    MEMORYSTATUS status = {};
    status.dwLength = sizeof status;
    GlobalMemoryStatus(&status);

    char total[25];
    char available[25];
    // The sizes are as wide as a pointer: a 64-bit program may see more than 4 GB.
    std::snprintf(total, sizeof total, "%llu", static_cast<unsigned long long>(status.dwTotalPhys >> 20));
    std::snprintf(available, sizeof available, "%llu", static_cast<unsigned long long>(status.dwAvailPhys));
    InsertThousandsSeparators(total, sizeof total);
    InsertThousandsSeparators(available, sizeof available);

    char totalText[40];
    char availableText[40];
    std::snprintf(totalText, sizeof totalText, "%s MBytes", total);
    std::snprintf(availableText, sizeof availableText, "%s bytes", available);
    char report[400];
    std::snprintf(report, sizeof report,
                  "\r\nCMemArray constructor failed ?\r\nRequested %llu bytes.\r\nTotal memory %s, Free memory "
                  "%s.\r\n\r\nPlease report this problem to Corvell Ltd and send us the error.txt file.",
                  requestedBytes, totalText, availableText);
    AppendTextToFile(report, "error.txt");
    throw CGenericException("CMemArray::Alloc() failed");
}
