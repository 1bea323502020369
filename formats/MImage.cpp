#include "formats/MImage.h"

#include "platform/core/CException.h"
#include "platform/storage/MFileMMIO.h"

#include <algorithm>

namespace {

constexpr int kTypeRaw = 2;
constexpr int kTypeRunLength = 10;
constexpr std::uint8_t kTopRowFirst = 0x20;

// Too little data for the pixels the header promises: the same report a short
// ReadBytes gives.
[[noreturn]] void Truncated() { throw CFileException("win32/MFileMMIO", 189); }

int Little16(const std::uint8_t* bytes) { return bytes[0] | bytes[1] << 8; }

// b, g, r[, a] from the file -> 0xRRGGBBAA; 24-bit pixels are opaque.
std::uint32_t ToRgba(const std::uint8_t* p, int bytesPerPixel) {
    std::uint32_t alpha = bytesPerPixel == 4 ? p[3] : 0xFFu;
    return static_cast<std::uint32_t>(p[2]) << 24 | static_cast<std::uint32_t>(p[1]) << 16 |
           static_cast<std::uint32_t>(p[0]) << 8 | alpha;
}

// Puts decoded pixels in place: row by row in file order, each file row landing
// on its top-first row.
class PixelPlacer {
public:
    PixelPlacer(std::vector<std::uint32_t>& pixels, int width, int height, bool bottomUp)
        : pixels(pixels), width(width), height(height), bottomUp(bottomUp) {
        StartRow();
    }

    std::size_t Left() const { return total - done; }

    // Puts count copies of one pixel (count <= Left()).
    void Repeat(std::uint32_t value, std::size_t count) {
        while (count > 0) {
            std::size_t piece = std::min(count, static_cast<std::size_t>(width - column));
            std::fill_n(rowStart + column, piece, value);
            Advance(piece);
            count -= piece;
        }
    }

    void Put(std::uint32_t value) { Repeat(value, 1); }

private:
    void StartRow() {
        if (row < height) {
            int target = bottomUp ? height - 1 - row : row;
            rowStart = pixels.data() + static_cast<std::size_t>(target) * width;
        }
    }

    void Advance(std::size_t count) {
        column += static_cast<int>(count);
        done += count;
        if (column == width) {
            column = 0;
            ++row;
            StartRow();
        }
    }

    std::vector<std::uint32_t>& pixels;
    int width;
    int height;
    bool bottomUp;
    std::size_t total = pixels.size();
    std::size_t done = 0;
    int row = 0;
    int column = 0;
    std::uint32_t* rowStart = nullptr;
};

void DecodeRaw(const std::vector<std::uint8_t>& data, int bytesPerPixel, PixelPlacer& placer) {
    for (std::size_t at = 0; placer.Left() > 0; at += bytesPerPixel) {
        placer.Put(ToRgba(data.data() + at, bytesPerPixel));
    }
}

void DecodeRunLength(const std::vector<std::uint8_t>& data, int bytesPerPixel, PixelPlacer& placer) {
    std::size_t at = 0;
    const std::size_t size = data.size();
    while (placer.Left() > 0) {
        if (at >= size) {
            Truncated();
        }
        std::uint8_t header = data[at++];
        // A packet that would run past the last pixel is cut there.
        std::size_t count = std::min<std::size_t>((header & 0x7Fu) + 1u, placer.Left());
        if (header & 0x80u) {
            if (size - at < static_cast<std::size_t>(bytesPerPixel)) {
                Truncated();
            }
            placer.Repeat(ToRgba(data.data() + at, bytesPerPixel), count);
            at += bytesPerPixel;
        } else {
            if ((size - at) / bytesPerPixel < count) {
                Truncated();
            }
            for (std::size_t i = 0; i < count; ++i, at += bytesPerPixel) {
                placer.Put(ToRgba(data.data() + at, bytesPerPixel));
            }
        }
    }
}

}  // namespace

