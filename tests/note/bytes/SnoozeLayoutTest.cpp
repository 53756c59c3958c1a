// The lists of the snooze menus for every recurrence a note can hold: the
// recurrence is always the current item, the standard durations keep their
// order, and each extra item stands at its place among the standard ones.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "note/bytes/SnoozeLayout.h"

namespace {
// "5m 15m [45m] 1h ..." with the current item in brackets.
std::string Describe(const SnoozeLayout& layout)
{
    static const char* const kUnits[] = {"?", "m", "h", "d", "w", "mo", "wd"};
    std::string text;
    for (int i = 0; i < layout.count; ++i) {
        const SnoozePair& pair = layout.table.pairs[i];
        std::string item = std::to_string(pair.value) + (pair.unit >= 1 && pair.unit <= 6 ? kUnits[pair.unit] : "?");
        if (layout.textIndex[i] < 0)
            item = "(" + item + ")";
        text += (i ? " " : "") + (i == layout.table.current ? "[" + item + "]" : item);
    }
    return text;
}

// Rough length in minutes, to tell the order of durations of different units.
long Minutes(const SnoozePair& pair)
{
    static const long kPerUnit[] = {0, 1, 60, 1440, 10080, 43200, 1440};
    return pair.value * kPerUnit[pair.unit];
}

std::vector<int> StandardTexts(const SnoozeLayout& layout)
{
    std::vector<int> texts;
    for (int i = 0; i < layout.count; ++i) {
        if (layout.textIndex[i] >= 0)
            texts.push_back(layout.textIndex[i]);
    }
    return texts;
}
}

// The menu tests read the common cases back from the menus; these are the others.
TEST(SnoozeLayout, TheEdgeCasesOfTheNoteMenu)
{
    EXPECT_EQ(Describe(StandardSnoozeLayout(SnoozeMenuKind::kNote, 4)), "5m 15m 30m 1h [3h] 7h 12h 1d 3d 1wd 1w 1mo");
    EXPECT_EQ(Describe(StandardSnoozeLayout(SnoozeMenuKind::kNote, 40)), "[5m] 15m 30m 1h 3h 7h 12h 1d 3d 1wd 1w 1mo");
    EXPECT_EQ(Describe(LayOutSnoozeChoices(SnoozeMenuKind::kNote, 3, 7)),
              "5m 15m 30m 1h 3h 7h 12h 1d 3d [(7d)] 1wd 1mo");
    EXPECT_EQ(Describe(LayOutSnoozeChoices(SnoozeMenuKind::kNote, 2, 100)),
              "5m 15m 30m 1h 3h 7h 12h 1d 3d 1wd [(100h)] 1w 1mo");
    EXPECT_EQ(Describe(LayOutSnoozeChoices(SnoozeMenuKind::kNote, 3, 31)),
              "5m 15m 30m 1h 3h 7h 12h 1d 3d 1wd 1w 1mo [(31d)]");
    EXPECT_EQ(Describe(LayOutSnoozeChoices(SnoozeMenuKind::kNote, 1, 2)),
              "[(2m)] 5m 15m 30m 1h 3h 7h 12h 1d 3d 1wd 1w 1mo");
    EXPECT_FALSE(LayOutSnoozeChoices(SnoozeMenuKind::kNote, 7, 1).known);
    EXPECT_FALSE(LayOutSnoozeChoices(SnoozeMenuKind::kNote, 0, 1).known);
}

