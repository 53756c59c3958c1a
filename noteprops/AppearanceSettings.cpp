#include "noteprops/AppearanceSettings.h"

#include "foundation/bytes/NumberCodes.h"

WORD TextureIdOfFile(const char* fileName)
{
    if (!fileName || !fileName[0])
        return 0;
    return static_cast<WORD>(ElfHash(fileName, lstrlenA(fileName)) % 10000);
}

std::string NoteRichTextOf(const CAppearanceSettings& settings)
{
    return settings.note ? settings.noteRichText : std::string();
}

SIZE NoteSizeOf(const CAppearanceSettings& settings)
{
    return settings.note ? settings.noteSize : SIZE{0, 0};
}
