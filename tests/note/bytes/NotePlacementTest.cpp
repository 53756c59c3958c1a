#include <gtest/gtest.h>

#include "note/bytes/NotePlacement.h"

namespace {
PlacementRequest BlankOn1024x768(std::int32_t defaultWidth = 200, std::int32_t defaultHeight = 200)
{
    PlacementRequest request;
    request.blank = true;
    request.screenWidth = 1024;
    request.screenHeight = 768;
    request.boundRight = 1019;
    request.boundBottom = 763;
    request.defaultWidth = defaultWidth;
    request.defaultHeight = defaultHeight;
    return request;
}
}

TEST(NotePlacement, NewNotesStepDownAndRightAndWrapWithinTheScreen)
{
    PlacementCounters counters;
    PlacementRequest request = BlankOn1024x768();
    const std::int32_t expected[][2] = {{10, 30}, {130, 80}, {250, 130}, {370, 180}, {490, 230}, {610, 280}};
    for (const auto& place : expected) {
        Placement placed = PlaceNewNote(request, counters);
        EXPECT_EQ(placed.x, place[0]);
        EXPECT_EQ(placed.y, place[1]);
        EXPECT_TRUE(placed.usedCounters);
    }
    // The seventh wraps: 730 mod (1024 - 200) stays, 330 mod (768 - 200) stays,
    // and after a few more both have wrapped below their rooms.
    for (int i = 0; i < 40; ++i) {
        Placement placed = PlaceNewNote(request, counters);
        EXPECT_GE(placed.x, 0);
        EXPECT_LT(placed.x, 1024 - 200);
        EXPECT_GE(placed.y, 0);
        EXPECT_LT(placed.y, 768 - 200);
    }
}

TEST(NotePlacement, GivenPlacesAreKeptUnlessOffTheScreenOrForced)
{
    PlacementCounters counters;
    PlacementRequest request = BlankOn1024x768();
    request.blank = false;
    request.x = -20;
    request.y = 400;
    Placement kept = PlaceNewNote(request, counters);
    EXPECT_EQ(kept.x, -20);
    EXPECT_EQ(kept.y, 400);
    EXPECT_FALSE(kept.usedCounters);
    EXPECT_EQ(counters.x, 10);

    request.x = 5000;
    Placement beyond = PlaceNewNote(request, counters);
    EXPECT_EQ(beyond.x, 10);
    EXPECT_EQ(beyond.y, 400);  // only the place that was off the screen is replaced
    request.x = -2000000;
    EXPECT_EQ(PlaceNewNote(request, counters).x, 130);
    request.x = 100;
    request.forced = true;
    EXPECT_EQ(PlaceNewNote(request, counters).x, 250);
}

TEST(NotePlacement, ADefaultSizeAsLargeAsTheScreenNeverDividesByZero)
{
    for (std::int32_t size : {1024, 1500, 0x7FFFFFFF}) {
        PlacementCounters counters;
        PlacementRequest request = BlankOn1024x768(size, size);
        for (int i = 0; i < 3; ++i) {
            Placement placed = PlaceNewNote(request, counters);
            EXPECT_EQ(placed.x, 10) << size;
            EXPECT_EQ(placed.y, 30) << size;
        }
    }
    PlacementCounters counters;
    PlacementRequest empty = BlankOn1024x768(0, 0);
    empty.screenWidth = 0;
    empty.screenHeight = -5;
    Placement placed = PlaceNewNote(empty, counters);
    EXPECT_EQ(placed.x, 10);
    EXPECT_EQ(placed.y, 30);
}

TEST(NotePlacement, NotesKeepOffTheTaskbar)
{
    EXPECT_EQ(TaskbarEdgeFromRect(0, 0, 1024, 30), 1);
    EXPECT_EQ(TaskbarEdgeFromRect(0, 0, 60, 768), 2);
    EXPECT_EQ(TaskbarEdgeFromRect(0, 738, 1024, 768), 0);
    EXPECT_EQ(TaskbarEdgeFromRect(0, 0, 500, 30), 0);

    PlacementCounters counters;
    PlacementRequest request = BlankOn1024x768();
    request.blank = false;
    request.x = 300;
    request.y = 10;
    request.taskbarEdge = 1;
    EXPECT_EQ(PlaceNewNote(request, counters).y, 35);
    request.y = 30;
    EXPECT_EQ(PlaceNewNote(request, counters).y, 30);
    request.x = -20;
    request.taskbarEdge = 2;
    EXPECT_EQ(PlaceNewNote(request, counters).x, 80);
    request.adjustForTaskbar = false;
    EXPECT_EQ(PlaceNewNote(request, counters).x, -20);
}
