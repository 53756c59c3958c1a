#include "support/RuledTextReading.h"

#include <algorithm>

#include <gtest/gtest.h>

#include "foundation/bytes/NoteColors.h"
#include "support/NoteDriving.h"
#include "support/Screenshot.h"

namespace {
int RulesBetween(const TextAndRules& seen, int from, int to)
{
    return static_cast<int>(std::count_if(seen.rules.begin(), seen.rules.end(),
                                          [&](int row) { return row > from && row < to; }));
}
}

TextAndRules ReadTextAndRules(HWND window, COLORREF background, int inkLeft)
{
    TextAndRules seen;
    WaitUntilPainted(window);
    RECT area{};
    GetClientRect(window, &area);
    MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&area), 2);
    const int width = area.right - area.left, height = area.bottom - area.top;
    const std::vector<COLORREF> pixels = ScreenPixels(area);
    if (width <= 0 || pixels.size() != static_cast<size_t>(width) * height)
        return seen;
    const COLORREF tint = static_cast<COLORREF>(GetBackgroundTint(RGB(0, 0, 0)));
    auto at = [&](int x, int y) { return pixels[static_cast<size_t>(y) * width + x]; };
    const int ruleColumn = width - 30;
    for (int y = 0; y < height; ++y) {
        bool ink = false;
        for (int x = inkLeft; x < ruleColumn - 10 && !ink; ++x)
            ink = !CloseColour(at(x, y), background) && !CloseColour(at(x, y), tint);
        if (ink && !seen.lines.empty() && seen.lines.back().second == y - 1)
            seen.lines.back().second = y;
        else if (ink)
            seen.lines.push_back({y, y});
        if (ruleColumn > 0 && CloseColour(at(ruleColumn, y), tint))
            seen.rules.push_back(y);
    }
    return seen;
}

TextAndRules ReadLinesOnceShown(HWND window, COLORREF background, int inkLeft, size_t lines)
{
    TextAndRules seen;
    WaitUntil([&] { return (seen = ReadTextAndRules(window, background, inkLeft)).lines.size() == lines; });
    return seen;
}

void ExpectARuleUnderEachLine(const TextAndRules& seen, size_t lines, const std::string& what)
{
    SCOPED_TRACE(what);
    ASSERT_EQ(seen.lines.size(), lines);
    for (const auto& line : seen.lines)
        for (int row : seen.rules)
            EXPECT_FALSE(row >= line.first && row <= line.second)
                << "the rule at row " << row << " crosses the line of rows " << line.first << "-" << line.second;
    for (size_t i = 1; i < lines; ++i)
        EXPECT_EQ(RulesBetween(seen, seen.lines[i - 1].second, seen.lines[i].first), 1)
            << "between the lines ending at row " << seen.lines[i - 1].second;
    std::vector<int> below;
    for (int row : seen.rules)
        if (row > seen.lines.back().second)
            below.push_back(row);
    ASSERT_GE(below.size(), 3u) << "rules below the text";
    for (size_t i = 2; i < below.size(); ++i)
        EXPECT_EQ(below[i] - below[i - 1], below[1] - below[0]) << "below the text, at row " << below[i];
}

int RuleUnder(const TextAndRules& seen, size_t line)
{
    for (int row : seen.rules)
        if (line < seen.lines.size() && row > seen.lines[line].second)
            return row;
    return -1;
}

int BelowTextPitch(const TextAndRules& seen)
{
    if (seen.lines.empty())
        return 0;
    const int under = RuleUnder(seen, seen.lines.size() - 1);
    for (int row : seen.rules)
        if (under >= 0 && row > under)
            return row - under;
    return 0;
}
