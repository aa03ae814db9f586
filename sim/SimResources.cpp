#include "sim/SimResources.h"

#include <algorithm>
#include <string_view>

#include "core/HostError.h"
#include "resources/Artwork.h"
#include "resources/StringTable.h"

namespace plexa::sim {

namespace {

using resources::ArtworkKind;

constexpr int32_t kLargestImage = 1024;

std::wstring Upper(std::wstring_view name) {
    std::wstring out(name);
    for (wchar_t& c : out) {
        if (c >= L'a' && c <= L'z') {
            c = static_cast<wchar_t>(c - L'a' + L'A');
        }
    }
    return out;
}

bool AllDigits(std::wstring_view name) {
    return !name.empty() &&
           std::all_of(name.begin(), name.end(), [](wchar_t c) { return c >= L'0' && c <= L'9'; });
}

// The number a text of digits names, as its digits without leading zeros; empty beyond 16 bits
// (no resource number is that large) and for 0.
std::wstring NumberKey(std::wstring_view digits) {
    unsigned long number = 0;
    for (wchar_t c : digits) {
        number = number * 10 + static_cast<unsigned long>(c - L'0');
        if (number > 0xFFFF) {
            return {};
        }
    }
    return number == 0 ? std::wstring() : std::to_wstring(number);
}

// How the module knows a resource: a number is kept as its digits ("101"), a name upper-cased.
// A text "#101" stands for the number; a number 0 names nothing.
std::wstring ResourceKey(const ResourceNameA& name) {
    if (const auto* number = std::get_if<uint16_t>(&name)) {
        return *number == 0 ? std::wstring() : std::to_wstring(*number);
    }
    const std::string& text = std::get<std::string>(name);
    std::wstring wide(text.begin(), text.end());
    if (wide.size() > 1 && wide[0] == L'#' && AllDigits(std::wstring_view(wide).substr(1))) {
        return NumberKey(std::wstring_view(wide).substr(1));
    }
    // A numbered resource is not found by a name made of its digits.
    return AllDigits(wide) ? std::wstring() : Upper(wide);
}

const resources::ArtworkFile* FindArtwork(ArtworkKind kind, const std::wstring& key) {
    for (const auto& file : resources::Artwork()) {
        if (file.kind == kind && Upper(file.name) == key) {
            return &file;
        }
    }
    return nullptr;
}

std::string_view Bytes(const resources::ArtworkFile& file) {
    return {reinterpret_cast<const char*>(file.bytes), file.size};
}

}  // namespace

SimResources::SimResources(Faults& faults) : m_faults(faults) {}

std::wstring SimResources::LoadResString(int id) {
    if (const auto own = m_strings.find(id); own != m_strings.end()) {
        return own->second;
    }
    const auto& table = resources::StringTable();
    const auto it = table.find(id);
    return it == table.end() ? std::wstring() : it->second;
}

uint32_t SimResources::Load(const std::wstring& key, uint32_t type, int32_t cx, int32_t cy,
                            SimImage& image) const {
    if (type == image::Cursor) {
        return reserr::ResourceTypeNotFound;  // the add-in carries no cursors
    }
    if ((type != image::Bitmap && type != image::Icon) || cx < 0 || cy < 0) {
        return reserr::InvalidParameter;
    }
    if (cx > kLargestImage || cy > kLargestImage) {
        return reserr::NotEnoughMemory;  // the simulation draws no posters
    }
    const auto* file =
        key.empty()
            ? nullptr
            : FindArtwork(type == image::Icon ? ArtworkKind::Icon : ArtworkKind::Bitmap, key);
    if (file == nullptr) {
        return reserr::ResourceNameNotFound;
    }
    std::optional<SimImage> loaded;
    if (type == image::Bitmap) {
        loaded = mImageFiles::ReadBitmapFile(Bytes(*file));
    } else {
        const auto entries = mImageFiles::ReadIconDirectory(Bytes(*file));
        if (!entries.empty()) {
            // 0 asks for the resource's own size: its first image's.
            const int32_t wantX = cx != 0 ? cx : entries.front().width;
            const int32_t wantY = cy != 0 ? cy : entries.front().height;
            loaded = mImageFiles::ReadIconImage(
                Bytes(*file), *mImageFiles::ChooseIconImage(entries, wantX, wantY));
        }
    }
    if (!loaded) {
        return reserr::InvalidData;
    }
    image =
        mImageFiles::Scale(*loaded, cx != 0 ? cx : loaded->width, cy != 0 ? cy : loaded->height);
    return 0;
}

ImageHandle SimResources::NewHandle() {
    m_nextHandle += 4;
    return m_nextHandle;
}

std::shared_ptr<IPictureDisp> SimResources::LoadResPicture(const std::wstring& name,
                                                           ResPictureType type) {
    m_faults.Check(L"Resources.LoadResPicture", name);
    const std::wstring key = AllDigits(name) ? NumberKey(name) : Upper(name);
    const bool icon = type == ResPictureType::Icon;
    SimImage image;
    const uint32_t error = Load(key, icon ? image::Icon : image::Bitmap, icon ? kSystemIconSize : 0,
                                icon ? kSystemIconSize : 0, image);
    if (error == reserr::InvalidData) {
        throw HostError(481, L"Invalid picture", L"Resources");
    }
    if (error != 0) {
        throw HostError(vberr::ResourceNotFound,
                        DescribeRuntimeError(vberr::ResourceNotFound) + L": " + name, L"Resources");
    }
    // The runtime's picture owns the handle it loaded.
    const ImageHandle handle = NewHandle();
    (*m_images)[handle] = LoadedImage{key, icon ? image::Icon : image::Bitmap, image, false};
    std::weak_ptr<ImageTable> table = m_images;
    return std::make_shared<SimPicture>(
        key, icon ? IPictureDisp::PicTypeIcon : IPictureDisp::PicTypeBitmap,
        static_cast<uint32_t>(handle), std::move(image), [table, handle] {
            if (auto images = table.lock()) {
                images->erase(handle);
            }
        });
}

ImageHandle SimResources::LoadImageA(const ResourceNameA& name, uint32_t type, int32_t cx,
                                     int32_t cy, uint32_t flags) {
    const std::wstring key = ResourceKey(name);
    try {
        m_faults.Check(L"Resources.LoadImageA", key);
    } catch (const HostError& e) {
        m_lastError = static_cast<uint32_t>(e.Number());
        return 0;
    }
    if (type == image::Icon && (flags & lr::DefaultSize) != 0) {
        cx = cx == 0 ? kSystemIconSize : cx;
        cy = cy == 0 ? kSystemIconSize : cy;
    }
    const bool shared = (flags & lr::Shared) != 0;
    const auto sharedKey = std::make_tuple(type, key, cx, cy);
    if (shared) {
        const auto it = m_shared.find(sharedKey);
        if (it != m_shared.end()) {
            return it->second;
        }
    }
    SimImage image;
    const uint32_t error = Load(key, type, cx, cy, image);
    if (error != 0) {
        m_lastError = error;
        return 0;
    }
    const ImageHandle handle = NewHandle();
    (*m_images)[handle] = LoadedImage{key, type, std::move(image), shared};
    if (shared) {
        m_shared[sharedKey] = handle;
    }
    return handle;
}

int32_t SimResources::OleCreatePictureIndirect(const PictDesc& desc, bool own,
                                               std::shared_ptr<IPictureDisp>& picture) {
    try {
        m_faults.Check(L"Resources.OleCreatePictureIndirect");
    } catch (const HostError& e) {
        return e.Number();
    }
    const auto it = m_images->find(desc.handle);
    const uint32_t wanted = desc.picType == IPictureDisp::PicTypeIcon     ? image::Icon
                            : desc.picType == IPictureDisp::PicTypeBitmap ? image::Bitmap
                                                                          : image::Cursor;
    if (it == m_images->end() || it->second.type != wanted) {
        return hres::InvalidArg;
    }
    std::function<void()> release;
    if (own && !it->second.shared) {
        std::weak_ptr<ImageTable> table = m_images;
        release = [table, handle = desc.handle] {
            if (auto images = table.lock()) {
                images->erase(handle);
            }
        };
    }
    picture = std::make_shared<SimPicture>(it->second.name, desc.picType,
                                           static_cast<uint32_t>(desc.handle), it->second.image,
                                           std::move(release));
    return hres::Ok;
}

}  // namespace plexa::sim
