#include "sim/office/mBuiltInBars.h"

#include "sim/office/SimCommandBarControl.h"

namespace plexa::sim::mBuiltInBars {

namespace {

constexpr const wchar_t* kActionsCaption = L"&Actions";

std::wstring CaptionOf(int32_t id) {
    switch (id) {
        case 4:
            return L"&Print";
        case 354:
            return L"&Reply";
        case 355:
            return L"Reply to A&ll";
        case idForward:
            return L"&Forward";
        case idFollowUp:
            return L"Follow &Up";
        case 478:
            return L"&Delete";
        case idFolderOpen:
            return L"&Open";
        default:
            return L"Built-in " + std::to_wstring(id);
    }
}

void FillActions(SimCommandBar& menu, int32_t defaultItemType) {
    switch (defaultItemType) {
        case 1:
            menu.AddBuiltIn(msoControlButton, 1106, L"New &Appointment");
            break;
        case 2:
        case 7:
            menu.AddBuiltIn(msoControlButton, 1099, L"New &Contact");
            break;
        case 3:
            menu.AddBuiltIn(msoControlButton, 1100, L"New &Task");
            break;
        default:
            menu.AddBuiltIn(msoControlButton, 1757, L"&New Mail Message");
            break;
    }
    menu.AddBuiltIn(msoControlButton, idForward, CaptionOf(idForward));
    menu.AddBuiltIn(msoControlButton, idFollowUp, CaptionOf(idFollowUp));
}

}  // namespace

int32_t ActionsMenuId(int32_t defaultItemType) {
    switch (defaultItemType) {
        case 1:
            return 30142;
        case 2:
        case 7:
            return 30141;
        case 3:
            return 30149;
        case 4:
            return 30143;
        case 5:
            return 30146;
        default:
            return 30131;
    }
}

void AddExplorerBars(SimCommandBars& bars, int32_t defaultItemType) {
    auto menuBar = bars.AddBuiltInBar(L"Menu Bar", msoBarTypeMenuBar, true);
    menuBar->AddBuiltIn(msoControlPopup, 30002, L"&File");
    menuBar->AddBuiltIn(msoControlPopup, 30003, L"&Edit");
    menuBar->AddBuiltIn(msoControlPopup, 30004, L"&View");
    menuBar->AddBuiltIn(msoControlPopup, 30005, L"&Go");
    menuBar->AddBuiltIn(msoControlPopup, 30007, L"&Tools");
    auto actions =
        menuBar->AddBuiltIn(msoControlPopup, ActionsMenuId(defaultItemType), kActionsCaption);
    FillActions(*actions->PopupBar(), defaultItemType);
    menuBar->AddBuiltIn(msoControlPopup, 30010, L"&Help");

    auto standard = bars.AddBuiltInBar(L"Standard", msoBarTypeNormal, true);
    standard->AddBuiltIn(msoControlButton, 1757, L"&New");
    standard->AddBuiltIn(msoControlButton, 4, CaptionOf(4));
    standard->AddBuiltIn(msoControlButton, 478, CaptionOf(478));
    standard->AddBuiltIn(msoControlButton, 354, CaptionOf(354));

    auto context = bars.AddBuiltInBar(L"Context Menu", msoBarTypePopup, false);
    context->SetProtectionValue(msoBarNoCustomize);
    auto folderContext = bars.AddBuiltInBar(L"Folder Context Menu", msoBarTypePopup, false);
    folderContext->SetProtectionValue(msoBarNoCustomize);
}

void SetActionsMenu(SimCommandBars& bars, int32_t defaultItemType) {
    auto menuBar = bars.Find(L"Menu Bar");
    if (!menuBar) {
        return;
    }
    const int32_t id = ActionsMenuId(defaultItemType);
    std::shared_ptr<SimCommandBarControl> old;
    for (const auto& c : menuBar->Items()) {
        if (c->IsBuiltIn() && c->CaptionText() == kActionsCaption) {
            old = c;
            break;
        }
    }
    int32_t index = 0;
    if (old) {
        if (old->BuiltInId() == id) {
            return;
        }
        index = menuBar->IndexOf(*old);
        menuBar->Remove(*old);
        old->Kill();
    }
    auto actions = menuBar->AddControl(msoControlPopup, id, index, false, true);
    actions->Init(kActionsCaption);
    FillActions(*actions->PopupBar(), defaultItemType);
}

void AddInspectorBars(SimCommandBars& bars) {
    auto menuBar = bars.AddBuiltInBar(L"Menu Bar", msoBarTypeMenuBar, true);
    menuBar->AddBuiltIn(msoControlPopup, 30002, L"&File");
    menuBar->AddBuiltIn(msoControlPopup, 30003, L"&Edit");
    menuBar->AddBuiltIn(msoControlPopup, 30004, L"&View");
    menuBar->AddBuiltIn(msoControlPopup, 30005, L"&Insert");
    menuBar->AddBuiltIn(msoControlPopup, 30007, L"&Tools");
    menuBar->AddBuiltIn(msoControlPopup, 30010, L"&Help");
    auto standard = bars.AddBuiltInBar(L"Standard", msoBarTypeNormal, true);
    standard->AddBuiltIn(msoControlButton, 2617, L"&Send");
    standard->AddBuiltIn(msoControlButton, 3, L"&Save");
    standard->AddBuiltIn(msoControlButton, 4, CaptionOf(4));
    standard->AddBuiltIn(msoControlButton, 1757, L"Address &Book");
}

std::vector<int32_t> DefaultItemMenuIds() {
    return {4, 354, 355, idForward, idFollowUp, 478};
}

void FillItemContextMenu(SimCommandBar& bar, const std::vector<int32_t>& ids) {
    bar.ClearControls();
    for (int32_t id : ids) {
        bar.AddBuiltIn(msoControlButton, id, CaptionOf(id));
    }
}

void FillFolderContextMenu(SimCommandBar& bar, const std::wstring& folderName) {
    bar.ClearControls();
    bar.AddBuiltIn(msoControlButton, idFolderOpen, L"&Open \"" + folderName + L"\"");
    bar.AddBuiltIn(msoControlButton, 1700, L"Open in New &Window");
    bar.AddBuiltIn(msoControlButton, 478, L"&Delete \"" + folderName + L"\"");
}

}  // namespace plexa::sim::mBuiltInBars
