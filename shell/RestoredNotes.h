#pragma once

#include <functional>

class CWindowController;
class CXMLBufferDocument;

// The notes of a parsed backup made anew, with their groups and their
// associations, then the backup's computers added to the destinations; the
// number of notes made. Unless silent the user is told how many came back.
// storeAll, when given, stores the notes in place of the ordinary save, all
// of them or none, before any group or program of theirs is written; when it
// answers false nothing more is done or told here (it has told the user),
// and the answer is -1.
int RestoreNotesFromXml(CWindowController& app, CXMLBufferDocument& document, int noteCount, bool silent,
                        const std::function<bool()>& storeAll = nullptr);
// The backup's computers into the destinations; false when the list could not be read whole.
bool RestoreComputersFromXml(CXMLBufferDocument& document);
