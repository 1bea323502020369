#include "platform/app/MIcon.h"

#include <SDL.h>

namespace {

// The icon as a 16 x 16 picture: '#' outline, '.' die face, 'o' pip, ' ' clear.
constexpr const char* kPicture[16] = {
    "                ",
    " ############## ",
    " #............# ",
    " #.oo......oo.# ",
    " #.oo......oo.# ",
    " #............# ",
    " #............# ",
    " #.....oo.....# ",
    " #.....oo.....# ",
    " #............# ",
    " #............# ",
    " #.oo......oo.# ",
    " #.oo......oo.# ",
    " #............# ",
    " ############## ",
    "                ",
};

Uint32 ColourOf(char c) {
    switch (c) {
    case '#': return 0xFF202040u;
    case '.': return 0xFFF4F0E6u;
    case 'o': return 0xFFB02020u;
    default: return 0x00000000u;
    }
}

}  // namespace

void* CreateIconSurface(int size) {
    if (size <= 0) return nullptr;
    SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormat(0, size, size, 32, SDL_PIXELFORMAT_ARGB8888);
    if (!surface) return nullptr;
    for (int y = 0; y < size; ++y) {
        auto* row = reinterpret_cast<Uint32*>(static_cast<Uint8*>(surface->pixels) + y * surface->pitch);
        for (int x = 0; x < size; ++x) row[x] = ColourOf(kPicture[y * 16 / size][x * 16 / size]);
    }
    return surface;
}

void FreeIconSurface(void* icon) { SDL_FreeSurface(static_cast<SDL_Surface*>(icon)); }
