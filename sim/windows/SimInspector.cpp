#include "sim/windows/SimInspector.h"

#include "host/mapi/PropTags.h"
#include "host/outlook/OlConstants.h"
#include "sim/SimDesktop.h"

namespace plexa::sim {

SimInspector::SimInspector(SimDesktop& desktop, SimOutlook& outlook,
                           std::shared_ptr<ItemHandle> item, int32_t editorType)
    : m_desktop(desktop),
      m_outlook(outlook),
      m_item(std::move(item)),
      m_editor(m_item->Edit()),
      m_editorType(editorType) {}

void SimInspector::Live(const wchar_t* member) const {
    m_outlook.Check(std::wstring(L"Inspector.") + member, m_item->Stored()->EntryID());
    if (m_closed) {
        throw HostError(E_FAIL, L"The window has been closed.", L"Microsoft Outlook");
    }
}

std::shared_ptr<CommandBars> SimInspector::GetCommandBars() {
    Live(L"CommandBars");
    return m_bars;
}

std::shared_ptr<OutlookItem> SimInspector::CurrentItem() {
    Live(L"CurrentItem");
    if (m_item->Stored()->IsRemoved()) {
        throw ItemDeletedError();
    }
    return m_outlook.Item(m_item);
}

int32_t SimInspector::EditorType() {
    Live(L"EditorType");
    return m_editorType;
}

bool SimInspector::IsWordMail() {
    Live(L"IsWordMail");
    return m_editorType == olEditorWord;
}

void SimInspector::Close(int32_t saveMode) {
    Live(L"Close");
    if (saveMode < olSave || saveMode > olPromptForSave) {
        throw HostError(E_INVALIDARG, L"The close mode is not valid.", L"Microsoft Outlook");
    }
    m_desktop.CloseInspector(shared_from_this(), saveMode);
}

std::wstring SimInspector::WindowName() const {
    const std::wstring subject = m_item->Read().GetText(mapi::PR_SUBJECT);
    return L"Inspector '" + (subject.empty() ? std::wstring(L"Untitled") : subject) + L"'";
}

}  // namespace plexa::sim
