#include "addin/CMailItemWrapper.h"

#include "host/HostPorts.h"
#include "host/mapi/PropTags.h"
#include "host/outlook/Application.h"
#include "host/redemption/Redemption.h"
#include "settings/Services.h"
#include "settings/mGlobals.h"

namespace plexa {

namespace {

// The client's icon of a mail that was replied to.
constexpr int32_t kRepliedIcon = 261;

}  // namespace

void CMailItemWrapper::Init(const std::shared_ptr<MailItem>& item,
                            const std::vector<std::wstring>& entryIDs) {
    m_oItem.Set(item, [this](MailItem& m) {
        std::vector<Connection> c;
        c.push_back(m.OnSend.Connect([this](bool& cancel) { m_oItem_Send(cancel); }));
        c.push_back(m.OnWrite.Connect([this](bool& cancel) { m_oItem_Write(cancel); }));
        c.push_back(m.OnClose.Connect([this](bool& cancel) { m_oItem_Close(cancel); }));
        return c;
    });
    m_entryIDs = entryIDs;
    m_closed = false;
}

void CMailItemWrapper::Done() {
    m_oItem.Reset();
    m_entryIDs.clear();
}

bool CMailItemWrapper::IsEmpty() {
    if (!m_oItem) {
        return true;
    }
    if (m_closed) {
        Done();
        return true;
    }
    return false;
}

void CMailItemWrapper::ReplyOnce(const wchar_t* handler) {
    mGlobals::LogDebug(handler, L"->", 3);
    try {
        Reply();
    } catch (const HostError& e) {
        mGlobals::LogError(L"CMailItemWrapper::Reply", e);
    }
    // Marked once: the next save or send of the message leaves the sources alone.
    Done();
}

void CMailItemWrapper::m_oItem_Send(bool& /*cancel*/) {
    ReplyOnce(L"CMailItemWrapper::m_oItem_Send");
}

void CMailItemWrapper::m_oItem_Write(bool& /*cancel*/) {
    ReplyOnce(L"CMailItemWrapper::m_oItem_Write");
}

void CMailItemWrapper::m_oItem_Close(bool& /*cancel*/) {
    m_closed = true;
}

void CMailItemWrapper::Reply() {
    HostPorts& host = m_services.ConnectedHost();
    const auto utils = host.redemption->CreateMAPIUtils();
    const auto session = host.application->Session();
    for (const std::wstring& entryID : m_entryIDs) {
        std::shared_ptr<OutlookItem> mail;
        try {
            mail = session->GetItemFromID(entryID);
        } catch (const HostError& e) {
            mGlobals::LogDebug(
                L"CMailItemWrapper::Reply",
                mGlobals::sprintf(L"cant get mailitem from entryID = '%s', ErrNum=%d, ErrDesc=%s",
                                  entryID, e.Number(), e.Description()),
                2);
            continue;
        }
        utils->HrSetOneProp(mail, mapi::PR_ICON_INDEX, Variant(kRepliedIcon), true);
    }
}

}  // namespace plexa
