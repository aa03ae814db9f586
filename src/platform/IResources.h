// The add-in's own resources: the string table and the pictures (icons and bitmaps).
#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace plexa {

inline constexpr int IDS_PRODUCT_HOME_PAGE = 601;
inline constexpr int IDS_COMPANY_SHORT_NAME = 602;
inline constexpr int IDS_PRODUCT_SHORT_NAME = 603;
inline constexpr int IDS_PRODUCT_CODE = 604;

// The kind of picture resource asked for, as the host's LoadResPicture numbers it.
enum class ResPictureType { Bitmap = 0, Icon = 1 };

// A loaded picture, as the host's StdPicture: a GDI handle and the picture's type.
class IPictureDisp {
public:
    virtual ~IPictureDisp() = default;
    static constexpr int16_t PicTypeBitmap = 1;
    static constexpr int16_t PicTypeIcon = 3;
    virtual uint32_t Handle() const = 0;
    virtual int16_t Type() const = 0;
};

class IResources {
public:
    virtual ~IResources() = default;
    // The string resource with that id; empty when there is none.
    virtual std::wstring LoadResString(int id) = 0;
    // The icon or bitmap resource of that name. Throws HostError 326 (resource not found) when
    // the add-in has no such resource of that kind.
    virtual std::shared_ptr<IPictureDisp> LoadResPicture(const std::wstring& name,
                                                         ResPictureType type) = 0;
};

}  // namespace plexa
