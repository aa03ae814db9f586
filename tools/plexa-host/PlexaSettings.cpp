#include "PlexaSettings.h"

#include "core/Text.h"

namespace plexa::host {

namespace {

const std::vector<SettingInfo>& Table() {
    using K = SettingKind;
    static const std::vector<SettingInfo> table = [] {
        std::vector<SettingInfo> t = {
            {L"DefaultSendMode", K::Number},
            {L"LANG", K::Text},
            {L"LANG_", K::Text},
            {L"ShowSeparatlyOptions", K::YesNo},
            {L"PreviewBeforeSend", K::YesNo},
            {L"ExcludeDuplicates", K::YesNo},
            {L"GroupRecipients", K::Number},
            {L"GroupInterval", K::Number},
            {L"IncludeCC", K::YesNo},
            {L"IncludeBCC", K::YesNo},
            {L"InspectorToolbar.BtnCaptions", K::YesNo},
            {L"InspectorToolbar.Separate", K::YesNo},
            {L"InspectorToolbar.Separate2007", K::YesNo},
            {L"ModifyDraftsView", K::YesNo},
            {L"FlagEnabled", K::YesNo},
            {L"ClearMarking", K::YesNo},
            {L"Flag", K::Number},
            {L"Flag2003", K::Number},
            {L"ExcludePrivateContacts", K::YesNo},
            {L"ExcludeReplied", K::YesNo},
            {L"ExcludeLinkItems", K::YesNo},
            {L"TestToolbar", K::Number},
            {L"UseDebugButtons", K::Number},
            {L"UseTransparentIcons", K::Number},
            {L"ToolbarButtonFace", K::Text},
            {L"ToolbarButtonMask", K::Text},
        };
        for (const wchar_t* bar : {L"ExplorerToolbar.", L"InspectorToolbar."}) {
            for (const wchar_t* part : {L"Position", L"RowIndex", L"Left", L"Top"}) {
                t.push_back({std::wstring(bar) + part, K::Number});
            }
        }
        for (const wchar_t* type : {L"", L"Mail", L"Appointment", L"Contact", L"Task", L"Journal",
                                    L"Note", L"Post", L"DistributionList"}) {
            t.push_back({std::wstring(L"CachedAction_") + type, K::Number});
        }
        return t;
    }();
    return table;
}

}  // namespace

std::optional<SettingInfo> FindSetting(std::wstring_view name) {
    for (const SettingInfo& info : Table()) {
        if (text::EqualsNoCase(info.name, name)) {
            return info;
        }
    }
    return std::nullopt;
}

std::vector<std::wstring> SettingNames() {
    std::vector<std::wstring> names;
    for (const SettingInfo& info : Table()) {
        names.push_back(info.name);
    }
    return names;
}

}  // namespace plexa::host
