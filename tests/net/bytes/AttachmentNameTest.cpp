// A sender names the attached file; the receiver keeps it under a name that
// can only mean one plain file of the "ATTACHED" folder.
#include <gtest/gtest.h>

#include "net/bytes/AttachmentName.h"

TEST(AttachmentName, HostileNamesBecomePlainFilesOfTheFolder)
{
    const struct {
        const char* sent;
        const char* kept;
    } cases[] = {
        {"report.pdf", "report.pdf"},
        {"..\\..\\Windows\\win.ini", "win.ini"},
        {"C:evil.exe", "evil.exe"},
        {"/etc/passwd", "passwd"},
        {"..", "attachment"},
        {"", "attachment"},
        {"a<b>c|d?e*f\"g\x01.txt", "a_b_c_d_e_f_g_.txt"},
        {"notes.txt. . ", "notes.txt"},
        {"  padded.doc", "padded.doc"},
        {"CON", "_CON"},
        {"nul.txt", "_nul.txt"},
        {"Com1.log", "_Com1.log"},
        {"LPT9", "_LPT9"},
        {"COM10.txt", "COM10.txt"},
        {"console.txt", "console.txt"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SafeAttachmentName(c.sent), c.kept) << c.sent;

    std::string longName(300, 'x');
    std::string kept = SafeAttachmentName(longName + ".jpeg");
    EXPECT_EQ(kept.size(), 200u);
    EXPECT_EQ(kept.substr(kept.size() - 5), ".jpeg");
}

TEST(AttachmentName, LaterChoicesAreNumberedBeforeTheExtension)
{
    EXPECT_EQ(NumberedFileName("report.pdf", 1), "report.pdf");
    EXPECT_EQ(NumberedFileName("report.pdf", 2), "report (2).pdf");
    EXPECT_EQ(NumberedFileName("archive.tar.gz", 12), "archive.tar (12).gz");
    EXPECT_EQ(NumberedFileName("README", 3), "README (3)");
    EXPECT_EQ(NumberedFileName(".profile", 2), ".profile (2)");
}
