// The favourites list's records: ordered insertion, copying and comparing.
#include <cstdio>

#include "globals/ProgramGlobals.h"

void InsertSortedByName(CRecordList<FavouriteItem>& list, const FavouriteItem& item)
{
    list.AddDescending(item);
}

void CopyFavouriteFileRecord(FavouriteItem& target, const FavouriteItem& source)
{
    std::snprintf(target.path, sizeof target.path, "%.259s", source.path);
    std::snprintf(target.name, sizeof target.name, "%.49s", source.name);
    target.imageIndex = source.imageIndex;
    target.ordinal = source.ordinal;
    target.kind = source.kind;
    target.listOrdinal = source.listOrdinal;
}

bool HasSameRecordId(const FavouriteItem& a, const FavouriteItem& b)
{
    return a.imageIndex == b.imageIndex;
}
