// Reading the add-in's bitmap (.bmp) and icon (.ico) files into pixels, and scaling them, for the
// simulated resources. Only what Windows writes uncompressed is read: 1, 4, 8, 24 and 32 bits per
// pixel, bottom-up or top-down rows.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace plexa::sim {

// A picture's pixels, top row first: 0xRRGGBB colours, and for an icon the pixels its AND mask
// lets the background show through.
struct SimImage {
    int32_t width = 0;
    int32_t height = 0;
    int32_t bitCount = 0;
    std::vector<uint32_t> pixels;
    std::vector<bool> transparent;  // empty for a bitmap

    uint32_t Pixel(int32_t x, int32_t y) const { return pixels[y * width + x]; }
    bool IsTransparent(int32_t x, int32_t y) const {
        return !transparent.empty() && transparent[y * width + x];
    }
};

namespace mImageFiles {

// One image in an icon file's directory.
struct IconEntry {
    int32_t width = 0;
    int32_t height = 0;
    int32_t bitCount = 0;
    uint32_t offset = 0;
    uint32_t size = 0;
};

// A .bmp file; nothing when it is not one this reads.
std::optional<SimImage> ReadBitmapFile(std::string_view bytes);
// An .ico file's directory; empty when it is not an icon file.
std::vector<IconEntry> ReadIconDirectory(std::string_view bytes);
// One image of an .ico file, with its AND mask; nothing when it is damaged.
std::optional<SimImage> ReadIconImage(std::string_view bytes, const IconEntry& entry);
// The entry Windows would pick for cx by cy: the same size, or else the one whose size is
// closest (the larger of two equally close ones), the deepest colours among equals.
const IconEntry* ChooseIconImage(const std::vector<IconEntry>& entries, int32_t cx, int32_t cy);
// The image resized to width by height, each pixel taken from the nearest source pixel.
SimImage Scale(const SimImage& image, int32_t width, int32_t height);

}  // namespace mImageFiles
}  // namespace plexa::sim
