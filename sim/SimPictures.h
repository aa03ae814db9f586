// Pictures in the simulated file system: a file holds a picture when it starts like a bitmap
// ("BM") or an icon (00 00 01 00); a loaded picture keeps its bytes so it can be saved again.
#pragma once

#include <string>

#include "platform/IFileSystem.h"
#include "platform/IPictures.h"
#include "sim/Faults.h"

namespace plexa::sim {

class SimFilePicture : public IPictureDisp {
public:
    SimFilePicture(std::string bytes, int16_t type, uint32_t handle)
        : m_bytes(std::move(bytes)), m_type(type), m_handle(handle) {}
    uint32_t Handle() const override { return m_handle; }
    int16_t Type() const override { return m_type; }
    const std::string& Bytes() const { return m_bytes; }

private:
    std::string m_bytes;
    int16_t m_type;
    uint32_t m_handle;
};

class SimPictures : public IPictures {
public:
    SimPictures(IFileSystem& files, Faults& faults) : m_files(files), m_faults(faults) {}
    std::shared_ptr<IPictureDisp> LoadPicture(const std::wstring& path) override;
    void SavePicture(const std::shared_ptr<IPictureDisp>& picture,
                     const std::wstring& path) override;

private:
    IFileSystem& m_files;
    Faults& m_faults;
    uint32_t m_nextHandle = 0x2000;
};

}  // namespace plexa::sim
