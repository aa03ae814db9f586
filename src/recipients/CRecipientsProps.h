// Placeholder values chosen per recipient address (such as a full name the user typed) and a
// default value per placeholder, so that separate sending asks the user once only. Property
// names are the placeholder tokens; every key compares without regard to letter case. Lives as
// long as its owner and is never written to disk.
#pragma once

#include <string>
#include <unordered_map>
#include <vector>

namespace plexa {

class CRecipientsProps {
public:
    // The remembered default and found = true, or "" and found = false.
    std::wstring GetDefaultValue(const std::wstring& propertyName, bool& found) const;
    // Replaces an earlier default.
    void SetDefaultValue(const std::wstring& propertyName, const std::wstring& value);
    // The stored value, or "".
    std::wstring GetProp(const std::wstring& address, const std::wstring& propertyName) const;
    // Replaces an earlier value.
    void SetProp(const std::wstring& address, const std::wstring& propertyName,
                 const std::wstring& value);
    // True when every named property is stored for the address (true for no names).
    bool HasProps(const std::wstring& address,
                  const std::vector<std::wstring>& propertyNames) const;
    bool HasProp(const std::wstring& address, const std::wstring& propertyName) const;

private:
    using Values = std::unordered_map<std::wstring, std::wstring>;  // by lower-cased name
    const std::wstring* Find(const std::wstring& address, const std::wstring& propertyName) const;

    std::unordered_map<std::wstring, Values> m_props;  // by lower-cased address
    Values m_defaults;
};

}  // namespace plexa
