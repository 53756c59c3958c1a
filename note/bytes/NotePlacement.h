#pragma once

#include <cstdint>

// Where a new note goes. Notes asked for without a place step down and to the
// right from (10, 30) by (120, 50), wrapping around the screen less the
// default note size; a place beyond the screen or far off it is replaced the
// same way. A place near the taskbar moves off it.

struct PlacementCounters {
    std::int32_t x = 10;
    std::int32_t y = 30;
};

struct PlacementRequest {
    std::int32_t x = 0;
    std::int32_t y = 0;
    bool blank = false;   // no place given
    bool forced = false;  // place from the counters whatever was given
    bool adjustForTaskbar = true;
    std::int32_t screenWidth = 0;   // the screen's size when the program started
    std::int32_t screenHeight = 0;
    std::int32_t boundRight = 0;    // beyond these the given place is not used
    std::int32_t boundBottom = 0;
    std::int32_t defaultWidth = 0;  // the user's default note size
    std::int32_t defaultHeight = 0;
    int taskbarEdge = 0;            // 0 elsewhere, 1 top, 2 left
};

struct Placement {
    std::int32_t x = 0;
    std::int32_t y = 0;
    bool usedCounters = false;  // the counters then move on
};

// The place of the note; advances the counters when they gave it. A default
// size as large as the screen (nothing to wrap within) places at (10, 30).
Placement PlaceNewNote(const PlacementRequest& request, PlacementCounters& counters);

// The taskbar's edge from its rectangle: 2 at the left (more than 400 high),
// 1 at the top (more than 600 wide), else 0; only a bar at its own origin
// corner (left equal to top) counts.
int TaskbarEdgeFromRect(std::int32_t left, std::int32_t top, std::int32_t right, std::int32_t bottom);
