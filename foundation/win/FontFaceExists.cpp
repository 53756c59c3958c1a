#include "foundation/win/FontFaceExists.h"

#include <cstdio>
#include <cstring>

#include "foundation/CallbackGuard.h"

namespace {
struct FaceSearch {
    const char* face;
    bool found;
};

int CALLBACK CompareFamily(const LOGFONTA* family, const TEXTMETRICA*, DWORD, LPARAM context)
{
    return GuardCallback(0, [&] {
        FaceSearch* search = reinterpret_cast<FaceSearch*>(context);
        if (lstrcmpiA(family->lfFaceName, search->face) != 0)
            return 1;
        search->found = true;
        return 0;
    });
}
}

bool FontFaceExists(LOGFONTA* result, const char* face)
{
    std::snprintf(result->lfFaceName, sizeof result->lfFaceName, "%s", face ? face : "");
    LOGFONTA wanted = {};
    wanted.lfCharSet = DEFAULT_CHARSET;
    std::memcpy(wanted.lfFaceName, result->lfFaceName, sizeof wanted.lfFaceName);
    FaceSearch search = {result->lfFaceName, false};
    HDC screen = GetDC(nullptr);
    EnumFontFamiliesExA(screen, &wanted, CompareFamily, reinterpret_cast<LPARAM>(&search), 0);
    ReleaseDC(nullptr, screen);
    return search.found;
}
