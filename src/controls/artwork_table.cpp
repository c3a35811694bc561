#include "controls/artwork_table.h"

const TArtworkEntry* FindArtwork(std::string_view name, int index)
{
    for (const TArtworkEntry& e : kArtworkTable) {
        if (e.name == name && e.index == index) {
            return &e;
        }
    }
    return nullptr;
}

std::string_view ArtworkPath(std::string_view name, int index)
{
    const TArtworkEntry* e = FindArtwork(name, index);
    return e ? e->path : std::string_view();
}
