#include "sim/SimPictures.h"

#include "core/HostError.h"

namespace plexa::sim {

namespace {
constexpr int32_t kInvalidPicture = 481;
}

std::shared_ptr<IPictureDisp> SimPictures::LoadPicture(const std::wstring& path) {
    m_faults.Check(L"Pictures.LoadPicture", path);
    auto file = m_files.Open(path, FileAccess::Read, FileShareRead, FileCreation::OpenExisting);
    std::string bytes(static_cast<std::size_t>(file->Size()), '\0');
    bytes.resize(file->Read(bytes.data(), bytes.size()));
    int16_t type = 0;
    if (bytes.size() > 2 && bytes[0] == 'B' && bytes[1] == 'M') {
        type = IPictureDisp::PicTypeBitmap;
    } else if (bytes.size() > 4 && bytes.compare(0, 4, std::string("\0\0\1\0", 4)) == 0) {
        type = IPictureDisp::PicTypeIcon;
    } else {
        throw HostError(kInvalidPicture, L"Invalid picture: " + path, L"Pictures");
    }
    return std::make_shared<SimFilePicture>(std::move(bytes), type, m_nextHandle++);
}

void SimPictures::SavePicture(const std::shared_ptr<IPictureDisp>& picture,
                              const std::wstring& path) {
    m_faults.Check(L"Pictures.SavePicture", path);
    const auto* fromFile = dynamic_cast<const SimFilePicture*>(picture.get());
    if (fromFile == nullptr) {
        throw HostError(kInvalidPicture, L"Invalid picture", L"Pictures");
    }
    auto file = m_files.Open(path, FileAccess::Write, FileShareNone, FileCreation::CreateAlways);
    file->Write(fromFile->Bytes().data(), fromFile->Bytes().size());
}

}  // namespace plexa::sim
