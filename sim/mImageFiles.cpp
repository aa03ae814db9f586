#include "sim/mImageFiles.h"

#include <cstdlib>
#include <cstring>

namespace plexa::sim::mImageFiles {

namespace {

constexpr std::size_t kInfoHeaderSize = 40;  // BITMAPINFOHEADER
constexpr std::size_t kFileHeaderSize = 14;  // BITMAPFILEHEADER
constexpr std::size_t kIconDirEntrySize = 16;

uint32_t U16(std::string_view b, std::size_t at) {
    return static_cast<uint8_t>(b[at]) | (static_cast<uint8_t>(b[at + 1]) << 8);
}

uint32_t U32(std::string_view b, std::size_t at) {
    return U16(b, at) | (U16(b, at + 2) << 16);
}

int32_t I32(std::string_view b, std::size_t at) {
    const uint32_t u = U32(b, at);
    int32_t i = 0;
    std::memcpy(&i, &u, sizeof i);
    return i;
}

std::size_t Stride(int32_t width, int32_t bits) {
    return ((static_cast<std::size_t>(width) * bits + 31) / 32) * 4;
}

struct Dib {
    int32_t width = 0;
    int32_t height = 0;  // rows of colour (for an icon: half the header's height)
    bool topDown = false;
    int32_t bits = 0;
    std::vector<uint32_t> palette;
    std::size_t bitsAt = 0;  // where the colour rows begin
};

// The header and palette of a DIB at `at`. An icon's header counts its AND mask in the height.
std::optional<Dib> ReadDib(std::string_view b, std::size_t at, bool icon) {
    if (at + kInfoHeaderSize > b.size() || U32(b, at) < kInfoHeaderSize) {
        return std::nullopt;
    }
    Dib dib;
    const std::size_t headerSize = U32(b, at);
    dib.width = I32(b, at + 4);
    const int32_t height = I32(b, at + 8);
    dib.bits = static_cast<int32_t>(U16(b, at + 14));
    const uint32_t compression = U32(b, at + 16);
    uint32_t used = U32(b, at + 32);
    if (U16(b, at + 12) != 1 || compression != 0 || dib.width <= 0 || height == 0 ||
        dib.width > 4096 || std::abs(height) > 8192) {
        return std::nullopt;
    }
    if (dib.bits != 1 && dib.bits != 4 && dib.bits != 8 && dib.bits != 24 && dib.bits != 32) {
        return std::nullopt;
    }
    dib.topDown = height < 0;
    dib.height = std::abs(height) / (icon ? 2 : 1);
    if (dib.bits <= 8 && used == 0) {
        used = 1u << dib.bits;
    }
    if (used > 256) {
        return std::nullopt;
    }
    std::size_t p = at + headerSize;
    if (p + 4 * static_cast<std::size_t>(used) > b.size()) {
        return std::nullopt;
    }
    for (uint32_t i = 0; i < used; ++i, p += 4) {
        const auto blue = static_cast<uint8_t>(b[p]);
        const auto green = static_cast<uint8_t>(b[p + 1]);
        const auto red = static_cast<uint8_t>(b[p + 2]);
        dib.palette.push_back((red << 16) | (green << 8) | blue);
    }
    dib.bitsAt = p;
    return dib;
}

// The colour pixels of a DIB, top row first; false when the data is short or an index lies
// beyond the palette.
bool ReadColours(std::string_view b, const Dib& dib, SimImage& image) {
    const std::size_t stride = Stride(dib.width, dib.bits);
    if (dib.bitsAt + stride * dib.height > b.size()) {
        return false;
    }
    image.width = dib.width;
    image.height = dib.height;
    image.bitCount = dib.bits;
    image.pixels.assign(static_cast<std::size_t>(dib.width) * dib.height, 0);
    for (int32_t row = 0; row < dib.height; ++row) {
        const std::size_t rowAt = dib.bitsAt + stride * row;
        const int32_t y = dib.topDown ? row : dib.height - 1 - row;
        for (int32_t x = 0; x < dib.width; ++x) {
            uint32_t colour = 0;
            if (dib.bits >= 24) {
                const std::size_t p = rowAt + static_cast<std::size_t>(x) * (dib.bits / 8);
                colour = (static_cast<uint8_t>(b[p + 2]) << 16) |
                         (static_cast<uint8_t>(b[p + 1]) << 8) | static_cast<uint8_t>(b[p]);
            } else {
                const std::size_t bit = static_cast<std::size_t>(x) * dib.bits;
                const auto byte = static_cast<uint8_t>(b[rowAt + bit / 8]);
                const uint32_t index = (byte >> (8 - dib.bits - bit % 8)) & ((1u << dib.bits) - 1);
                if (index >= dib.palette.size()) {
                    return false;
                }
                colour = dib.palette[index];
            }
            image.pixels[static_cast<std::size_t>(y) * dib.width + x] = colour;
        }
    }
    return true;
}

}  // namespace

std::optional<SimImage> ReadBitmapFile(std::string_view bytes) {
    if (bytes.size() < kFileHeaderSize || bytes.substr(0, 2) != "BM") {
        return std::nullopt;
    }
    auto dib = ReadDib(bytes, kFileHeaderSize, false);
    if (!dib) {
        return std::nullopt;
    }
    dib->bitsAt = U32(bytes, 10);  // bfOffBits
    SimImage image;
    if (!ReadColours(bytes, *dib, image)) {
        return std::nullopt;
    }
    return image;
}

std::vector<IconEntry> ReadIconDirectory(std::string_view bytes) {
    std::vector<IconEntry> entries;
    if (bytes.size() < 6 || U16(bytes, 0) != 0 || U16(bytes, 2) != 1) {
        return entries;
    }
    const uint32_t count = U16(bytes, 4);
    if (6 + kIconDirEntrySize * count > bytes.size()) {
        return entries;
    }
    for (uint32_t i = 0; i < count; ++i) {
        const std::size_t at = 6 + kIconDirEntrySize * i;
        IconEntry entry;
        entry.width = static_cast<uint8_t>(bytes[at]) == 0 ? 256 : static_cast<uint8_t>(bytes[at]);
        entry.height =
            static_cast<uint8_t>(bytes[at + 1]) == 0 ? 256 : static_cast<uint8_t>(bytes[at + 1]);
        entry.bitCount = static_cast<int32_t>(U16(bytes, at + 6));
        entry.size = U32(bytes, at + 8);
        entry.offset = U32(bytes, at + 12);
        entries.push_back(entry);
    }
    return entries;
}

std::optional<SimImage> ReadIconImage(std::string_view bytes, const IconEntry& entry) {
    if (entry.offset >= bytes.size() || entry.size > bytes.size() - entry.offset) {
        return std::nullopt;
    }
    const std::string_view image = bytes.substr(entry.offset, entry.size);
    auto dib = ReadDib(image, 0, true);
    if (!dib || dib->topDown) {
        return std::nullopt;
    }
    SimImage out;
    if (!ReadColours(image, *dib, out)) {
        return std::nullopt;
    }
    // The AND mask follows the colours: one bit a pixel, bottom row first.
    const std::size_t maskAt = dib->bitsAt + Stride(dib->width, dib->bits) * dib->height;
    const std::size_t stride = Stride(dib->width, 1);
    if (maskAt + stride * dib->height > image.size()) {
        return std::nullopt;
    }
    out.transparent.assign(out.pixels.size(), false);
    for (int32_t row = 0; row < dib->height; ++row) {
        const int32_t y = dib->height - 1 - row;
        for (int32_t x = 0; x < dib->width; ++x) {
            const auto byte = static_cast<uint8_t>(image[maskAt + stride * row + x / 8]);
            out.transparent[static_cast<std::size_t>(y) * dib->width + x] =
                ((byte >> (7 - x % 8)) & 1) != 0;
        }
    }
    return out;
}

const IconEntry* ChooseIconImage(const std::vector<IconEntry>& entries, int32_t cx, int32_t cy) {
    const IconEntry* best = nullptr;
    int64_t bestDistance = 0;
    for (const IconEntry& e : entries) {
        const int64_t distance = std::abs(e.width - cx) + std::abs(e.height - cy);
        bool better = best == nullptr || distance < bestDistance;
        if (best != nullptr && distance == bestDistance) {
            better =
                e.width * e.height > best->width * best->height ||
                (e.width * e.height == best->width * best->height && e.bitCount > best->bitCount);
        }
        if (better) {
            best = &e;
            bestDistance = distance;
        }
    }
    return best;
}

SimImage Scale(const SimImage& image, int32_t width, int32_t height) {
    if (width == image.width && height == image.height) {
        return image;
    }
    SimImage out;
    out.width = width;
    out.height = height;
    out.bitCount = image.bitCount;
    out.pixels.resize(static_cast<std::size_t>(width) * height);
    if (!image.transparent.empty()) {
        out.transparent.resize(out.pixels.size());
    }
    for (int32_t y = 0; y < height; ++y) {
        // The source pixel under the centre of the target pixel.
        const int32_t sy = static_cast<int32_t>((2 * static_cast<int64_t>(y) + 1) * image.height /
                                                (2 * static_cast<int64_t>(height)));
        for (int32_t x = 0; x < width; ++x) {
            const int32_t sx =
                static_cast<int32_t>((2 * static_cast<int64_t>(x) + 1) * image.width /
                                     (2 * static_cast<int64_t>(width)));
            const std::size_t to = static_cast<std::size_t>(y) * width + x;
            out.pixels[to] = image.Pixel(sx, sy);
            if (!out.transparent.empty()) {
                out.transparent[to] = image.IsTransparent(sx, sy);
            }
        }
    }
    return out;
}

}  // namespace plexa::sim::mImageFiles
