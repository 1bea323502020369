// Renders the game's SVG icon into a square PNG of the size asked for, for the
// desktop's icon theme: render-icon <icon.svg> <out.png> <pixels>.

#include <cairo.h>
#include <librsvg/rsvg.h>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s icon.svg out.png pixels\n", argv[0]);
        return 2;
    }
    const int size = std::atoi(argv[3]);
    if (size < 1 || size > 1024) {
        std::fprintf(stderr, "%s: a size of 1 to 1024 pixels, please\n", argv[0]);
        return 2;
    }
    GError* error = nullptr;
    RsvgHandle* handle = rsvg_handle_new_from_file(argv[1], &error);
    if (!handle) {
        std::fprintf(stderr, "%s: %s\n", argv[1], error ? error->message : "cannot be read");
        return 1;
    }
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, size, size);
    cairo_t* cr = cairo_create(surface);
    const RsvgRectangle viewport{0, 0, static_cast<double>(size), static_cast<double>(size)};
    int result = 0;
    if (!rsvg_handle_render_document(handle, cr, &viewport, &error)) {
        std::fprintf(stderr, "%s: %s\n", argv[1], error ? error->message : "cannot be drawn");
        result = 1;
    } else if (cairo_surface_write_to_png(surface, argv[2]) != CAIRO_STATUS_SUCCESS) {
        std::fprintf(stderr, "%s: cannot be written\n", argv[2]);
        result = 1;
    }
    cairo_destroy(cr);
    cairo_surface_destroy(surface);
    g_object_unref(handle);
    return result;
}