TEST(SnoozeLayout, TheEdgeCasesOfThePromptMenu)
{
    EXPECT_EQ(Describe(StandardSnoozeLayout(SnoozeMenuKind::kPrompt, 0)), "[5m] 15m 1h 3h 12h 1d 3d 1wd 1w 1mo");
    EXPECT_EQ(Describe(LayOutSnoozeChoices(SnoozeMenuKind::kPrompt, 1, 20)),
              "5m 15m [(20m)] 1h 3h 12h 1d 3d 1wd 1w 1mo");
    EXPECT_EQ(Describe(LayOutSnoozeChoices(SnoozeMenuKind::kPrompt, 1, 30)),
              "5m 15m [(30m)] 1h 3h 12h 1d 3d 1wd 1w 1mo");
    EXPECT_EQ(Describe(LayOutSnoozeChoices(SnoozeMenuKind::kPrompt, 2, 7)), "5m 15m 1h 3h [(7h)] 12h 1d 3d 1wd 1w 1mo");
    EXPECT_EQ(Describe(LayOutSnoozeChoices(SnoozeMenuKind::kPrompt, 1, 60)), "5m 15m [(60m)] 3h 12h 1d 3d 1wd 1w 1mo");
    EXPECT_EQ(Describe(LayOutSnoozeChoices(SnoozeMenuKind::kPrompt, 3, 7)), "5m 15m 1h 3h 12h 1d 3d [(7d)] 1wd 1mo");
    EXPECT_EQ(Describe(LayOutSnoozeChoices(SnoozeMenuKind::kPrompt, 2, 73)),
              "5m 15m 1h 3h 12h 1d 3d 1wd [(73h)] 1w 1mo");
    EXPECT_EQ(Describe(LayOutSnoozeChoices(SnoozeMenuKind::kPrompt, 4, 4)), "5m 15m 1h 3h 12h 1d 3d 1wd 1w [(4w)]");
    EXPECT_EQ(Describe(LayOutSnoozeChoices(SnoozeMenuKind::kPrompt, 5, 2)),
              "5m 15m 1h 3h 12h 1d 3d 1wd 1w 1mo [(2mo)]");
    EXPECT_EQ(Describe(LayOutSnoozeChoices(SnoozeMenuKind::kPrompt, 6, 5)), "5m 15m 1h 3h 12h 1d 3d 1wd [(5wd)] 1mo");
    EXPECT_EQ(Describe(LayOutSnoozeChoices(SnoozeMenuKind::kPrompt, 2, 2)), "5m 15m 1h [(2h)] 3h 12h 1d 3d 1wd 1w 1mo");
    EXPECT_EQ(Describe(LayOutSnoozeChoices(SnoozeMenuKind::kPrompt, 3, 2)), "5m 15m 1h 3h 12h 1d [(2d)] 3d 1wd 1w 1mo");
    EXPECT_EQ(Describe(LayOutSnoozeChoices(SnoozeMenuKind::kPrompt, 2, 12)), "5m 15m 1h 3h [12h] 1d 3d 1wd 1w 1mo");
}

// Every recurrence of every unit: the recurrence is the current item, the
// list has the standard length or one more, the standard items keep their
// order, a left-out item is as long as the item in its place, and an extra
// item stands between the durations around it (weekdays among days).
TEST(SnoozeLayout, EveryRecurrenceIsTheCurrentItemAtItsPlaceInTheOrder)
{
    for (SnoozeMenuKind kind : {SnoozeMenuKind::kNote, SnoozeMenuKind::kPrompt}) {
        const SnoozeLayout standard = StandardSnoozeLayout(kind, 0);
        const int standardCount = kind == SnoozeMenuKind::kNote ? 12 : 10;
        ASSERT_EQ(standard.count, standardCount);
        for (int unit = 1; unit <= 6; ++unit) {
            for (int value = 1; value <= 255; ++value) {
                const SnoozeLayout layout = LayOutSnoozeChoices(kind, unit, value);
                SCOPED_TRACE(Describe(layout));
                ASSERT_TRUE(layout.known);
                const SnoozePair& current = layout.table.pairs[layout.table.current];
                EXPECT_EQ(current.value, value);
                EXPECT_EQ(current.unit, unit);
                EXPECT_EQ(layout.count, standardCount + (layout.extraItem ? 1 : 0));
                for (int i = layout.count; i < kSnoozeTableSize; ++i)
                    EXPECT_EQ(layout.table.pairs[i].unit, -1);
                const std::vector<int> texts = StandardTexts(layout);
                for (size_t i = 1; i < texts.size(); ++i)
                    EXPECT_LT(texts[i - 1], texts[i]);
                if (layout.textIndex[layout.table.current] >= 0)
                    continue;
                if (!layout.extraItem) {
                    // The left-out standard item is the one as long as the recurrence.
                    bool replacedOne = false;
                    for (int i = 0; i < standard.count; ++i) {
                        bool listed = false;
                        for (int t : texts)
                            listed = listed || t == standard.textIndex[i];
                        if (!listed) {
                            EXPECT_FALSE(replacedOne);
                            replacedOne = true;
                            const long left = Minutes(standard.table.pairs[i]);
                            const long custom = Minutes(current);
                            // Weeks and months are as long as five weekdays and four weeks only roughly.
                            const int leftUnit = standard.table.pairs[i].unit;
                            EXPECT_TRUE(left == custom || leftUnit == kUnitWeeks || leftUnit == kUnitMonths)
                                << left << " " << custom;
                        }
                    }
                    EXPECT_TRUE(replacedOne);
                }
                const int at = layout.table.current;
                if (unit != kUnitWeekdays && at > 0 && layout.table.pairs[at - 1].unit != kUnitWeekdays) {
                    EXPECT_LE(Minutes(layout.table.pairs[at - 1]), Minutes(current));
                }
            }
        }
    }
}
