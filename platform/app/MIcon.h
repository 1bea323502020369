#pragma once
// The program's window icons, drawn into surfaces from a compiled-in picture.

// A white die showing five, on a transparent ground, size x size pixels (an
// SDL_Surface owned by the caller's application); null when SDL cannot make it.
void* CreateIconSurface(int size);
void FreeIconSurface(void* icon);
