#include "note/bytes/NotePlacement.h"

namespace {
const std::int32_t kFarOff = -1000000;
const std::int32_t kStepX = 120;
const std::int32_t kStepY = 50;
const std::int32_t kFallbackX = 10;
const std::int32_t kFallbackY = 30;

// The counter wrapped into the room the screen leaves for a default note;
// with no room left the note starts at the fallback place.
std::int32_t Wrap(std::int32_t counter, std::int32_t screen, std::int32_t noteSize, std::int32_t fallback)
{
    std::int32_t room = screen - noteSize;
    if (room <= 0)
        return fallback;
    std::int32_t place = counter % room;
    return place < 0 ? place + room : place;
}
}

Placement PlaceNewNote(const PlacementRequest& r, PlacementCounters& counters)
{
    Placement placed;
    placed.x = r.x;
    placed.y = r.y;
    const bool newX = r.blank || r.forced || r.x >= r.boundRight || r.x < kFarOff;
    const bool newY = r.blank || r.forced || r.y >= r.boundBottom || r.y < kFarOff;
    if (newX)
        placed.x = Wrap(counters.x, r.screenWidth, r.defaultWidth, kFallbackX);
    if (newY)
        placed.y = Wrap(counters.y, r.screenHeight, r.defaultHeight, kFallbackY);
    if (r.adjustForTaskbar) {
        if (r.taskbarEdge == 1 && placed.y >= -30 && placed.y < 30)
            placed.y = 35;
        else if (r.taskbarEdge == 2 && placed.x >= -30 && placed.x < 80)
            placed.x = 80;
    }
    placed.usedCounters = newX || newY;
    if (placed.usedCounters) {
        // Kept small, so that a long run never overflows the counters.
        counters.x = Wrap(counters.x + kStepX, r.screenWidth, r.defaultWidth, kFallbackX);
        counters.y = Wrap(counters.y + kStepY, r.screenHeight, r.defaultHeight, kFallbackY);
    }
    return placed;
}

int TaskbarEdgeFromRect(std::int32_t left, std::int32_t top, std::int32_t right, std::int32_t bottom)
{
    if (left != top)
        return 0;
    if (bottom - top > 400)
        return 2;
    if (right - left > 600)
        return 1;
    return 0;
}
