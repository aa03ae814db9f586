// What the folder-window commands need from the add-in above the features: the services, and
// the add-in's own objects and operations (the please-wait keeper, the send-later queue, the
// contact folders of the run, every window's recent-action button, the options and debug
// windows, the mail-item wrappers). Connect fills it once and hands it to the menus it builds;
// tests fill it with their own objects. A hook left empty is skipped where it only refreshes
// or notes something; the please-wait keeper and the contact folders are required by send-now.
#pragma once

#include <functional>
#include <memory>

namespace plexa {

class CPleaseWait;
class CSendLaterList;
class KeyedStrings;
class MailItem;
class Services;

namespace mContacts {
class CContactFolderList;
}

struct ExplorerHost {
    explicit ExplorerHost(Services& s) : services(s) {}

    Services& services;
    // gPleaseWait.
    std::function<CPleaseWait&()> pleaseWait;
    // gSendLaterList; nullptr when the add-in has none (send-now then cannot queue).
    std::function<CSendLaterList*()> sendLaterList;
    // The contact folders kept for the run of the add-in.
    std::function<mContacts::CContactFolderList&()> contactFolders;
    // Every folder window's recent-action button follows the stored action.
    std::function<void()> updateCachedAction;
    // The options dialog, modal; the message windows' buttons follow once it closes.
    std::function<void()> showOptions;
    // The developer's debug window.
    std::function<void()> showDebugForm;
    // A new message addressed to people from received mails: the mails get the replied icon
    // once the message is first sent or saved.
    std::function<void(const std::shared_ptr<MailItem>&, const KeyedStrings&)> addMailItemWrapper;
};

}  // namespace plexa
