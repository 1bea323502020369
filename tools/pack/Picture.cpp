#include "tools/pack/Picture.h"
#include "tools/pack/FontCheck.h"

#include <cairo.h>
#include <librsvg/rsvg.h>

#include <zlib.h>

#include <cmath>
#include <memory>
#include <stdexcept>
#include <string>

namespace pack {

namespace {

struct SurfaceDeleter {
    void operator()(cairo_surface_t* s) const { cairo_surface_destroy(s); }
};
struct ContextDeleter {
    void operator()(cairo_t* c) const { cairo_destroy(c); }
};
using SurfacePtr = std::unique_ptr<cairo_surface_t, SurfaceDeleter>;
using ContextPtr = std::unique_ptr<cairo_t, ContextDeleter>;

// Cairo keeps premultiplied 0xAARRGGBB words; TGA wants straight alpha.
Picture FromSurface(cairo_surface_t* surface) {
    cairo_surface_flush(surface);
    Picture picture;
    picture.width = cairo_image_surface_get_width(surface);
    picture.height = cairo_image_surface_get_height(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    const unsigned char* data = cairo_image_surface_get_data(surface);
    picture.rgba.resize(static_cast<std::size_t>(picture.width) * picture.height * 4);
    std::uint8_t* out = picture.rgba.data();
    for (int y = 0; y < picture.height; ++y) {
        const auto* row = reinterpret_cast<const std::uint32_t*>(data + static_cast<std::size_t>(y) * stride);
        for (int x = 0; x < picture.width; ++x, out += 4) {
            std::uint32_t p = row[x];
            unsigned a = p >> 24;
            unsigned r = (p >> 16) & 0xFF, g = (p >> 8) & 0xFF, b = p & 0xFF;
            if (a != 0 && a != 255) {
                r = std::min(255u, (r * 255 + a / 2) / a);
                g = std::min(255u, (g * 255 + a / 2) / a);
                b = std::min(255u, (b * 255 + a / 2) / a);
            } else if (a == 0) {
                r = g = b = 0;
            }
            out[0] = static_cast<std::uint8_t>(r);
            out[1] = static_cast<std::uint8_t>(g);
            out[2] = static_cast<std::uint8_t>(b);
            out[3] = static_cast<std::uint8_t>(a);
        }
    }
    return picture;
}

unsigned ParseColour(const std::string& text, const Line& at) {
    std::string hex = text[0] == '#' ? text.substr(1) : text;
    if (hex.size() == 3) hex = {hex[0], hex[0], hex[1], hex[1], hex[2], hex[2]};
    if (hex.size() != 6 || hex.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos)
        throw SourceError(at.file, at.number, "\"" + text + "\" is not a colour (#rrggbb)");
    return static_cast<unsigned>(std::stoul(hex, nullptr, 16));
}

// A character of 1..255 (Latin-1) in UTF-8, as cairo takes text.
std::string Utf8Of(int ch) {
    if (ch < 0x80) return std::string(1, static_cast<char>(ch));
    return {static_cast<char>(0xC0 | (ch >> 6)), static_cast<char>(0x80 | (ch & 0x3F))};
}

void SetColour(cairo_t* cr, unsigned rgb) {
    cairo_set_source_rgb(cr, ((rgb >> 16) & 0xFF) / 255.0, ((rgb >> 8) & 0xFF) / 255.0, (rgb & 0xFF) / 255.0);
}

}  // namespace

Picture RenderSvgText(const std::string& svg, const std::string& where, int density) {
    GError* error = nullptr;
    RsvgHandle* handle = rsvg_handle_new_from_data(reinterpret_cast<const guint8*>(svg.data()), svg.size(), &error);
    if (!handle) {
        std::string what = error ? error->message : "unreadable SVG";
        if (error) g_error_free(error);
        throw SourceError(where, 0, what);
    }
    std::unique_ptr<RsvgHandle, void (*)(RsvgHandle*)> owner(handle, [](RsvgHandle* h) { g_object_unref(h); });
    CheckSvgFonts(svg, where);
    gdouble w = 0, h = 0;
    if (!rsvg_handle_get_intrinsic_size_in_pixels(handle, &w, &h) || w < 1 || h < 1 || w > 4096 || h > 4096)
        throw SourceError(where, 0, "the SVG needs a width and a height in pixels (1 to 4096)");
    const int width = static_cast<int>(std::ceil(w)), height = static_cast<int>(std::ceil(h));
    SurfacePtr surface(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width * density, height * density));
    ContextPtr cr(cairo_create(surface.get()));
    cairo_scale(cr.get(), density, density);
    RsvgRectangle viewport{0, 0, static_cast<double>(width), static_cast<double>(height)};
    if (!rsvg_handle_render_document(handle, cr.get(), &viewport, &error)) {
        std::string what = error ? error->message : "the SVG could not be rendered";
        if (error) g_error_free(error);
        throw SourceError(where, 0, what);
    }
    return FromSurface(surface.get());
}

Picture RenderSvgPicture(const PictureSpec& spec, const Params& globals, int density) {
    std::string text = ReadTextFile(spec.svgPath);
    std::string svg = Substitute(text, {&spec.params, &globals}, true, spec.svgPath, 0);
    Picture picture = RenderSvgText(svg, spec.svgPath + " (used at " + spec.at.file + ":" +
                                             std::to_string(spec.at.number) + ")", density);
    ApplyOrigin(picture, spec.origin, spec.at, density);
    return picture;
}

void ApplyOrigin(Picture& picture, const std::string& rule, const Line& at, int density) {
    // The rule is applied to the 1x size, so that every density anchors alike.
    const int w = picture.width / density, h = picture.height / density;
    if (rule == "topleft") {
        picture.originX = picture.originY = 0;
    } else if (rule == "centre" || rule == "center") {
        picture.originX = -(w / 2);
        picture.originY = -(h / 2);
    } else if (rule == "top") {
        picture.originX = -(w / 2);
        picture.originY = 0;
    } else if (rule == "bottom") {
        picture.originX = -(w / 2);
        picture.originY = -h;
    } else if (rule == "left") {
        picture.originX = 0;
        picture.originY = -(h / 2);
    } else if (rule == "right") {
        picture.originX = -w;
        picture.originY = -(h / 2);
    } else {
        std::size_t comma = rule.find(',');
        if (comma == std::string::npos) throw SourceError(at.file, at.number, "unknown origin \"" + rule + "\"");
        picture.originX = static_cast<int>(ToNumber(rule.substr(0, comma), at));
        picture.originY = static_cast<int>(ToNumber(rule.substr(comma + 1), at));
    }
    picture.originX *= density;
    picture.originY *= density;
    if (picture.originX < -32768 || picture.originX > 32767 || picture.originY < -32768 || picture.originY > 32767)
        throw SourceError(at.file, at.number, "origin out of the 16-bit range");
}

std::vector<Picture> RenderFontGlyphs(const Params& p, const Line& at, int density) {
    auto text = [&](const char* key, const std::string& fallback) {
        auto it = p.find(key);
        return it == p.end() ? fallback : it->second;
    };
    auto code = [&](const char* key) {
        std::string value = text(key, "");
        // A character may be given as itself ("A") or as its code ("65").
        if (value.size() == 1 && (value[0] < '0' || value[0] > '9')) return static_cast<int>(static_cast<unsigned char>(value[0]));
        return static_cast<int>(ToNumber(value, at));
    };
    const int first = code("first"), last = code("last");
    if (first < 1 || last > 255 || last < first) throw SourceError(at.file, at.number, "font range out of 1..255");
    const double size = NumberParam(p, "size", 16, at);
    const unsigned colour = ParseColour(text("colour", "#ffffff"), at);
    const bool hasShadow = p.count("shadow") != 0;
    const unsigned shadow = hasShadow ? ParseColour(p.at("shadow"), at) : 0;
    const int shadowOffset = hasShadow ? static_cast<int>(NumberParam(p, "shadow-offset", 1, at)) : 0;
    const bool bold = text("weight", "normal") == "bold";
    const std::string face = text("face", "Liberation Sans");

    std::string characters;
    for (int ch = first; ch <= last; ++ch) characters += Utf8Of(ch);
    CheckFontCovers(face, bold, characters, at.file, at.number);

    SurfacePtr probe(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 1, 1));
    ContextPtr pcr(cairo_create(probe.get()));
    cairo_select_font_face(pcr.get(), face.c_str(), CAIRO_FONT_SLANT_NORMAL,
                           bold ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
    cairo_set_font_size(pcr.get(), size);
    cairo_font_extents_t fe;
    cairo_font_extents(pcr.get(), &fe);
    const int height = static_cast<int>(std::ceil(fe.ascent + fe.descent)) + shadowOffset;

    std::vector<Picture> glyphs;
    for (int ch = first; ch <= last; ++ch) {
        const std::string utf8 = Utf8Of(ch);
        cairo_text_extents_t te;
        cairo_text_extents(pcr.get(), utf8.c_str(), &te);
        const int width = std::max(1, static_cast<int>(std::ceil(te.x_advance)) + shadowOffset);
        SurfacePtr surface(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width * density, height * density));
        ContextPtr cr(cairo_create(surface.get()));
        cairo_scale(cr.get(), density, density);
        cairo_select_font_face(cr.get(), face.c_str(), CAIRO_FONT_SLANT_NORMAL,
                               bold ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
        cairo_set_font_size(cr.get(), size);
        if (hasShadow) {
            SetColour(cr.get(), shadow);
            cairo_move_to(cr.get(), shadowOffset, fe.ascent + shadowOffset);
            cairo_show_text(cr.get(), utf8.c_str());
        }
        SetColour(cr.get(), colour);
        cairo_move_to(cr.get(), 0, fe.ascent);
        cairo_show_text(cr.get(), utf8.c_str());
        Picture glyph = FromSurface(surface.get());
        ApplyOrigin(glyph, text("origin", "0,0"), at, density);
        glyphs.push_back(std::move(glyph));
    }
    return glyphs;
}

std::vector<std::uint8_t> EncodeRunLengthTga(const Picture& picture) {
    std::vector<std::uint8_t> out(18, 0);
    auto put16 = [&](std::size_t at, int value) {
        out[at] = static_cast<std::uint8_t>(value & 0xFF);
        out[at + 1] = static_cast<std::uint8_t>((value >> 8) & 0xFF);
    };
    out[2] = 10;  // run-length true colour
    put16(8, picture.originX);
    put16(10, picture.originY);
    put16(12, picture.width);
    put16(14, picture.height);
    out[16] = 32;
    out[17] = 0x20 | 8;  // top row first, 8 alpha bits

    // Packets never cross a row, as the format's readers are entitled to expect.
    auto pixel = [&](int x, int y) {
        const std::uint8_t* p = &picture.rgba[(static_cast<std::size_t>(y) * picture.width + x) * 4];
        return std::uint32_t(p[0]) << 24 | std::uint32_t(p[1]) << 16 | std::uint32_t(p[2]) << 8 | p[3];
    };
    auto putPixel = [&](std::uint32_t rgba) {
        out.push_back(static_cast<std::uint8_t>((rgba >> 8) & 0xFF));   // b
        out.push_back(static_cast<std::uint8_t>((rgba >> 16) & 0xFF));  // g
        out.push_back(static_cast<std::uint8_t>(rgba >> 24));           // r
        out.push_back(static_cast<std::uint8_t>(rgba & 0xFF));          // a
    };
    for (int y = 0; y < picture.height; ++y) {
        int x = 0;
        while (x < picture.width) {
            int run = 1;
            while (x + run < picture.width && run < 128 && pixel(x + run, y) == pixel(x, y)) ++run;
            if (run >= 2) {
                out.push_back(static_cast<std::uint8_t>(0x80 | (run - 1)));
                putPixel(pixel(x, y));
                x += run;
                continue;
            }
            // A raw packet: up to the next pair of equal pixels.
            int count = 1;
            while (x + count < picture.width && count < 128 &&
                   !(x + count + 1 < picture.width && pixel(x + count, y) == pixel(x + count + 1, y)))
                ++count;
            out.push_back(static_cast<std::uint8_t>(count - 1));
            for (int i = 0; i < count; ++i) putPixel(pixel(x + i, y));
            x += count;
        }
    }
    return out;
}

std::vector<std::uint8_t> EncodeDenseTga(const Picture& picture) {
    std::vector<std::uint8_t> out(18, 0);
    auto put16 = [&](std::size_t at, int value) {
        out[at] = static_cast<std::uint8_t>(value & 0xFF);
        out[at + 1] = static_cast<std::uint8_t>((value >> 8) & 0xFF);
    };
    out[2] = 2;  // raw true colour, the pixels compressed as a whole
    put16(8, picture.originX);
    put16(10, picture.originY);
    put16(12, picture.width);
    put16(14, picture.height);
    out[16] = 32;
    out[17] = 0x20 | 8;
    std::vector<std::uint8_t> bgra(picture.rgba.size());
    for (std::size_t i = 0; i < bgra.size(); i += 4) {
        bgra[i] = picture.rgba[i + 2];
        bgra[i + 1] = picture.rgba[i + 1];
        bgra[i + 2] = picture.rgba[i];
        bgra[i + 3] = picture.rgba[i + 3];
    }
    uLongf packed = compressBound(static_cast<uLong>(bgra.size()));
    out.resize(18 + packed);
    if (compress2(out.data() + 18, &packed, bgra.data(), static_cast<uLong>(bgra.size()), Z_BEST_COMPRESSION) != Z_OK)
        throw std::runtime_error("zlib could not compress a picture");
    out.resize(18 + packed);
    return out;
}

}  // namespace pack
