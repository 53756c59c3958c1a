#pragma once

class CWindowController;
class CXMLBufferDocument;

// The notes of a parsed backup made anew, with their groups and their
// associations, then the backup's computers added to the destinations; the
// number of notes made. Unless silent the user is told how many came back.
int RestoreNotesFromXml(CWindowController& app, CXMLBufferDocument& document, int noteCount, bool silent);
// The backup's computers into the destinations; false when the list could not be read whole.
bool RestoreComputersFromXml(CXMLBufferDocument& document);
