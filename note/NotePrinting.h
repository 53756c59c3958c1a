#pragma once

class CNoteController;

// Prints the note's text with its rich-text formatting, page after page.
// With askPrinter the print dialog chooses the printer (kept for the next
// notes); else the printer chosen last. 1 when printed, 0 when cancelled or
// there is no printer to print on.
int PrintNote(CNoteController& note, bool askPrinter);
