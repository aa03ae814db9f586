#include "sim/FaultOps.h"

#include <map>

namespace plexa::sim {

namespace {

// One row: every member of every object named, as "Object.Member", on one port.
struct Row {
    const wchar_t* port;
    std::vector<const wchar_t*> objects;
    std::vector<const wchar_t*> members;
};

// The item classes of the client's object model, and what each offers.
const std::vector<const wchar_t*> kItems = {L"MailItem",        L"ContactItem", L"DistListItem",
                                            L"AppointmentItem", L"TaskItem",    L"NoteItem",
                                            L"JournalItem",     L"PostItem"};
// The safe-access objects of the security wrapper, one per item class it wraps.
const std::vector<const wchar_t*> kSafeItems = {L"SafeMailItem", L"SafeAppointmentItem",
                                                L"SafeTaskItem", L"SafeDistList"};

const std::vector<Row>& Rows() {
    static const std::vector<Row> rows = {
        // Windows services.
        {L"FileSystem",
         {L"FileSystem"},
         {L"Open", L"FindFiles", L"CreateDirectory", L"RemoveDirectory", L"DeleteFile",
          L"MoveFile"}},
        {L"FileSystem", {L"File"}, {L"Read", L"Write", L"Seek", L"LastWriteTimeUtc"}},
        {L"Clock",
         {L"Clock"},
         {L"NowUtc", L"NowLocal", L"GetTimeZoneInformation", L"Timer", L"Sleep"}},
        {L"Shell", {L"Shell"}, {L"GetSpecialFolderPath", L"HtmlHelpDisplayTopic", L"OpenDocument"}},
        {L"Random", {L"Random"}, {L"Rnd", L"Randomize"}},
        {L"HostInfo", {L"HostInfo"}, {L"Version"}},
        {L"Resources",
         {L"Resources"},
         {L"LoadResPicture", L"LoadImageA", L"OleCreatePictureIndirect"}},
        {L"Registry",
         {L"Registry"},
         {L"OpenKey", L"CreateKey", L"CloseKey", L"SetValue", L"QueryValue", L"DeleteValue",
          L"DeleteKey", L"FlushKey", L"EnumKey", L"EnumValue", L"SaveFile"}},
        {L"Pictures", {L"Pictures"}, {L"LoadPicture", L"SavePicture"}},
        {L"Clipboard",
         {L"Clipboard"},
         {L"OpenClipboard", L"CloseClipboard", L"EmptyClipboard", L"EnumClipboardFormats",
          L"IsClipboardFormatAvailable", L"GetClipboardFormatNameA", L"RegisterClipboardFormatA",
          L"GetClipboardData", L"SetClipboardData", L"GlobalAlloc", L"GlobalSize", L"GlobalLock",
          L"GlobalUnlock", L"GlobalFree", L"Clear", L"SetData"}},
        {L"Timers", {L"Timers"}, {L"SetTimer", L"KillTimer", L"GetTickCount"}},
        {L"UiShell", {L"UiShell"}, {L"MsgBox", L"Show", L"Hide", L"Unload"}},
        {L"Windows",
         {L"Windows"},
         {L"DoEvents", L"FindWindowA", L"SendMessageA", L"SystemParametersInfoA"}},
        {L"Keyboard", {L"Keyboard"}, {L"SendKeys"}},

        // The mail client's object model.
        {L"Outlook",
         {L"Application"},
         {L"Session", L"GetNamespace", L"ActiveExplorer", L"Explorers", L"Inspectors",
          L"CreateItem", L"Version"}},
        {L"Outlook",
         {L"NameSpace"},
         {L"Folders", L"GetDefaultFolder", L"GetFolderFromID", L"GetItemFromID", L"PickFolder",
          L"MAPIOBJECT"}},
        {L"Outlook", {L"Folders"}, {L"Count", L"Item"}},
        {L"Outlook",
         {L"MAPIFolder"},
         {L"Name", L"EntryID", L"StoreID", L"Parent", L"Folders", L"Items", L"DefaultItemType",
          L"CurrentView"}},
        {L"Outlook", {L"View"}, {L"XML", L"SetXML", L"Save"}},
        {L"Outlook",
         {L"Items"},
         {L"Count", L"Item", L"GetFirst", L"GetNext", L"Restrict", L"Sort", L"Add"}},
        {L"Outlook",
         kItems,
         {L"EntryID", L"Parent", L"MessageClass", L"Subject", L"SetSubject", L"Body", L"SetBody",
          L"Categories", L"Save", L"Saved", L"Display", L"Delete", L"Copy", L"Move", L"Close"}},
        {L"Outlook",
         {L"MailItem"},
         {L"HTMLBody", L"SetHTMLBody", L"BodyFormat", L"SetBodyFormat", L"Recipients",
          L"UserProperties", L"ReceivedTime", L"SenderName", L"Sensitivity", L"Send"}},
        {L"Outlook",
         {L"ContactItem"},
         {L"FullName", L"FirstName", L"MiddleName", L"LastName", L"Initials", L"NickName",
          L"CompanyName", L"Sensitivity"}},
        {L"Outlook", {L"DistListItem"}, {L"DLName", L"MemberCount"}},
        {L"Outlook", {L"AppointmentItem"}, {L"Organizer", L"ResponseStatus"}},
        {L"Outlook", {L"AppointmentItem", L"TaskItem"}, {L"Recipients", L"Links"}},
        {L"Outlook", {L"Recipients"}, {L"Count", L"Item", L"Add", L"Remove", L"ResolveAll"}},
        {L"Outlook",
         {L"Recipient"},
         {L"Name", L"Address", L"Type", L"SetType", L"Resolve", L"Resolved", L"AddressEntry",
          L"Delete"}},
        {L"Outlook", {L"AddressEntries"}, {L"Count", L"Item"}},
        {L"Outlook", {L"AddressEntry"}, {L"Name", L"Address", L"Type", L"Members"}},
        {L"Outlook", {L"UserProperties"}, {L"Count", L"Find", L"Add"}},
        {L"Outlook", {L"UserProperty"}, {L"Name", L"Value", L"SetValue", L"Delete"}},
        {L"Outlook", {L"Links"}, {L"Count", L"Item"}},
        {L"Outlook", {L"Link"}, {L"Name", L"Type", L"Item"}},
        {L"Outlook", {L"Explorers", L"Inspectors"}, {L"Count", L"Item"}},
        {L"Outlook", {L"Explorers"}, {L"Add"}},
        {L"Outlook",
         {L"Explorer"},
         {L"CommandBars", L"CurrentFolder", L"SetCurrentFolder", L"Selection", L"Activate",
          L"Close"}},
        {L"Outlook", {L"Selection"}, {L"Count", L"Item"}},
        {L"Outlook",
         {L"Inspector"},
         {L"CommandBars", L"CurrentItem", L"EditorType", L"IsWordMail", L"Close"}},

        // The security wrapper.
        {L"Redemption", {L"Redemption"}, {L"Create"}},
        {L"Redemption",
         {L"MAPIUtils"},
         {L"GetIDsFromNames", L"HrGetOneProp", L"HrSetOneProp", L"HrArrayToString",
          L"GetAddressEntryFromID"}},
        {L"Redemption", {L"MAPITable"}, {L"Item", L"FindFirst", L"GetRow"}},
        {L"Redemption",
         kSafeItems,
         {L"Item", L"Recipients", L"Fields", L"SetFields", L"Save", L"Subject", L"SetSubject",
          L"Body", L"SetBody", L"EntryID"}},
        {L"Redemption", {L"SafeMailItem"}, {L"HTMLBody", L"SetHTMLBody", L"BodyFormat", L"Send"}},
        {L"Redemption", {L"SafeAppointmentItem"}, {L"Organizer", L"ResponseStatus"}},
        {L"Redemption", {L"SafeRecipients"}, {L"Count", L"Item", L"Add", L"Remove", L"ResolveAll"}},
        {L"Redemption",
         {L"SafeRecipient"},
         {L"Name", L"Type", L"SetType", L"Resolve", L"Resolved", L"AddressEntry", L"Delete"}},
        {L"Redemption", {L"SafeAddressEntries"}, {L"Count", L"Item"}},
        {L"Redemption",
         {L"SafeAddressEntry"},
         {L"EntryID", L"Name", L"Address", L"Members", L"Fields"}},
        {L"Redemption", {L"RDOSession"}, {L"GetMessageFromID", L"MAPIOBJECT"}},
        {L"Redemption", {L"RDOMail"}, {L"Recipients", L"AddMember", L"Save"}},
        {L"Redemption", {L"RDORecipients", L"RDOAddressEntries"}, {L"Count", L"Item"}},
        {L"Redemption", {L"RDORecipient"}, {L"Name", L"Type", L"AddressEntry"}},
        {L"Redemption",
         {L"RDOAddressEntry"},
         {L"EntryID", L"Name", L"Address", L"Members", L"GetContact"}},

        // The client's command bars and ribbon.
        {L"Office", {L"CommandBars", L"CommandBarControls"}, {L"Count", L"Item", L"Add"}},
        {L"Office",
         {L"CommandBar"},
         {L"Name", L"Controls", L"FindControl", L"Position", L"SetPosition", L"RowIndex",
          L"SetRowIndex", L"Left", L"SetLeft", L"Top", L"SetTop", L"Visible", L"SetVisible",
          L"Protection", L"SetProtection", L"Delete"}},
        {L"Office",
         {L"CommandBarControl"},
         {L"Type",       L"Id",           L"Caption",     L"SetCaption",
          L"Tag",        L"SetTag",       L"TooltipText", L"SetTooltipText",
          L"Parameter",  L"SetParameter", L"BeginGroup",  L"SetBeginGroup",
          L"Enabled",    L"SetEnabled",   L"Visible",     L"SetVisible",
          L"Index",      L"Parent",       L"Delete",      L"CommandBar",
          L"FaceId",     L"SetFaceId",    L"PasteFace",   L"SetMask",
          L"SetPicture", L"State",        L"SetState",    L"Style",
          L"SetStyle"}},
        {L"Office", {L"RibbonUI"}, {L"Invalidate", L"InvalidateControl"}},

        // The add-in's companion components.
        {L"Companions", {L"Companion"}, {L"Create"}},
        {L"Companions", {L"CAdvSearch"}, {L"SyncSearch"}},
        {L"Companions", {L"Results"}, {L"Count", L"Item", L"Sort"}},
        {L"Companions", {L"ContextMenuEvents"}, {L"Init"}},
    };
    return rows;
}

struct Catalogue {
    std::vector<FaultPort> ports;
    std::map<std::wstring, std::wstring, std::less<>> portOf;
};

const Catalogue& TheCatalogue() {
    static const Catalogue catalogue = [] {
        Catalogue c;
        for (const Row& row : Rows()) {
            if (c.ports.empty() || c.ports.back().name != row.port) {
                c.ports.push_back(FaultPort{row.port, {}});
            }
            for (const wchar_t* object : row.objects) {
                for (const wchar_t* member : row.members) {
                    std::wstring op = std::wstring(object) + L"." + member;
                    if (c.portOf.emplace(op, row.port).second) {
                        c.ports.back().ops.push_back(std::move(op));
                    }
                }
            }
        }
        return c;
    }();
    return catalogue;
}

}  // namespace

const std::vector<FaultPort>& FaultCatalogue() {
    return TheCatalogue().ports;
}

bool IsFaultOp(std::wstring_view op) {
    const auto& portOf = TheCatalogue().portOf;
    return portOf.find(op) != portOf.end();
}

std::wstring_view FaultPortOf(std::wstring_view op) {
    const auto& portOf = TheCatalogue().portOf;
    const auto it = portOf.find(op);
    return it == portOf.end() ? std::wstring_view() : std::wstring_view(it->second);
}

}  // namespace plexa::sim
