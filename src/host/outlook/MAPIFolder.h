// The host's folder object, as far as the shared utilities need it; the object-model ports
// extend it.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "core/Variant.h"

namespace plexa {

// OlObjectClass values the add-in tests for.
inline constexpr int32_t olNamespace = 1;
inline constexpr int32_t olFolder = 2;

// Every object of the host's model reports its class.
class OutlookObject : public AutomationObject {
public:
    // The object's OlObjectClass.
    virtual int32_t Class() = 0;
};

class MAPIFolder : public OutlookObject {
public:
    std::wstring TypeName() const override { return L"MAPIFolder"; }
    int32_t Class() override { return olFolder; }
    // The folder's display name.
    virtual std::wstring Name() = 0;
    // The folder above, or the namespace for a store's top folder. Throws HostError.
    virtual std::shared_ptr<OutlookObject> Parent() = 0;
};

}  // namespace plexa