int MImage::Load(MFileMMIO& file) {
    *this = MImage{};

    std::uint8_t head[3];
    file.ReadBytes(head, 3);
    const int idLength = head[0];
    const int type = head[2];
    if (type != kTypeRaw && type != kTypeRunLength) {
        return kResultUnsupportedImage;
    }
    std::uint8_t fields[13];  // offsets 3 to 15 of the header
    file.ReadBytes(fields, 13);
    const int colourMapLength = Little16(fields + 2);
    const auto xOrg = static_cast<std::int16_t>(Little16(fields + 5));
    const auto yOrg = static_cast<std::int16_t>(Little16(fields + 7));
    const int w = Little16(fields + 9);
    const int h = Little16(fields + 11);
    std::uint8_t pixelDepth = 0;
    file.ReadBytes(&pixelDepth, 1);
    if (pixelDepth != 32 && pixelDepth != 24) {
        return kResultUnsupportedImage;
    }
    std::uint8_t descriptorByte = 0;
    file.ReadBytes(&descriptorByte, 1);
    file.Seek(idLength + 4L * colourMapLength, kSeekCurrent);

    const int bytesPerPixel = pixelDepth / 8;
    const std::size_t count = static_cast<std::size_t>(w) * static_cast<std::size_t>(h);
    const long here = file.Tell();
    const std::size_t available = static_cast<std::size_t>(std::max(0L, file.Size() - here));
    if (here < 0) {
        Truncated();
    }

    // How many bytes to take, known to be in the file before anything is allocated.
    std::size_t take = 0;
    if (type == kTypeRaw) {
        take = count * bytesPerPixel;
    } else {
        // All that remains in the chunk, but never more than the longest
        // encoding of this many pixels (one raw packet per pixel) ...
        take = static_cast<std::size_t>(std::max(0L, file.Remaining()));
        take = std::min(take, count * (bytesPerPixel + 1));
        // ... and never less than the shortest (full 128-pixel runs).
        std::size_t shortest = (count + 127) / 128 * (bytesPerPixel + 1);
        if (take < shortest) {
            Truncated();
        }
    }
    if (take > available) {
        Truncated();
    }
    std::vector<std::uint8_t> data(take);
    // Pieces of at most 1 GiB, as one read is counted in an int.
    for (std::size_t done = 0; done < take;) {
        std::size_t piece = std::min<std::size_t>(take - done, 1u << 30);
        file.ReadBytes(data.data() + done, static_cast<int>(piece));
        done += piece;
    }

    std::vector<std::uint32_t> decoded(count);
    const bool rowsBottomUp = (descriptorByte & kTopRowFirst) == 0;
    PixelPlacer placer(decoded, w, h, rowsBottomUp);
    if (type == kTypeRaw) {
        DecodeRaw(data, bytesPerPixel, placer);
    } else {
        DecodeRunLength(data, bytesPerPixel, placer);
    }

    width = w;
    height = h;
    xOrigin = xOrg;
    yOrigin = yOrg;
    depth = pixelDepth;
    hasAlpha = pixelDepth == 32 ? 1 : 0;
    runLength = type == kTypeRunLength ? 1 : 0;
    bottomUp = rowsBottomUp ? 1 : 0;
    lastRow = h - 1;
    lastColumn = w - 1;
    descriptor = descriptorByte;
    pixels = std::move(decoded);
    return 0;
}

namespace {

void PutPixel(std::vector<std::uint8_t>& out, std::uint32_t rgba, int bytesPerPixel) {
    out.push_back(static_cast<std::uint8_t>(rgba >> 8));   // blue
    out.push_back(static_cast<std::uint8_t>(rgba >> 16));  // green
    out.push_back(static_cast<std::uint8_t>(rgba >> 24));  // red
    if (bytesPerPixel == 4) {
        out.push_back(static_cast<std::uint8_t>(rgba));
    }
}

void PutLittle16(std::vector<std::uint8_t>& out, int value) {
    out.push_back(static_cast<std::uint8_t>(value));
    out.push_back(static_cast<std::uint8_t>(value >> 8));
}

// Run-length packets for one row: runs of two or more equal pixels, raw
// packets between them, at most 128 pixels each.
void EncodeRow(std::vector<std::uint8_t>& out, const std::uint32_t* row, int width, int bytesPerPixel,
               std::uint32_t mask) {
    int x = 0;
    while (x < width) {
        int run = 1;
        while (x + run < width && run < 128 && (row[x + run] & mask) == (row[x] & mask)) {
            ++run;
        }
        if (run >= 2) {
            out.push_back(static_cast<std::uint8_t>(0x80 | (run - 1)));
            PutPixel(out, row[x], bytesPerPixel);
            x += run;
            continue;
        }
        int end = x + 1;
        while (end < width && end - x < 128 &&
               !(end + 1 < width && (row[end] & mask) == (row[end + 1] & mask))) {
            ++end;
        }
        out.push_back(static_cast<std::uint8_t>(end - x - 1));
        for (; x < end; ++x) {
            PutPixel(out, row[x], bytesPerPixel);
        }
    }
}

}  // namespace

std::vector<std::uint8_t> EncodeTga(const MImage& image, int type, int depth, bool bottomUp) {
    const int bytesPerPixel = depth == 24 ? 3 : 4;
    const int w = std::clamp(image.width, 0, 0xFFFF);
    const int h = std::clamp(image.height, 0, 0xFFFF);
    std::vector<std::uint8_t> out;
    out.reserve(18 + static_cast<std::size_t>(w) * h * bytesPerPixel);
    out.push_back(0);  // no identifier
    out.push_back(0);  // no colour map
    out.push_back(static_cast<std::uint8_t>(type == kTypeRunLength ? kTypeRunLength : kTypeRaw));
    out.insert(out.end(), 5, 0);  // colour-map fields
    PutLittle16(out, static_cast<std::uint16_t>(image.xOrigin));
    PutLittle16(out, static_cast<std::uint16_t>(image.yOrigin));
    PutLittle16(out, w);
    PutLittle16(out, h);
    out.push_back(static_cast<std::uint8_t>(bytesPerPixel * 8));
    out.push_back(static_cast<std::uint8_t>((bottomUp ? 0 : kTopRowFirst) | (bytesPerPixel == 4 ? 8 : 0)));
    if (image.pixels.size() < static_cast<std::size_t>(w) * h) {
        return out;  // no pixels to write: the header alone
    }
    // 24-bit output drops alpha, so runs compare colour only.
    const std::uint32_t mask = bytesPerPixel == 4 ? 0xFFFFFFFFu : 0xFFFFFF00u;
    for (int i = 0; i < h; ++i) {
        const int y = bottomUp ? h - 1 - i : i;
        const std::uint32_t* row = image.pixels.data() + static_cast<std::size_t>(y) * w;
        if (type == kTypeRunLength) {
            EncodeRow(out, row, w, bytesPerPixel, mask);
        } else {
            for (int x = 0; x < w; ++x) {
                PutPixel(out, row[x], bytesPerPixel);
            }
        }
    }
    return out;
}
