#include "tools/pack/Preview.h"

#include "tools/pack/Picture.h"

#include <cairo.h>

#include <map>
#include <memory>

namespace pack {

namespace {

const ItemSpec& FindItem(const Manifest& manifest, int entry, int item, const Line& at) {
    for (const EntrySpec& e : manifest.entries)
        if (e.index == entry && e.sameAs < 0) {
            if (item < 1 || item > static_cast<int>(e.items.size()))
                throw SourceError(at.file, at.number, "entry " + std::to_string(entry) + " has no item " + std::to_string(item));
            return e.items[static_cast<std::size_t>(item - 1)];
        }
    throw SourceError(at.file, at.number, "no entry " + std::to_string(entry));
}

// Rendered frames of one item, made once.
class FrameCache {
public:
    explicit FrameCache(const Manifest& m) : manifest(m) {}
    const std::vector<Picture>& Frames(int entry, int item, const Line& at) {
        auto key = std::make_pair(entry, item);
        auto found = cache.find(key);
        if (found != cache.end()) return found->second;
        const ItemSpec& spec = FindItem(manifest, entry, item, at);
        std::vector<Picture> frames;
        if (spec.kind == ItemKind::Font && spec.renderedFont) frames = RenderFontGlyphs(spec.fontParams, spec.at);
        else if (spec.kind == ItemKind::Picture || spec.kind == ItemKind::Sprites || spec.kind == ItemKind::Font)
            for (const PictureSpec& f : spec.frames) frames.push_back(RenderSvgPicture(f, manifest.globals));
        else throw SourceError(at.file, at.number, "item is not a picture, array or font");
        return cache.emplace(key, std::move(frames)).first->second;
    }

private:
    const Manifest& manifest;
    std::map<std::pair<int, int>, std::vector<Picture>> cache;
};

void Paint(cairo_t* cr, const Picture& p, int left, int top) {
    cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, p.width, p.height);
    cairo_surface_flush(s);
    unsigned char* data = cairo_image_surface_get_data(s);
    const int stride = cairo_image_surface_get_stride(s);
    for (int y = 0; y < p.height; ++y) {
        auto* row = reinterpret_cast<std::uint32_t*>(data + static_cast<std::size_t>(y) * stride);
        for (int x = 0; x < p.width; ++x) {
            const std::uint8_t* q = &p.rgba[(static_cast<std::size_t>(y) * p.width + x) * 4];
            const unsigned a = q[3];
            row[x] = a << 24 | ((q[0] * a + 127) / 255) << 16 | ((q[1] * a + 127) / 255) << 8 | (q[2] * a + 127) / 255;
        }
    }
    cairo_surface_mark_dirty(s);
    cairo_set_source_surface(cr, s, left, top);
    cairo_paint(cr);
    cairo_surface_destroy(s);
}

int Int(const Line& line, std::size_t i) {
    if (i >= line.words.size()) throw SourceError(line.file, line.number, "a number is missing");
    return static_cast<int>(ToNumber(line.words[i], line));
}

}  // namespace

void WritePreview(const Manifest& manifest, const std::string& layoutPath, const std::string& pngPath) {
    std::vector<Line> lines = SplitLines(ReadTextFile(layoutPath), layoutPath);
    int width = 800, height = 600;
    if (!lines.empty() && lines[0].words[0] == "size") {
        width = Int(lines[0], 1);
        height = Int(lines[0], 2);
    }
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
    cairo_t* cr = cairo_create(surface);
    std::unique_ptr<cairo_surface_t, void (*)(cairo_surface_t*)> ownSurface(surface, cairo_surface_destroy);
    std::unique_ptr<cairo_t, void (*)(cairo_t*)> ownContext(cr, cairo_destroy);
    FrameCache frames(manifest);
    for (const Line& line : lines) {
        const std::string& word = line.words[0];
        if (word == "size") continue;
        if (word == "fill") {
            unsigned rgb = static_cast<unsigned>(std::stoul(line.words.at(1).substr(1), nullptr, 16));
            cairo_set_source_rgba(cr, (rgb >> 16) / 255.0, ((rgb >> 8) & 255) / 255.0, (rgb & 255) / 255.0, 0.6);
            cairo_paint(cr);
        } else if (word == "pic") {
            const auto& list = frames.Frames(Int(line, 1), Int(line, 2), line);
            const int frame = Int(line, 3);
            if (frame < 0 || frame >= static_cast<int>(list.size())) throw SourceError(line.file, line.number, "no such frame");
            const Picture& p = list[static_cast<std::size_t>(frame)];
            Paint(cr, p, Int(line, 4) + p.originX, Int(line, 5) + p.originY);
        } else if (word == "text") {
            if (line.words.size() < 7) throw SourceError(line.file, line.number, "text ENTRY ITEM X Y ALIGN TEXT");
            const auto& glyphs = frames.Frames(Int(line, 1), Int(line, 2), line);
            const ItemSpec& font = FindItem(manifest, Int(line, 1), Int(line, 2), line);
            if (!font.renderedFont) throw SourceError(line.file, line.number, "the item is not a rendered font");
            const std::string& firstText = font.fontParams.at("first");
            const int first = firstText.size() == 1 && (firstText[0] < '0' || firstText[0] > '9')
                                  ? static_cast<unsigned char>(firstText[0])
                                  : static_cast<int>(ToNumber(firstText, line));
            const std::string& text = line.words[6];
            int total = 0, tall = 0;
            for (unsigned char c : text) {
                const int i = c - first;
                if (i >= 0 && i < static_cast<int>(glyphs.size())) total += glyphs[static_cast<std::size_t>(i)].width, tall = glyphs[static_cast<std::size_t>(i)].height;
            }
            int x = Int(line, 3);
            if (line.words[5] == "centre") x -= total / 2;
            else if (line.words[5] == "right") x -= total;
            for (unsigned char c : text) {
                const int i = c - first;
                if (i < 0 || i >= static_cast<int>(glyphs.size())) continue;
                Paint(cr, glyphs[static_cast<std::size_t>(i)], x, Int(line, 4) - tall);
                x += glyphs[static_cast<std::size_t>(i)].width;
            }
        } else {
            throw SourceError(line.file, line.number, "expected size, fill, pic or text");
        }
    }
    if (cairo_surface_write_to_png(surface, pngPath.c_str()) != CAIRO_STATUS_SUCCESS)
        throw SourceError(pngPath, 0, "the PNG could not be written");
}

}  // namespace pack
