// The add-in's bitmap and icon resources (resources/bitmaps, resources/icons), compiled in as the
// real add-in has them in its module: each file's bytes under the resource's name.
#pragma once

#include <cstddef>
#include <span>

namespace plexa::resources {

enum class ArtworkKind { Bitmap, Icon };

struct ArtworkFile {
    ArtworkKind kind;
    // The resource name: the file name without extension ("101", "BTN_DRAFTS", "MAIN_ICON").
    const wchar_t* name;
    const unsigned char* bytes;
    std::size_t size;
};

// Every file, bitmaps first, each kind in file-name order.
std::span<const ArtworkFile> Artwork();

}  // namespace plexa::resources
