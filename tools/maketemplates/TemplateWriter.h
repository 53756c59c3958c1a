#pragma once

#include <string>

#include "TableTemplates.h"

// Writes the tables, memo files and the web-search file of a new installation
// into the folder.
void WriteTemplateFiles(const std::string& folder);
