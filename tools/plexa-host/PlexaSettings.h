// The registry values that hold Plexa's settings (docs/settings.md), by name and kind, so that
// `setting NAME VALUE` writes a value of the type the add-in reads, and a misspelt name is an
// error rather than a value nobody reads.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace plexa::host {

enum class SettingKind { Number, YesNo, Text };

struct SettingInfo {
    std::wstring name;  // as the registry spells it
    SettingKind kind = SettingKind::Number;
};

// The setting of that name (letter case ignored, as the registry matches names).
std::optional<SettingInfo> FindSetting(std::wstring_view name);

// Every name, in the order docs/settings.md lists them.
std::vector<std::wstring> SettingNames();

}  // namespace plexa::host
