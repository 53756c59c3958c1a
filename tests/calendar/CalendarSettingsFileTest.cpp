// calendar.QPD read back as the program reads it: files of other versions and
// damaged files keep what can be kept, numbers are kept in range, and a
// reload replaces the lists rather than adding to them.
#include <windows.h>

#include <string>

#include <gtest/gtest.h>

#include "CalendarDriving.h"
#include "calendar/CalendarSettings.h"
#include "calendar/CalendarSettingsFile.h"
#include "foundation/Clock.h"
#include "globals/ProgramGlobals.h"
#include "support/InFolder.h"
#include "support/bytes/MessageBoxRecorder.h"

namespace {
class CalendarSettingsFileTest : public InFolder {
protected:
    void SetUp() override
    {
        m_now = SYSTEMTIME{2027, 8, 0, 18, 10, 0, 0, 0};
        SetClockOverride(&m_now);
        BuildDefaultCalendarStyles(User());
    }
    void TearDown() override
    {
        SetClockOverride(nullptr);
        RemoveAllCalendarOptions();
        RemoveAllCalendarStyleSets();
    }
    static DWORD User() { return UserSettings().userId; }
    void Load()
    {
        LoadCalendarSettingsFile();
    }
    // The file of the standard options and styles, as the program first writes it.
    std::string StandardFile()
    {
        RemoveAllCalendarOptions();
        RemoveAllCalendarStyleSets();
        CurrentCalendarOptions();
        CurrentCalendarStyleSet();
        SaveCalendarSettings();
        return Read("calendar.QPD");
    }
    // The text between the first start tag of the name and the end of its
    // element, tags included, from the position on.
    static std::string Element(const std::string& text, const std::string& line, size_t from = 0)
    {
        const size_t start = text.find("<" + line + ">", from);
        const size_t end = text.find("</" + line + ">", start);
        return text.substr(start, end + line.size() + 3 - start);
    }

    SYSTEMTIME m_now = {};
};
}

TEST_F(CalendarSettingsFileTest, OtherFormsAreReadWithTheirNumbersKeptInRange)
{
    const std::string standard = StandardFile();
    const std::string header = standard.substr(0, standard.find("<content>"));
    std::string options = Element(standard, "options");
    options = WithElement(options, "transparency", "100");
    options = WithElement(options, "nrOfMonthsToShow", "7");
    options = WithElement(options, "weekdayTextColor", "123");
    options = WithElement(options, "prevNextForeColor", "124");
    options = WithElement(options, "daysAreaTextColor", "456");
    options = WithElement(options, "monthOnTheLeft", "3");
    options = WithElement(options, "yearOnTheLeft", "1999");
    // A texture named in plain text, as the file's older form holds it.
    options = WithElement(options, "backgroundImage", "  plain.jpg ");
    // A set of three styles: one of no place, and two that say where they go.
    const std::string firstStyle = Element(standard, "style");
    std::string placeTwo = WithElement(firstStyle, "index", "2");
    placeTwo = WithElement(WithElement(placeTwo, "monthOnTheLeft", "4"), "yearOnTheLeft", "2001");
    placeTwo = WithElement(placeTwo, "dialogBackColor", "222");
    const std::string noPlace = WithElement(firstStyle, "index", "12");
    const std::string placeFive = WithElement(WithElement(firstStyle, "index", "5"), "transparency", "95");
    WriteWholeFile(File("calendar.QPD"), header + "<content>\r\n" + options + "\r\n<styles>\r\n" + placeTwo + "\r\n" +
                                             noPlace + "\r\n" + placeFive + "\r\n</styles>\r\n</content>\r\n");
    RemoveAllCalendarOptions();
    RemoveAllCalendarStyleSets();

    MessageBoxRecorder boxes;
    Load();
    Load();
    EXPECT_EQ(boxes.Count(), 0u) << boxes.LastText();
    EXPECT_EQ(CalendarSettingsList().GetCount(), 1u) << "a reload replaces the records";
    EXPECT_EQ(CalendarStyleSetList().GetCount(), 1u);
    const CCalendarStyle& current = CurrentCalendarOptions();
    EXPECT_EQ(current.userID, User());
    EXPECT_EQ(current.transparency, 90);
    EXPECT_EQ(current.nrOfMonthsToShow, 1);
    EXPECT_EQ(current.weekdayTextColor, 456u);
    EXPECT_EQ(current.prevNextForeColor, 456u);
    EXPECT_EQ(current.monthOnTheLeft, 8) << "the options open on the current month";
    EXPECT_EQ(current.yearOnTheLeft, 2027);
    EXPECT_STREQ(current.backgroundImage, "plain.jpg");
    ASSERT_NE(current.daysFont.font, nullptr);
    EXPECT_NE(current.smallDaysFont.font, nullptr);

    const CCalendarStyleSet& set = CurrentCalendarStyleSet();
    const CCalendarStyle(&standardStyles)[9] = StandardCalendarStyles();
    EXPECT_EQ(set.userID, User());
    EXPECT_EQ(set.styles[2].dialogBackColor, 222u);
    EXPECT_EQ(set.styles[2].monthOnTheLeft, 4) << "a style keeps its month";
    EXPECT_EQ(set.styles[2].yearOnTheLeft, 2001);
    EXPECT_EQ(set.styles[5].transparency, 90);
    // The places no style filled keep the standard styles, fonts and all.
    for (int index : {0, 1, 3, 4, 6, 7, 8}) {
        EXPECT_EQ(set.styles[index].dialogBackColor, standardStyles[index].dialogBackColor) << index;
        EXPECT_EQ(set.styles[index].daysFont.font, standardStyles[index].daysFont.font) << index;
        EXPECT_STREQ(set.styles[index].backgroundImage, standardStyles[index].backgroundImage) << index;
    }
}

