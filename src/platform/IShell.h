// Shell folders.
#pragma once

#include <string>

namespace plexa {

inline constexpr int CSIDL_APPDATA = 26;

class IShell {
public:
    virtual ~IShell() = default;
    // The path of a special folder, as SHGetSpecialFolderPath gives it (possibly with a trailing
    // separator). Throws HostError when the folder is unknown.
    virtual std::wstring GetSpecialFolderPath(int csidl) = 0;
};

}  // namespace plexa
