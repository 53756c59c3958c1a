#pragma once

class CNoteController;

// A membership names its note by the note's record, so a group picked for a
// note that could not be stored yet waits on the note
// (CNoteController::m_waitingGroup) and the note joins it once stored. Joining
// writes the groups' file, which is the Note Manager's: its side registers
// the joiner when the program starts (shell/ProgramParts.cpp); without one
// the group goes on waiting.

using WaitingGroupJoiner = void (*)(CNoteController& note);
void SetWaitingGroupJoiner(WaitingGroupJoiner joiner);

// Called once the note's record is stored: the note joins the group that
// waits for it, when one does, on the main thread.
void JoinWaitingGroup(CNoteController& note);
