// The add-in's user settings, one property per setting. Every read and every write goes
// straight to the registry below HKEY_CURRENT_USER\Software\Orvin\Plexa (a few settings fall
// back to the same path below HKEY_LOCAL_MACHINE, which an administrator may fill), so a change
// made anywhere is seen by the next read everywhere. Nothing is cached, nothing is thrown or
// logged: a failed read gives the default, a failed write returns false.
//
// The class also serves the product's fixed identity (names and web page from the string table,
// the main icon and the logo) and the registry path the send-later queue builds on.
//
// Reading a property never writes, except UseTransparentIcons, ToolbarButtonFace,
// ToolbarButtonMask, TestToolbar and UseDebugButtons, which store their default on first read.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/IResources.h"

namespace plexa {

struct Platform;

class COptions {
public:
    explicit COptions(const Platform& ports);

    // Send mode given to new messages: 0 one message to all, 1 one copy per recipient.
    int32_t DefaultSendMode() const;
    bool DefaultSendMode(int32_t value);
    // The language: the user's LANG, else the machine's, else "EN".
    std::wstring LangID() const;
    bool LangID(const std::wstring& value);
    // The language file: the user's LANG_, else the machine's LANG_ when the user's LANG is the
    // machine's LANG.
    std::wstring LangFile() const;
    bool LangFile(const std::wstring& value);
    bool ShowSeparatlyOptions() const;
    bool ShowSeparatlyOptions(bool value);
    // Show every personal copy of a separate send before the confirmation (default off).
    bool PreviewBeforeSend() const;
    bool PreviewBeforeSend(bool value);
    bool ExcludeDuplicates() const;
    bool ExcludeDuplicates(bool value);
    int32_t GroupRecipients() const;
    bool GroupRecipients(int32_t value);
    // Minutes between two groups.
    int32_t GroupInterval() const;
    bool GroupInterval(int32_t value);
    bool IncludeCC() const;
    bool IncludeCC(bool value);
    bool IncludeBCC() const;
    bool IncludeBCC(bool value);
    bool ShowBtnCaptions() const;
    bool ShowBtnCaptions(bool value);
    bool SeparateBar() const;
    bool SeparateBar(bool value);
    bool SeparateTab() const;
    bool SeparateTab(bool value);
    bool UseTransparentIcons() const;
    std::wstring ToolbarButtonFace() const;
    std::wstring ToolbarButtonMask() const;
    // A one-shot request to change the Drafts view at the next connection.
    bool ModifyDraftsView() const;
    bool ModifyDraftsView(bool value);
    // Follow-up flag status (2 = marked) and, from Outlook 2003 on, its colour icon.
    int32_t Flag() const;
    bool Flag(int32_t value);
    int32_t Flag2003() const;
    bool Flag2003(int32_t value);
    bool MarkWithFlag() const;
    bool MarkWithFlag(bool value);
    bool ClearMarking() const;
    bool ClearMarking(bool value);
    // The flag request text; not a setting.
    std::wstring FlagText() const { return L"Review"; }
    bool ExcludePrivateContacts() const;
    bool ExcludePrivateContacts(bool value);
    bool ExcludeReplied() const;
    bool ExcludeReplied(bool value);
    bool ExcludeLinkItems() const;
    bool ExcludeLinkItems(bool value);
    // 1 when the stored value is 0 (the default, stored on first read), else 0.
    int32_t TestToolbar() const;
    // True when the stored value is 1; any value other than 0 or 1 is reset to 0.
    bool UseDebugButtons() const;

    // Toolbar position of folder windows (isExplorer) or message windows.
    bool WriteToolbarPos(bool isExplorer, int32_t position, int32_t rowIndex, int32_t left,
                         int32_t top);
    void ReadToolbarPos(bool isExplorer, int32_t& position, int32_t& rowIndex, int32_t& left,
                        int32_t& top) const;

    // The last action chosen for items of a type (0 Mail ... 7 DistributionList).
    bool SetCachedAction_(int32_t itemType, int32_t action);
    int32_t GetCachedAction_(int32_t itemType, int32_t defaultValue) const;

    // "Software\" + CompanyShortName + "\" + ProductShortName.
    std::wstring GetRegPath() const;

    // Whether the last number or flag read above could not reach the registry, so that it gave
    // its default for want of an answer (a missing value is an answer). Only for the dialog that
    // writes back what it read: it must not store a default it never saw.
    bool LastReadFailed() const { return m_lastReadFailed; }

    std::wstring ProductHomePage() const;
    std::wstring CompanyShortName() const;
    std::wstring ProductShortName() const;
    std::wstring ProductCode() const;
    // The dialogs' icon and the logo; null when the resource cannot be loaded.
    std::shared_ptr<IPictureDisp> MAIN_ICON() const;
    std::shared_ptr<IPictureDisp> LOGO() const;

private:
    // One registry access each, below HKEY_CURRENT_USER when perUser, else HKEY_LOCAL_MACHINE.
    int32_t GetDWORD(const std::wstring& name, int32_t defaultValue, bool perUser) const;
    bool SetDWORD(const std::wstring& name, int32_t value, bool perUser) const;
    std::wstring GetString(const std::wstring& name, const std::wstring& defaultValue,
                           bool perUser) const;
    bool SetString(const std::wstring& name, const std::wstring& value, bool perUser) const;

    bool GetFlag(const std::wstring& name, bool defaultValue) const;
    bool SetFlag(const std::wstring& name, bool value) const;
    std::wstring GetTextWithFallback(const std::wstring& name,
                                     const std::wstring& defaultValue) const;
    std::shared_ptr<IPictureDisp> LoadPicture(const std::wstring& name, ResPictureType type) const;

    const Platform& m_ports;
    mutable bool m_lastReadFailed = false;
};

}  // namespace plexa
