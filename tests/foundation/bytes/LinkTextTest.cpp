#include <cstring>
#include <string>

#include <gtest/gtest.h>

#include "foundation/bytes/LaunchText.h"
#include "foundation/bytes/QuotedLink.h"

namespace {
std::string Path(const char* command, size_t size = 260)
{
    char out[260];
    bool found = ExtractProgramPath(command, out, size);
    return found ? out : "(none)";
}

std::string Line(const char* command, const char* argument, LaunchTextResult expected = LaunchTextResult::kBuilt)
{
    char out[64];
    EXPECT_EQ(BuildLaunchCommandLine(command, argument, out, sizeof out), expected) << argument;
    return out;
}

size_t At(const std::string& text, const std::string& part)
{
    return text.find(part);
}
}

TEST(QuotedLink, BrowserPathsComeOutOfTheirCommands)
{
    EXPECT_EQ(Path("\"c:\\program files\\mozilla firefox\\firefox.exe\" -osint -url \"%1\""),
              "\"c:\\program files\\mozilla firefox\\firefox.exe\"");
    EXPECT_EQ(Path("c:\\progra~1\\intern~1\\iexplore.exe -nohome"), "c:\\progra~1\\intern~1\\iexplore.exe ");
    EXPECT_EQ(Path("c:\\browser\\run.exe"), "c:\\browser\\run.exe");
    EXPECT_EQ(Path("rundll32 url.dll,FileProtocolHandler %1"), "(none)");
    EXPECT_EQ(Path("\"c:\\long\\b.exe\"", 5), "(none)") << "a path that does not fit is refused whole";
    EXPECT_EQ(Path(nullptr), "(none)");
}

TEST(QuotedLink, QuotedSpansAndTheLinksInsideThem)
{
    std::string text = "see \"my notes.txt\" now";
    EXPECT_TRUE(IsInsideQuotedLink(text.c_str(), At(text, "notes"), false));
    EXPECT_FALSE(IsInsideQuotedLink(text.c_str(), At(text, "now"), false)) << "after an even number of quotes";
    EXPECT_FALSE(IsInsideQuotedLink(text.c_str(), 0, false));
    EXPECT_FALSE(IsInsideQuotedLink(text.c_str(), text.size() - 1, false));

    std::string twoLinks = "\"c:\\x.txt and http://example.org\"";
    EXPECT_FALSE(IsInsideQuotedLink(twoLinks.c_str(), At(twoLinks, "x.txt"), false))
        << "a web address after a blank in the middle of the span";
    std::string drive = "\"c:\\x.txt D:\\y.txt\"";
    EXPECT_FALSE(IsInsideQuotedLink(drive.c_str(), At(drive, "x.txt"), false));
    std::string atEnd = "\"some text www.\"";
    EXPECT_TRUE(IsInsideQuotedLink(atEnd.c_str(), At(atEnd, "text"), false)) << "a link start at the very end";

    std::string lines = "\"first\r\nsecond\" line";
    EXPECT_FALSE(IsInsideQuotedLink(lines.c_str(), At(lines, "second"), false)) << "quotes of another line";
    std::string one = "just \"one quote";
    EXPECT_FALSE(IsInsideQuotedLink(one.c_str(), At(one, "quote"), true));
}

TEST(LaunchText, ArgumentsAreQuotedAndCannotBreakOut)
{
    EXPECT_EQ(Line("browser.exe", "http://a.example/x"), "browser.exe http://a.example/x");
    EXPECT_EQ(Line("browser.exe", "c:\\my notes\\a.txt"), "browser.exe \"c:\\my notes\\a.txt\"");
    EXPECT_EQ(Line("browser.exe", "\"c:\\quoted\\a.txt\""), "browser.exe \"c:\\quoted\\a.txt\"");
    EXPECT_EQ(Line("browser.exe", ""), "browser.exe");
    EXPECT_EQ(Line("browser.exe", "http://x\" --evil \"y", LaunchTextResult::kQuoteInArgument), "");
    EXPECT_EQ(Line("browser.exe", "x\" --evil", LaunchTextResult::kQuoteInArgument), "");
    EXPECT_EQ(Line("browser.exe", "\"\"\"", LaunchTextResult::kQuoteInArgument), "");
    EXPECT_EQ(Line("browser.exe", std::string(60, 'a').c_str(), LaunchTextResult::kTooLong), "");

    char out[64];
    ASSERT_EQ(EscapeLinkQuotes("\"http://x\" --evil \"y\"", out, sizeof out), LaunchTextResult::kBuilt);
    EXPECT_STREQ(out, "http://x%22 --evil %22y");
    char line[64];
    char escaped[64];
    EscapeLinkQuotes("http://x\" --evil \"y", escaped, sizeof escaped);
    ASSERT_EQ(BuildLaunchCommandLine("b.exe", escaped, line, sizeof line), LaunchTextResult::kBuilt);
    EXPECT_STREQ(line, "b.exe \"http://x%22 --evil %22y\"");
    EXPECT_EQ(EscapeLinkQuotes(std::string(30, '"').c_str(), out, 40), LaunchTextResult::kTooLong);
}

TEST(LaunchText, ShellQuotingWithoutABrowser)
{
    char out[64];
    QuoteLinkForShell("c:\\my notes\\a.htm", out, sizeof out);
    EXPECT_STREQ(out, "\"c:\\my notes\\a.htm\"");
    QuoteLinkForShell("c:\\notes\\a.htm", out, sizeof out);
    EXPECT_STREQ(out, "c:\\notes\\a.htm");
    QuoteLinkForShell("a, b c", out, sizeof out);
    EXPECT_STREQ(out, "a, b c");
    QuoteLinkForShell("\"a b\"", out, sizeof out);
    EXPECT_STREQ(out, "\"a b\"");
    EXPECT_EQ(QuoteLinkForShell("a b", out, 4), LaunchTextResult::kTooLong);
}
