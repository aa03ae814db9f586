#include "ui/ExplorerWorld.h"

#include "host/outlook/OutlookItem.h"
#include "host/outlook/Recipients.h"
#include "separate/mUserProps.h"

namespace plexa::test {

std::shared_ptr<sim::ItemRecord> ExplorerWorld::Draft(const std::wstring& subject,
                                                      const std::vector<std::wstring>& to,
                                                      bool composed) {
    auto mail = std::dynamic_pointer_cast<MailItem>(desktop.host.application->CreateItem(0));
    mail->SetSubject(subject);
    for (const auto& name : to) {
        mail->GetRecipients()->Add(name);
    }
    if (composed) {
        mUserProps::SetShowToolbar(mail, false);
    }
    mail->Save();
    return session.FindItem(mail->EntryID());
}

}  // namespace plexa::test
