#pragma once

#include <windows.h>

#include <string>

#include "foundation/StartupValues.h"
#include "support/InFolder.h"

// Every value of a font, in one line, for comparing the stored values of a
// note or a user in one go.
std::string FontValues(const LOGFONTA& font);

// A test's own data folder whose start-up values (program folder, user and
// computer names) are the run's again after the test.
class StoreFolder : public InFolder {
protected:
    StoreFolder() : m_startup(GetStartupValues()) {}
    ~StoreFolder() override { GetStartupValues() = m_startup; }

    // One field of a stored record, without its leading and trailing blanks.
    static std::string Field(const char* table, DWORD record, const char* field);
    static void SetField(const char* table, DWORD record, const char* field, const std::string& text);
    static void SetNumber(const char* table, DWORD record, const char* field, long value);
    // The folder holds the program's UPGRADE folder of a new installation and
    // is the program folder.
    void CopyUpgradeFolder();

    StartupValues m_startup;
};
