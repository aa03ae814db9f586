#include "ui/mExplorerButtons.h"

#include <cstdint>

#include "core/Variant.h"
#include "host/office/CommandBars.h"
#include "settings/CLang.h"
#include "settings/Services.h"
#include "ui/mIcons.h"

namespace plexa::mExplorer {

namespace {

struct ButtonLook {
    const wchar_t* caption;
    const wchar_t* tooltip;  // nullptr: none
    int32_t picture;
    int32_t mask;
    bool beginGroup;
};

ButtonPtr AddButton(Services& services, const ButtonPtr& popup, const std::wstring& tag,
                    const ButtonLook& look) {
    auto button = popup->GetCommandBar()->Controls()->Add(msoControlButton, 1, L"", 0, true);
    button->SetStyle(msoButtonIconAndCaption);
    button->SetCaption(services.Lang().Item(look.caption));
    if (look.tooltip != nullptr) {
        button->SetTooltipText(services.Lang().Item(look.tooltip));
    }
    if (!tag.empty()) {
        button->SetTag(tag);
    }
    if (look.beginGroup) {
        button->SetBeginGroup(true);
    }
    mIcons::SetButtonFace(services, button, Variant(look.picture), Variant(look.mask));
    return button;
}

}  // namespace

ButtonPtr AddBtnTO(Services& services, const ButtonPtr& popup, const std::wstring& tag) {
    return AddButton(services, popup, tag, {L"LID_CAPTION_TO", L"LID_TOOLTIP_TO", 101, 201, false});
}

ButtonPtr AddBtnCC(Services& services, const ButtonPtr& popup, const std::wstring& tag) {
    return AddButton(services, popup, tag, {L"LID_CAPTION_CC", L"LID_TOOLTIP_CC", 102, 202, false});
}

ButtonPtr AddBtnBCC(Services& services, const ButtonPtr& popup, const std::wstring& tag) {
    return AddButton(services, popup, tag,
                     {L"LID_CAPTION_BCC", L"LID_TOOLTIP_BCC", 103, 203, false});
}

ButtonPtr AddBtnNewDL(Services& services, const ButtonPtr& popup, const std::wstring& tag) {
    return AddButton(services, popup, tag,
                     {L"LID_CAPTION_NEWDL", L"LID_TOOLTIP_NEWDL", 104, 204, true});
}

ButtonPtr AddBtnNewDLFromFolder(Services& services, const ButtonPtr& popup,
                                const std::wstring& tag) {
    return AddButton(
        services, popup, tag,
        {L"LID_CAPTION_NEWDL_FROMFOLDER", L"LID_TOOLTIP_NEWDL_FROMFOLDER", 104, 204, false});
}

ButtonPtr AddBtnExistingDL(Services& services, const ButtonPtr& popup, const std::wstring& tag) {
    return AddButton(services, popup, tag,
                     {L"LID_CAPTION_EXISTINGDL", L"LID_TOOLTIP_EXISTINGDL", 105, 205, false});
}

ButtonPtr AddBtnOptions(Services& services, const ButtonPtr& popup, const std::wstring& tag) {
    return AddButton(services, popup, tag, {L"LID_CAPTION_OPTIONS", nullptr, 106, 206, true});
}

ButtonPtr AddBtnLastReport(Services& services, const ButtonPtr& popup, const std::wstring& tag) {
    return AddButton(services, popup, tag,
                     {L"LID_CAPTION_LAST_REPORT", L"LID_TOOLTIP_LAST_REPORT", 106, 206, false});
}

ButtonPtr AddBtnAbout(Services& services, const ButtonPtr& popup, const std::wstring& tag) {
    return AddButton(services, popup, tag, {L"LID_CAPTION_ABOUT", nullptr, 107, 207, true});
}

}  // namespace plexa::mExplorer
