#pragma once

// The web search's currency pairs and the translation's language pairs, read
// at start from "webSearch.QPD" in the current folder when it is there. A
// file that cannot be read is logged; the tables then stay empty.
void LoadWebSearchConfig();
void LoadTextTranslationConfig();
