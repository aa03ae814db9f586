#include "separate/mUserProps.h"

#include <string>

#include "core/HostError.h"
#include "core/Variant.h"
#include "host/outlook/OlConstants.h"
#include "host/outlook/OutlookItem.h"
#include "settings/mGlobals.h"

namespace plexa::mUserProps {

namespace {

// The host's "Object variable not set": what every member of a missing item raises.
constexpr int32_t kObjectNotSet = 91;

std::shared_ptr<UserProperties> PropertiesOf(const std::shared_ptr<MailItem>& item) {
    if (!item) {
        throw HostError(kObjectNotSet, L"Object variable or With block variable not set",
                        L"mUserProps");
    }
    auto props = item->GetUserProperties();
    if (!props) {
        throw HostError(kObjectNotSet, L"The item has no user properties", L"mUserProps");
    }
    return props;
}

// Writes the property, creating it as text when missing. A property this call created and could
// not fill is taken away again: an empty one would read as a value that is no number.
void Write(const std::shared_ptr<MailItem>& item, const wchar_t* name, const Variant& value) {
    auto props = PropertiesOf(item);
    auto prop = props->Find(name);
    const bool added = !prop;
    if (added) {
        prop = props->Add(name, olText);
    }
    try {
        prop->SetValue(value);
    } catch (const HostError&) {
        if (added) {
            try {
                prop->Delete();
            } catch (const HostError&) {  // NOLINT(bugprone-empty-catch): the first error counts
            }
        }
        throw;
    }
}

void SaveIf(const std::shared_ptr<MailItem>& item, bool save) {
    if (save) {
        item->Save();
    }
}

// For the operations that take no notice of the host's refusals: each step runs on its own.
template <typename Step>
void Quietly(Step&& step) {
    try {
        step();
    } catch (const HostError&) {  // NOLINT(bugprone-empty-catch): these steps never report
    }
}

void Clear(const std::shared_ptr<MailItem>& item, const wchar_t* name, bool save) {
    std::shared_ptr<UserProperty> prop;
    Quietly([&] { prop = PropertiesOf(item)->Find(name); });
    if (prop) {
        Quietly([&] { prop->Delete(); });
    }
    if (save && item) {
        Quietly([&] { item->Save(); });
    }
}

}  // namespace

bool GetShowToolbar(const std::shared_ptr<MailItem>& item) {
    bool found = false;
    Quietly([&] { found = PropertiesOf(item)->Find(kShowToolbar) != nullptr; });
    return found;
}

void SetShowToolbar(const std::shared_ptr<MailItem>& item, bool save) {
    std::shared_ptr<UserProperty> prop;
    Quietly([&] { prop = PropertiesOf(item)->Find(kShowToolbar); });
    if (!prop) {
        // Only a marker made now gets its value: an existing one is never rewritten.
        std::shared_ptr<UserProperty> created;
        Quietly([&] { created = PropertiesOf(item)->Add(kShowToolbar, olText, false); });
        if (created) {
            Quietly([&] { created->SetValue(Variant(L"1")); });
        }
    }
    if (save && item) {
        Quietly([&] { item->Save(); });
    }
}

void ClearShowToolbar(const std::shared_ptr<MailItem>& item, bool save) {
    Clear(item, kShowToolbar, save);
}

int32_t ReadSendMode(const std::shared_ptr<MailItem>& item) {
    auto prop = PropertiesOf(item)->Find(kSendMode);
    if (!prop) {
        return SendModeAll;
    }
    return CLng(prop->Value());
}

int32_t GetSendMode(const std::shared_ptr<MailItem>& item) {
    try {
        return ReadSendMode(item);
    } catch (const HostError& e) {
        mGlobals::LogError(L"mUserProps::GetSendMode", e);
        return SendModeAll;
    }
}

void SetSendMode(const std::shared_ptr<MailItem>& item, int32_t mode, bool save) {
    try {
        Write(item, kSendMode, Variant(std::to_wstring(mode)));
        SaveIf(item, save);
    } catch (const HostError& e) {
        mGlobals::LogError(L"mUserProps::SetSendMode", e);
    }
}

void ClearSendMode(const std::shared_ptr<MailItem>& item, bool save) {
    Clear(item, kSendMode, save);
}

bool ReadGroupMode(const std::shared_ptr<MailItem>& item) {
    auto prop = PropertiesOf(item)->Find(kGroupMode);
    if (!prop) {
        return false;
    }
    return CLng(prop->Value()) != 0;
}

bool GetGroupMode(const std::shared_ptr<MailItem>& item) {
    try {
        return ReadGroupMode(item);
    } catch (const HostError& e) {
        mGlobals::LogError(L"mUserProps::GetGroupMode", e);
        return false;
    }
}

void setGroupMode(const std::shared_ptr<MailItem>& item, bool on, bool save) {
    try {
        Write(item, kGroupMode, Variant(on ? L"1" : L"0"));
        SaveIf(item, save);
    } catch (const HostError& e) {
        mGlobals::LogError(L"mUserProps::setGroupMode", e);
    }
}

void ClearGroupMode(const std::shared_ptr<MailItem>& item, bool save) {
    Clear(item, kGroupMode, save);
}

}  // namespace plexa::mUserProps
