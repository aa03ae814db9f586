#include "sim/outlook/SimFolder.h"

#include <libxml/parser.h>
#include <libxml/tree.h>
#include <libxml/xmlerror.h>

#include <string>

#include "core/Text.h"
#include "host/outlook/OlConstants.h"
#include "sim/outlook/SimItems.h"

namespace plexa::sim {

SimFolder::SimFolder(SimOutlook& outlook, FolderRecord& folder)
    : m_outlook(outlook), m_folder(folder) {}

std::wstring SimFolder::Name() {
    m_outlook.Check(L"MAPIFolder.Name", m_folder.EntryID());
    return m_folder.Name();
}

std::shared_ptr<OutlookObject> SimFolder::Parent() {
    m_outlook.Check(L"MAPIFolder.Parent", m_folder.EntryID());
    if (m_folder.Parent() == nullptr) {
        return m_outlook.Namespace();
    }
    return m_outlook.Folder(*m_folder.Parent());
}

int32_t SimFolder::DefaultItemType() {
    m_outlook.Check(L"MAPIFolder.DefaultItemType", m_folder.EntryID());
    return m_folder.DefaultItemType();
}

std::wstring SimFolder::EntryID() {
    m_outlook.Check(L"MAPIFolder.EntryID", m_folder.EntryID());
    return m_folder.EntryID();
}

std::wstring SimFolder::StoreID() {
    m_outlook.Check(L"MAPIFolder.StoreID", m_folder.EntryID());
    return m_folder.Store().StoreID();
}

std::shared_ptr<Folders> SimFolder::GetFolders() {
    m_outlook.Check(L"MAPIFolder.Folders", m_folder.EntryID());
    std::vector<FolderRecord*> folders;
    for (const auto& sub : m_folder.Subfolders()) {
        folders.push_back(sub.get());
    }
    return std::make_shared<SimFolders>(m_outlook, std::move(folders));
}

std::shared_ptr<Items> SimFolder::GetItems() {
    m_outlook.Check(L"MAPIFolder.Items", m_folder.EntryID());
    return std::make_shared<SimItems>(m_outlook, m_folder);
}

std::shared_ptr<View> SimFolder::CurrentView() {
    m_outlook.Check(L"MAPIFolder.CurrentView", m_folder.EntryID());
    if (m_outlook.session.outlookMajorVersion < 10) {
        throw HostError(E_FAIL, L"Views are not available in this version.", L"Microsoft Outlook");
    }
    return std::make_shared<SimView>(m_outlook, m_folder);
}

SimFolders::SimFolders(SimOutlook& outlook, std::vector<FolderRecord*> folders)
    : m_outlook(outlook), m_folders(std::move(folders)) {}

int32_t SimFolders::Count() {
    m_outlook.Check(L"Folders.Count");
    return static_cast<int32_t>(m_folders.size());
}

std::shared_ptr<MAPIFolder> SimFolders::Item(int32_t index) {
    m_outlook.Check(L"Folders.Item", std::to_wstring(index));
    if (index < 1 || index > static_cast<int32_t>(m_folders.size())) {
        throw IndexError(index);
    }
    return m_outlook.Folder(*m_folders[static_cast<size_t>(index - 1)]);
}

namespace {

// libxml2 2.9 declares the handler with a non-const error.
void IgnoreXmlError(void* /*context*/, xmlError* /*error*/) {}

// Well-formed XML whose root element is "view".
bool IsViewDefinition(const std::wstring& xml) {
    const std::string utf8 = text::ToUtf8(xml);
    xmlSetStructuredErrorFunc(nullptr, IgnoreXmlError);
    xmlDocPtr doc = xmlReadMemory(utf8.data(), static_cast<int>(utf8.size()), "view.xml", "UTF-8",
                                  XML_PARSE_NONET);
    xmlSetStructuredErrorFunc(nullptr, nullptr);
    const xmlNode* root = doc == nullptr ? nullptr : xmlDocGetRootElement(doc);
    const bool ok = root != nullptr && xmlStrcmp(root->name, BAD_CAST "view") == 0;
    xmlFreeDoc(doc);
    return ok;
}

}  // namespace

SimView::SimView(SimOutlook& outlook, FolderRecord& folder)
    : m_outlook(outlook), m_folder(folder) {}

std::wstring SimView::DefaultXml(const FolderRecord& folder) {
    const StoreRecord& store = folder.Store();
    const bool outgoing = &folder == store.DefaultFolder(olFolderDrafts) ||
                          &folder == store.DefaultFolder(olFolderOutbox) ||
                          &folder == store.DefaultFolder(olFolderSentMail);
    std::wstring xml =
        L"<?xml version=\"1.0\"?>\r\n<view type=\"table\">\r\n"
        L"<viewname>Messages</viewname>\r\n<viewstyle>table-layout:fixed;width:100%</viewstyle>"
        L"\r\n<column><name>HREF</name><prop>DAV:href</prop><checkbox>1</checkbox></column>\r\n"
        L"<column><heading>Importance</heading><prop>urn:schemas:httpmail:importance</prop>"
        L"<type>i4</type><width>10</width></column>\r\n";
    if (outgoing) {
        xml +=
            L"<column><heading>To</heading><prop>urn:schemas:httpmail:displayto</prop>"
            L"<type>string</type><width>49</width></column>\r\n"
            L"<column><heading>Subject</heading><prop>urn:schemas:httpmail:subject</prop>"
            L"<type>string</type><width>236</width></column>\r\n"
            L"<column><heading>Modified</heading><prop>DAV:getlastmodified</prop>"
            L"<type>datetime</type><width>40</width></column>\r\n"
            L"<orderby><order><heading>Modified</heading><prop>DAV:getlastmodified</prop>"
            L"<type>datetime</type><sort>desc</sort></order></orderby>\r\n";
    } else {
        xml +=
            L"<column><heading>From</heading><prop>urn:schemas:httpmail:fromname</prop>"
            L"<type>string</type><width>49</width></column>\r\n"
            L"<column><heading>Subject</heading><prop>urn:schemas:httpmail:subject</prop>"
            L"<type>string</type><width>236</width></column>\r\n"
            L"<column><heading>Received</heading><prop>urn:schemas:httpmail:datereceived</prop>"
            L"<type>datetime</type><width>40</width></column>\r\n"
            L"<orderby><order><heading>Received</heading>"
            L"<prop>urn:schemas:httpmail:datereceived</prop><type>datetime</type>"
            L"<sort>desc</sort></order></orderby>\r\n";
    }
    xml += L"</view>\r\n";
    return xml;
}

std::wstring SimView::XML() {
    m_outlook.Check(L"View.XML", m_folder.EntryID());
    if (m_folder.viewXml.empty()) {
        m_folder.viewXml = DefaultXml(m_folder);
    }
    return m_folder.viewXml;
}

void SimView::SetXML(const std::wstring& xml) {
    m_outlook.Check(L"View.SetXML", m_folder.EntryID());
    // The client takes only a well-formed view definition, and keeps the one it had otherwise.
    if (!IsViewDefinition(xml)) {
        throw HostError(E_INVALIDARG, L"The view definition is not valid XML.",
                        L"Microsoft Outlook");
    }
    m_folder.viewXml = xml;
}

void SimView::Save() {
    m_outlook.Check(L"View.Save", m_folder.EntryID());
    if (m_folder.viewXml.empty()) {
        m_folder.viewXml = DefaultXml(m_folder);
    }
    m_folder.savedViewXml = m_folder.viewXml;
}

}  // namespace plexa::sim
