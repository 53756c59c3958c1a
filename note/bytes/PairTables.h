#pragma once

#include <cstddef>
#include <string>

class CXMLBufferDocument;

// The web search's currency pairs and the translation's language pairs: each
// a program-wide table of 200 entries, an entry with id -1 being free.
struct ArgumentPair {
    int id = -1;
    char key[64] = "";
    char actualValue[128] = "";
};

const size_t kPairTableSize = 200;
using PairTable = ArgumentPair[kPairTableSize];

PairTable& CurrencyPairs();
PairTable& LanguagePairs();

// Fills the table from the parsed document's "<section>" entries
// ("<entryTag>" with "key" and "actualValue"), freeing the rest; texts too
// long for an entry are cut. Answers the number of entries read.
size_t ReadPairTable(CXMLBufferDocument& document, const char* section, const char* entryTag, PairTable& table);