TEST_F(CalendarSettingsFileTest, ADamagedRecordIsSkippedAloneAndAnUnreadableFileKeptAside)
{
    const std::string standard = StandardFile();
    const std::string header = standard.substr(0, standard.find("<content>"));
    const std::string options = Element(standard, "options");
    const std::string other = WithElement(options, "userID", std::to_string(User() + 7));
    const size_t key = options.find("<hotkeyKey>");
    const std::string broken = options.substr(0, key) + options.substr(options.find("\r\n", key) + 2);
    const std::string own = WithElement(options, "dialogBackColor", "4242");
    // A style set whose second style lost a key of its days font.
    std::string styles = WithElement(Element(standard, "styles"), "dialogBackColor", "777");
    const size_t fontKey = styles.find("<calendarLeftLFWEIGHT>", styles.find("<style>", styles.find("<style>") + 1));
    styles = styles.substr(0, fontKey) + styles.substr(styles.find("\r\n", fontKey) + 2);
    const std::string file = header + "<content>\r\n" + other + "\r\n" + broken + "\r\n" + own + "\r\n" + styles +
                             "\r\n</content>\r\n";
    WriteWholeFile(File("calendar.QPD"), file);
    MessageBoxRecorder boxes;
    LoadCalendarSettingsFile();
    ASSERT_EQ(boxes.Count(), 1u);
    EXPECT_NE(boxes.LastText().find("calendar.QPD holds 2 entries that cannot be read; error.txt names them."),
              std::string::npos)
        << boxes.LastText();
    EXPECT_EQ(boxes.Boxes()[0].flags & kMbIconExclamation, static_cast<unsigned>(kMbIconExclamation));
    const std::string log = Read("error.txt");
    for (const std::string& entry :
         {"calendar.QPD: options 2 (userID \"" + std::to_string(User()) + "\") was skipped. ",
          std::string("\"content options hotkeyKey\""),
          std::string("calendar.QPD: style 2 of styles 1 (index \"1\") was skipped. "),
          std::string("calendarLeftLFWEIGHT")})
        EXPECT_NE(log.find(entry), std::string::npos) << entry << " in " << log;
    EXPECT_EQ(Read("calendar.QPD.bad"), file);
    EXPECT_EQ(Read("calendar.QPD"), file);
    // The other user's record and the user's own after the damaged one are
    // read; so are the sound styles of the set, the damaged one standard.
    ASSERT_EQ(CalendarSettingsList().GetCount(), 2u);
    EXPECT_EQ(CalendarSettingsList().GetFirst()->record.userID, User() + 7);
    EXPECT_EQ(CurrentCalendarOptions().userID, User());
    EXPECT_EQ(CurrentCalendarOptions().dialogBackColor, 4242u);
    ASSERT_EQ(CalendarStyleSetList().GetCount(), 1u);
    const CCalendarStyleSet& set = CurrentCalendarStyleSet();
    EXPECT_EQ(set.userID, User());
    EXPECT_EQ(set.styles[0].dialogBackColor, 777u);
    EXPECT_EQ(set.styles[1].dialogBackColor, StandardCalendarStyles()[1].dialogBackColor);
    EXPECT_EQ(set.styles[1].userID, User());

    // A "<" written as it stands makes the file unreadable: told once, kept
    // aside before anything writes over it, and standard.
    boxes.Clear();
    const std::string unreadable = WithElement(standard, "filterText", "<a&b>");
    WriteWholeFile(File("calendar.QPD"), unreadable);
    LoadCalendarSettingsFile();
    ASSERT_EQ(boxes.Count(), 1u);
    EXPECT_NE(boxes.LastText().find("calendar.QPD has been kept as \"calendar.QPD.bad2\". The program goes on with "
                                    "the standard calendar options and styles."),
              std::string::npos)
        << boxes.LastText();
    EXPECT_EQ(Read("calendar.QPD.bad2"), unreadable);
    EXPECT_EQ(CalendarSettingsList().GetCount(), 1u);
    EXPECT_EQ(CurrentCalendarOptions().userID, User());
    EXPECT_EQ(CalendarStyleSetList().GetCount(), 1u);
    SaveCalendarSettings();
    EXPECT_EQ(Read("calendar.QPD.bad2"), unreadable);
    LoadCalendarSettingsFile();
    EXPECT_EQ(boxes.Count(), 1u) << boxes.LastText();
}
