#pragma once

// The transparency slider moves in steps of ten, with 5 % as the one step
// between: 1-4 of a ten round down, 6-9 up, 5 stays; under 5 is none.
int RoundTransparency(int percent);
