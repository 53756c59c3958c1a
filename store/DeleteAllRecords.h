#pragma once

// Marks every record of the table deleted, from the first to the last, through
// one whole-file mapping (a restore empties tables this way). The file keeps its
// size; the records become free for reuse. Failures throw CGenericException.
void DeleteAllRecords(const char* tablePath);
