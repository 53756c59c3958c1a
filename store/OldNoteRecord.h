#pragma once

#include <windows.h>

#include "foundation/Allocator.h"
#include "foundation/DateTime.h"

class CDbfFile;

// One note of a notes table from a version without style or alarm fields, as
// the upgrade carries it into the present tables. Its text lives in a block of
// the "Note Allocator" pool.
struct CNoteDataRecord {
    enum { kTextBlockBytes = 51200, kTitleSize = 26 };
    // Takes the text block; a full pool throws CGenericException.
    CNoteDataRecord();

    DWORD userId = 0;
    DWORD stayOnTop = 0;
    DWORD border = 0;
    DWORD minimized = 0;
    DWORD showDate = 0;
    LONG left = 0, top = 0, width = 0, height = 0;
    COLORREF bodyColor = 0;
    COLORREF textColor = 0;
    COLORREF titleColor = 0;
    COLORREF titleTextColor = 0;
    char title[kTitleSize] = "";
    CDateTime created;
    CDateTime alarm;
    DWORD sent = 0, received = 0, sent1 = 0, received1 = 0;
    LOGFONTA bodyFont = {};
    LOGFONTA titleFont = {};
    CAlocatorPointer<char> text;
};

// Fills the record from the current record of the older notes table (its text
// from the table's memo); title colours and font come from fixed rules, as
// the older table had none. Table failures throw CGenericException.
void ReadOldNoteRecord(CDbfFile& notes, CNoteDataRecord& record);
