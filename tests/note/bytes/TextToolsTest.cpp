// The note's text tools that work on bytes: finding a text, and the pair
// tables of the web search and the translation read from their XML file.
#include <string>

#include <gtest/gtest.h>

#include "note/bytes/PairTables.h"
#include "note/bytes/TextSearch.h"
#include "xmlfiles/bytes/XmlBufferDocument.h"

TEST(TextSearch, FindsWithoutRegardToCase)
{
    EXPECT_EQ(CTextSearch::Find("Meeting at NOON today", "noon"), 11);
    EXPECT_EQ(CTextSearch::Find("abc", "ABC"), 0);
    EXPECT_EQ(CTextSearch::Find("abc", "abcd"), -1);
    EXPECT_EQ(CTextSearch::Find("aab", "ab"), 1);
    EXPECT_EQ(CTextSearch::Find("", ""), 0);
    EXPECT_EQ(CTextSearch::Find("x", nullptr), -1);
    EXPECT_EQ(CTextSearch::Find(nullptr, "x"), -1);
}

namespace {
size_t Read(const std::string& xml, PairTable& table, const char* section, const char* entry)
{
    CXMLBufferDocument document;
    document.SetBuffer(xml.data(), static_cast<int32_t>(xml.size()), "webSearch.QPD");
    if (!document.Parse())
        return 0;
    return ReadPairTable(document, section, entry, table);
}
}

TEST(PairTables, ReadTheirEntriesAndFreeTheRest)
{
    const std::string xml =
        "<?xml version=\"1.0\"?>\r\n<webSearch>\r\n<currencyConversion>\r\n"
        "<currencyPairArgument><key>EUR-USD</key><actualValue>EURUSD=X</actualValue></currencyPairArgument>\r\n"
        "<currencyPairArgument><key>" + std::string(100, 'k') + "</key><actualValue>long</actualValue></currencyPairArgument>\r\n"
        "<currencyPairArgument><key>no value</key></currencyPairArgument>\r\n"
        "</currencyConversion>\r\n<textTranslation>\r\n"
        "<languagePairArgument><key>English to French</key><actualValue>en|fr</actualValue></languagePairArgument>\r\n"
        "</textTranslation>\r\n</webSearch>\r\n";
    PairTable& currencies = CurrencyPairs();
    currencies[150].id = 150;
    EXPECT_EQ(Read(xml, currencies, "currencyConversion", "currencyPairArgument"), 2u);
    EXPECT_STREQ(currencies[0].key, "EUR-USD");
    EXPECT_STREQ(currencies[0].actualValue, "EURUSD=X");
    EXPECT_EQ(currencies[1].id, 1);
    EXPECT_EQ(std::string(currencies[1].key).size(), sizeof currencies[1].key - 1);
    EXPECT_EQ(currencies[2].id, -1);
    EXPECT_EQ(currencies[150].id, -1);

    PairTable& languages = LanguagePairs();
    EXPECT_EQ(Read(xml, languages, "textTranslation", "languagePairArgument"), 1u);
    EXPECT_STREQ(languages[0].actualValue, "en|fr");
    EXPECT_EQ(Read("<webSearch><currencyConversion>", languages, "textTranslation", "languagePairArgument"), 0u);
}
