#include "addin/GroupedSend.h"

#include <cstdio>
#include <memory>

#include "addin/Connect.h"
#include "host/outlook/Application.h"
#include "host/outlook/OlConstants.h"
#include "host/outlook/Recipients.h"
#include "host/redemption/Redemption.h"
#include "settings/Services.h"
#include "settings/mGlobals.h"

namespace plexa::test {

GroupedSend SendGrouped(Connect& connect, const std::vector<std::wstring>& addresses,
                        int32_t groupSize, int32_t intervalMinutes, const std::wstring& subject) {
    GroupedSend result;
    Services& services = connect.GetServices();
    CPleaseWait& wait = connect.PleaseWait();
    wait.ActionBegin();
    try {
        HostPorts& host = services.ConnectedHost();
        const auto outbox = host.application->Session()->GetDefaultFolder(olFolderOutbox);
        const auto safe = host.redemption->CreateSafeMailItem();
        OleDate sendTime = services.Ports().clock.NowLocal();
        int32_t group = 1;
        int32_t inGroup = 0;
        for (const std::wstring& address : addresses) {
            const auto copy =
                std::dynamic_pointer_cast<MailItem>(host.application->CreateItem(olMailItem));
            copy->SetSubject(subject + L" for " + address);
            copy->SetBody(L"Dear " + address + L",\r\nthe season's news.");
            copy->GetRecipients()->Add(address);
            copy->Save();
            if (++inGroup > groupSize) {
                ++group;
                inGroup = 1;
                sendTime = sendTime.DateAdd(L"n", intervalMinutes);
            }
            if (group < 2) {
                const auto moved = copy->Move(outbox);
                result.copyIds[address] = moved->EntryID();
                safe->SetItem(moved);
                safe->Send();
                safe->SetItem(nullptr);
                ++result.sentAtOnce;
            } else {
                const std::wstring entryId = copy->EntryID();
                result.copyIds[address] = entryId;
                connect.SendLaterList()->Add(sendTime, entryId);
                result.queued.push_back(entryId);
            }
        }
    } catch (const HostError& e) {
        mGlobals::LogError(L"mPlexaUpdate::DoPlexaAction", e);
    }
    wait.ActionEnd();
    return result;
}

std::vector<std::wstring> Addresses(int count) {
    std::vector<std::wstring> out;
    for (int i = 1; i <= count; ++i) {
        wchar_t buffer[32];
        std::swprintf(buffer, 32, L"person%03d@example.com", i);
        out.emplace_back(buffer);
    }
    return out;
}

}  // namespace plexa::test
