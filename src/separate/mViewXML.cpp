#include "separate/mViewXML.h"

#include <libxml/parser.h>
#include <libxml/tree.h>
#include <libxml/xmlerror.h>
#include <libxml/xmlsave.h>

#include <string>

#include "core/HostError.h"
#include "core/Text.h"
#include "host/outlook/Application.h"
#include "host/outlook/MAPIFolder.h"
#include "host/outlook/OlConstants.h"
#include "settings/Services.h"
#include "settings/mGlobals.h"
#include "settings/mMisc.h"

namespace plexa {

namespace {

constexpr int32_t kDomError = static_cast<int32_t>(0x8007000E);  // E_OUTOFMEMORY

xmlDocPtr AsDoc(void* p) {
    return static_cast<xmlDocPtr>(p);
}

xmlNodePtr AsNode(void* p) {
    return static_cast<xmlNodePtr>(p);
}

const xmlChar* X(const char* s) {
    return reinterpret_cast<const xmlChar*>(s);
}

std::string Utf8(const std::wstring& s) {
    return text::ToUtf8(s);
}

std::wstring Wide(const xmlChar* s) {
    return s == nullptr ? std::wstring() : text::FromUtf8(reinterpret_cast<const char*>(s));
}

// A failure of the DOM itself (it could not make a node): the operation stops there.
[[noreturn]] void DomFailed(const wchar_t* what) {
    throw HostError(kDomError, std::wstring(L"The view document could not ") + what);
}

bool IsElement(const xmlNode* node, const char* name) {
    return node != nullptr && node->type == XML_ELEMENT_NODE && xmlStrcmp(node->name, X(name)) == 0;
}

std::vector<xmlNodePtr> Children(xmlNodePtr parent, const char* name) {
    std::vector<xmlNodePtr> found;
    if (parent == nullptr) {
        return found;
    }
    for (xmlNodePtr child = parent->children; child != nullptr; child = child->next) {
        if (IsElement(child, name)) {
            found.push_back(child);
        }
    }
    return found;
}

xmlNodePtr FirstChild(xmlNodePtr parent, const char* name) {
    const auto found = Children(parent, name);
    return found.empty() ? nullptr : found.front();
}

std::wstring TextOf(xmlNodePtr node) {
    xmlChar* content = xmlNodeGetContent(node);
    std::wstring value = Wide(content);
    xmlFree(content);
    return value;
}

// A new element in the document's root namespace (views have none), holding the text.
xmlNodePtr NewElement(xmlDocPtr doc, const char* name, const std::wstring& value) {
    xmlNodePtr node = xmlNewDocNode(doc, nullptr, X(name), nullptr);
    if (node == nullptr) {
        DomFailed(L"make an element");
    }
    if (!value.empty()) {
        const std::string utf8 = Utf8(value);
        xmlNodePtr textNode = xmlNewDocTextLen(doc, X(utf8.c_str()), static_cast<int>(utf8.size()));
        if (textNode == nullptr) {
            xmlFreeNode(node);
            DomFailed(L"make a text");
        }
        xmlAddChild(node, textNode);
    }
    return node;
}

void AppendElement(xmlDocPtr doc, xmlNodePtr parent, const char* name, const std::wstring& value) {
    xmlAddChild(parent, NewElement(doc, name, value));
}

// Sets an element's whole content to the text.
void SetText(xmlNodePtr node, const std::wstring& value) {
    const std::string utf8 = Utf8(value);
    xmlChar* escaped = xmlEncodeSpecialChars(node->doc, X(utf8.c_str()));
    if (escaped == nullptr) {
        DomFailed(L"encode a text");
    }
    xmlNodeSetContent(node, escaped);
    xmlFree(escaped);
}

xmlNodePtr FindOrAppend(xmlDocPtr doc, xmlNodePtr parent, const char* name) {
    if (xmlNodePtr found = FirstChild(parent, name)) {
        return found;
    }
    xmlNodePtr node = NewElement(doc, name, L"");
    xmlAddChild(parent, node);
    return node;
}

void Unlink(xmlNodePtr node) {
    xmlUnlinkNode(node);
    xmlFreeNode(node);
}

xmlNodePtr RootOf(ViewXmlDocument& doc) {
    xmlNodePtr root = AsNode(doc.Root());
    if (root == nullptr) {
        throw HostError(91, L"Object variable or With block variable not set");
    }
    return root;
}

xmlNodePtr FindColumn(xmlNodePtr root, const std::wstring& prop) {
    const auto columns = Children(root, "column");
    const std::vector<void*> list(columns.begin(), columns.end());
    return AsNode(mViewXML::FindColumnByProp(list, prop));
}

// Collects libxml2's complaints about one parse.
void Collect(void* context, const xmlError* error) {
    auto* messages = static_cast<std::string*>(context);
    if (error == nullptr || error->message == nullptr || error->level < XML_ERR_ERROR ||
        !messages->empty()) {
        return;
    }
    *messages = "line " + std::to_string(error->line) + ": " + error->message;
    while (!messages->empty() && (messages->back() == '\n' || messages->back() == ' ')) {
        messages->pop_back();
    }
}

// libxml2 2.9 declares the handler with a non-const error.
void CollectMutable(void* context, xmlError* error) {
    Collect(context, error);
}

}  // namespace

// ---- The document ---------------------------------------------------------------------------

ViewXmlDocument::ViewXmlDocument() = default;

ViewXmlDocument::~ViewXmlDocument() {
    xmlFreeDoc(AsDoc(m_doc));
}

bool ViewXmlDocument::LoadXml(const std::wstring& xml) {
    xmlFreeDoc(AsDoc(m_doc));
    m_doc = nullptr;
    m_error.clear();
    // The text is the host's string: whatever its declaration names, it is read as Unicode.
    const std::string utf8 = Utf8(xml);
    std::string messages;
    xmlSetStructuredErrorFunc(&messages, CollectMutable);
    xmlDocPtr doc = xmlReadMemory(utf8.data(), static_cast<int>(utf8.size()), "view.xml", "UTF-8",
                                  XML_PARSE_NONET);
    xmlSetStructuredErrorFunc(nullptr, nullptr);
    if (doc == nullptr || xmlDocGetRootElement(doc) == nullptr) {
        xmlFreeDoc(doc);
        m_error = messages.empty() ? L"the view is no well-formed XML" : text::FromUtf8(messages);
        return false;
    }
    m_doc = doc;
    m_declaration = text::TrimSpacesTabs(xml).starts_with(L"<?xml");
    return true;
}

void* ViewXmlDocument::Root() const {
    return m_doc == nullptr ? nullptr : xmlDocGetRootElement(AsDoc(m_doc));
}

std::wstring ViewXmlDocument::Xml() const {
    if (m_doc == nullptr) {
        return {};
    }
    std::wstring out = m_declaration ? L"<?xml version=\"1.0\"?>\r\n" : L"";
    xmlBufferPtr buffer = xmlBufferCreate();
    if (buffer == nullptr) {
        DomFailed(L"be written");
    }
    xmlSaveCtxtPtr save = xmlSaveToBuffer(buffer, "UTF-8", XML_SAVE_NO_DECL);
    if (save == nullptr) {
        xmlBufferFree(buffer);
        DomFailed(L"be written");
    }
    for (xmlNodePtr node = AsDoc(m_doc)->children; node != nullptr; node = node->next) {
        xmlSaveTree(save, node);
    }
    xmlSaveClose(save);
    out += Wide(xmlBufferContent(buffer));
    xmlBufferFree(buffer);
    return out;
}

namespace mViewXML {

// ---- The document operations ----------------------------------------------------------------

void* FindColumnByProp(const std::vector<void*>& columns, const std::wstring& prop) {
    for (void* column : columns) {
        xmlNodePtr propNode = FirstChild(AsNode(column), "prop");
        if (propNode != nullptr && TextOf(propNode) == prop) {
            return column;
        }
    }
    return nullptr;
}

bool ColumnExists(ViewXmlDocument& doc, const std::wstring& prop) {
    try {
        return FindColumn(RootOf(doc), prop) != nullptr;
    } catch (const HostError& e) {
        mGlobals::LogError(L"Xml.ColumnExists", e);
        return false;
    }
}

void RemoveColumn(ViewXmlDocument& doc, const std::wstring& prop) {
    try {
        if (xmlNodePtr column = FindColumn(RootOf(doc), prop)) {
            Unlink(column);
        }
    } catch (const HostError& e) {
        mGlobals::LogError(L"Xml.RemoveColumn", e);
    }
}

void AddTableViewUserColumn(ViewXmlDocument& doc, const std::wstring& heading,
                            const std::wstring& prop, const std::wstring& type,
                            const std::wstring& userHeading, const std::wstring& insertBeforeProp,
                            int32_t width) {
    try {
        xmlNodePtr root = RootOf(doc);
        xmlDocPtr d = AsDoc(doc.Doc());
        xmlNodePtr column = NewElement(d, "column", L"");
        try {
            AppendElement(d, column, "Heading", heading);
            AppendElement(d, column, "prop", prop);
            AppendElement(d, column, "width",
                          std::to_wstring(width == 0 ? kDefaultColumnWidth : width));
            AppendElement(d, column, "type", type);
            if (!userHeading.empty()) {
                AppendElement(d, column, "userheading", userHeading);
            }
        } catch (const HostError&) {
            xmlFreeNode(column);
            throw;
        }
        xmlNodePtr before = insertBeforeProp.empty() ? nullptr : FindColumn(root, insertBeforeProp);
        if (before != nullptr) {
            xmlAddPrevSibling(before, column);
        } else {
            xmlAddChild(root, column);
        }
    } catch (const HostError& e) {
        mGlobals::LogError(L"Xml.AddTableViewUserColumn", e);
    }
}

void SetGroupOrder(ViewXmlDocument& doc, const std::wstring& heading, const std::wstring& prop,
                   const std::wstring& type, const std::wstring& sort, bool force) {
    try {
        xmlNodePtr root = RootOf(doc);
        xmlDocPtr d = AsDoc(doc.Doc());
        auto groups = Children(root, "groupby");
        if (!force && !groups.empty()) {
            xmlNodePtr order = FirstChild(groups.front(), "order");
            xmlNodePtr propNode = FirstChild(order, "prop");
            if (propNode != nullptr && text::EqualsNoCase(TextOf(propNode), prop)) {
                return;
            }
        }
        for (auto it = groups.rbegin(); it != groups.rend(); ++it) {
            Unlink(*it);
        }
        xmlNodePtr groupBy = NewElement(d, "groupby", L"");
        try {
            xmlNodePtr order = NewElement(d, "order", L"");
            xmlAddChild(groupBy, order);
            AppendElement(d, order, "Heading", heading);
            AppendElement(d, order, "prop", prop);
            AppendElement(d, order, "type", type);
            if (!sort.empty()) {
                AppendElement(d, order, "sort", sort);
            }
        } catch (const HostError&) {
            xmlFreeNode(groupBy);
            throw;
        }
        xmlAddChild(root, groupBy);
    } catch (const HostError& e) {
        mGlobals::LogError(L"mViewXML::SetGroupOrder", e);
    }
}

void SetArrangement(ViewXmlDocument& doc, int32_t autogroup, int32_t persistgroups) {
    try {
        xmlNodePtr root = RootOf(doc);
        xmlDocPtr d = AsDoc(doc.Doc());
        xmlNodePtr arrangement = FindOrAppend(d, root, "arrangement");
        SetText(FindOrAppend(d, arrangement, "autogroup"), std::to_wstring(autogroup));
        SetText(FindOrAppend(d, arrangement, "persistgroups"), std::to_wstring(persistgroups));
    } catch (const HostError& e) {
        mGlobals::LogError(L"mViewXML::SetArrangement", e);
    }
}

// ---- The Drafts view --------------------------------------------------------------------------

void ModifyDraftsView(Services& services, bool reset) {
    constexpr const wchar_t* kSource = L"mViewXML::ModifyDraftsView";
    mGlobals::LogDebug(kSource, reset ? L"-> reset" : L"->", 2);
    if (mMisc::GetOutlookVersion(services) < 10) {
        return;
    }
    std::shared_ptr<View> view;
    ViewXmlDocument doc;
    try {
        if (!services.host.application) {
            throw HostError(E_FAIL, L"The add-in is not connected to the mail client");
        }
        view =
            services.host.application->Session()->GetDefaultFolder(olFolderDrafts)->CurrentView();
        if (!view) {
            throw HostError(91, L"Object variable or With block variable not set");
        }
        if (!doc.LoadXml(view->XML())) {
            // The stored view stays as it is: nothing can be edited in it.
            mGlobals::LogError(kSource, 0, L"The Drafts view cannot be read: " + doc.Error());
            return;
        }
    } catch (const HostError& e) {
        mGlobals::LogError(kSource, e);
        return;
    }
    if (reset) {
        RemoveColumn(doc, kReceivedProp);
    }
    if (!ColumnExists(doc, kReceivedProp)) {
        AddTableViewUserColumn(doc, kReceivedHeading, kReceivedProp, kReceivedType, L"", L"", 0);
    }
    SetGroupOrder(doc, kReceivedHeading, kReceivedProp, kReceivedType, L"", reset);
    SetArrangement(doc, 0, 1);
    try {
        view->SetXML(doc.Xml());
        view->Save();
    } catch (const HostError& e) {
        mGlobals::LogError(kSource, e);
    }
}

}  // namespace mViewXML
}  // namespace plexa
