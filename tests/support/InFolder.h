#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/CurrentFolder.h"
#include "support/TempFolder.h"

// The folder of the running test program, where the build puts qnpost.exe and
// the data templates.
std::string ProgramFolder();

// Each test works in a fresh folder of its own, made the current folder, as the
// program works in its data folder with relative names and writes its reports
// ("error.txt", ...) there.
class InFolder : public testing::Test {
protected:
    std::string File(const std::string& name) const { return m_folder.File(name); }
    void Write(const std::string& name, const std::vector<unsigned char>& bytes)
    {
        WriteWholeFile(File(name), std::string(bytes.begin(), bytes.end()));
    }
    std::string Read(const std::string& name) const { return ReadWholeFile(File(name)); }
    // A data file of a new installation, as the build writes it next to the program.
    void CopyTemplate(const std::string& name)
    {
        ASSERT_TRUE(CopyFileA((ProgramFolder() + "\\QlData\\" + name).c_str(), File(name).c_str(), FALSE)) << name;
    }

    TempFolder m_folder;
    CurrentFolder m_current{m_folder.Path()};
};

