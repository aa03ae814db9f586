// The add-in's own resources: the string table (and, later, bitmaps and icons).
#pragma once

#include <string>

namespace plexa {

inline constexpr int IDS_PRODUCT_HOME_PAGE = 601;
inline constexpr int IDS_COMPANY_SHORT_NAME = 602;
inline constexpr int IDS_PRODUCT_SHORT_NAME = 603;
inline constexpr int IDS_PRODUCT_CODE = 604;

class IResources {
public:
    virtual ~IResources() = default;
    // The string resource with that id; empty when there is none.
    virtual std::wstring LoadResString(int id) = 0;
};

}  // namespace plexa
