// What the add-in knows of the process it runs in.
#pragma once

#include <string>

namespace plexa {

class IHostInfo {
public:
    virtual ~IHostInfo() = default;
    // The host's version text, such as "12.0.0.6423". Throws HostError when it cannot be read.
    virtual std::wstring Version() = 0;
    // The folder the add-in is installed in (its language files lie there), without a
    // trailing separator.
    virtual std::wstring InstallationFolder() = 0;
};

}  // namespace plexa
