#pragma once

class CNoteController;

// The last line of a note's text names the file that came with the note:
// "Attached file: " and the file's path. The line is part of the text, so it
// is saved, shown and sent with the note like any other line (enciphered
// with the rest of a protected note's text). A masked note gets no such line.

extern const char kAttachmentLinePrefix[];

// Whether the note has an attached file that its last line does not name.
bool IsAttachmentLineOutOfDate(const CNoteController& note);

// Names the note's attached file in its last line: the last line is written
// again when it is an attachment line, else the line is added after it.
void RewriteAttachmentLine(CNoteController& note);

// The note's body writes its attachment line again when the line no longer
// names the file the note now carries.
void UpdateAttachmentLine(CNoteController& note);
