#pragma once

class INoteStrips;

// The chat strip, the send strip and the sending and chatting behind them, as
// a note window hosts them.
INoteStrips& NetworkNoteStrips();
