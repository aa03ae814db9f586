// The add-in's resources in the simulation: the compiled string table, and the bitmaps and icons
// compiled in from resources/ (src/resources/Artwork.h), served as the real module serves them.
// Bitmaps are numbered ("101") or named ("BTN_DRAFTS"), icons named ("MAIN_ICON"); names are
// compared without letter case. LoadImageA loads an image at exactly the asked size: the icon
// file's image of that size, or else the closest one scaled; each load hands out a new handle,
// except with lr::Shared, which gives the one handle of that image and size every time and never
// frees it. A handle lives until a picture that owns it is released.
//
// Faults: "Resources.LoadResPicture" throws; "Resources.LoadImageA" makes the call fail with the
// fault's number as its last error; "Resources.OleCreatePictureIndirect" makes the call return
// the fault's number as its HRESULT.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <tuple>

#include "platform/IResources.h"
#include "sim/Faults.h"
#include "sim/mImageFiles.h"

namespace plexa::sim {

// A picture of the simulated resources. Its handle is unique per load, as a GDI handle is; its
// pixels are there for tests (the real picture's size is in HIMETRIC, and only the simulation
// reads pixels).
class SimPicture : public IPictureDisp {
public:
    // A picture without pixels (tests make these to stand for any picture).
    SimPicture(std::wstring resourceName, int16_t type, uint32_t handle)
        : m_resourceName(std::move(resourceName)), m_type(type), m_handle(handle) {}
    // A picture over an image; release, when given, runs when the picture goes (the picture owns
    // its handle).
    SimPicture(std::wstring resourceName, int16_t type, uint32_t handle, SimImage image,
               std::function<void()> release = {})
        : m_resourceName(std::move(resourceName)),
          m_type(type),
          m_handle(handle),
          m_image(std::move(image)),
          m_release(std::move(release)) {}
    ~SimPicture() override {
        if (m_release) {
            m_release();
        }
    }
    SimPicture(const SimPicture&) = delete;
    SimPicture& operator=(const SimPicture&) = delete;

    uint32_t Handle() const override { return m_handle; }
    int16_t Type() const override { return m_type; }
    const std::wstring& ResourceName() const { return m_resourceName; }
    int32_t Width() const { return m_image.width; }
    int32_t Height() const { return m_image.height; }
    const SimImage& Image() const { return m_image; }

private:
    std::wstring m_resourceName;
    int16_t m_type;
    uint32_t m_handle;
    SimImage m_image;
    std::function<void()> m_release;
};

class SimResources : public IResources {
public:
    explicit SimResources(Faults& faults);
    std::wstring LoadResString(int id) override;
    std::shared_ptr<IPictureDisp> LoadResPicture(const std::wstring& name,
                                                 ResPictureType type) override;
    ImageHandle LoadImageA(const ResourceNameA& name, uint32_t type, int32_t cx, int32_t cy,
                           uint32_t flags) override;
    uint32_t GetLastError() override { return m_lastError; }
    int32_t OleCreatePictureIndirect(const PictDesc& desc, bool own,
                                     std::shared_ptr<IPictureDisp>& picture) override;

    // A string resource as another build of the add-in carries it (a rebranded product name),
    // in place of the shipped string table's text.
    void SetResString(int id, std::wstring text) { m_strings[id] = std::move(text); }

    // The system's icon size (SM_CXICON, SM_CYICON).
    static constexpr int32_t kSystemIconSize = 32;
    // Image handles alive now (loaded and not yet freed by an owning picture).
    std::size_t LiveImages() const { return m_images->size(); }
    bool IsLive(ImageHandle handle) const { return m_images->count(handle) != 0; }

private:
    struct LoadedImage {
        std::wstring name;
        uint32_t type = 0;  // image::
        SimImage image;
        bool shared = false;
    };
    using ImageTable = std::map<ImageHandle, LoadedImage>;

    // The image of the resource the key names (its number as digits, or its upper-cased name) at
    // cx by cy (0 for either: its own); 0, or a reserr:: code on failure.
    uint32_t Load(const std::wstring& key, uint32_t type, int32_t cx, int32_t cy,
                  SimImage& image) const;
    ImageHandle NewHandle();

    Faults& m_faults;
    std::map<int, std::wstring> m_strings;
    std::shared_ptr<ImageTable> m_images = std::make_shared<ImageTable>();
    std::map<std::tuple<uint32_t, std::wstring, int32_t, int32_t>, ImageHandle> m_shared;
    uint32_t m_nextHandle = 0x1000;
    uint32_t m_lastError = 0;
};

}  // namespace plexa::sim
