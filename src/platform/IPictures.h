// Pictures kept in files, as the host runtime's LoadPicture and SavePicture handle them.
#pragma once

#include <memory>
#include <string>

#include "platform/IResources.h"

namespace plexa {

class IPictures {
public:
    virtual ~IPictures() = default;
    // Loads a bitmap or icon file. Throws HostError 53 when the file is missing and 481
    // (Invalid picture) when it holds no picture.
    virtual std::shared_ptr<IPictureDisp> LoadPicture(const std::wstring& path) = 0;
    // Writes a picture to a file. Throws HostError when the picture or the file cannot be
    // written.
    virtual void SavePicture(const std::shared_ptr<IPictureDisp>& picture,
                             const std::wstring& path) = 0;
};

}  // namespace plexa
