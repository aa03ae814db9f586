// The Drafts folder's view: copies kept in Drafts carry the delivery time of their source, so the
// view is given a received-date column and grouped by that date, to show them by the time they
// are due. The view definition (the host's view XML) is edited as a DOM, element by element, and
// written back whole.
//
// The document operations stop at their first unexpected error and log it under their own name;
// none of them throws. ModifyDraftsView goes on with its next step after a failed one and writes
// back what the document then holds; a view it cannot read or parse stays exactly as it was.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace plexa {

class Services;

// A parsed view definition. Element names are compared exactly (case-sensitive).
class ViewXmlDocument {
public:
    ViewXmlDocument();
    ~ViewXmlDocument();
    ViewXmlDocument(const ViewXmlDocument&) = delete;
    ViewXmlDocument& operator=(const ViewXmlDocument&) = delete;

    // Parses the text; false (and no document) when it is not well-formed XML with a root
    // element. The parser never reaches the network or external entities. The reason is kept
    // in Error().
    bool LoadXml(const std::wstring& xml);
    bool Loaded() const { return m_doc != nullptr; }
    const std::wstring& Error() const { return m_error; }
    // The document as text, with an XML declaration when the loaded text had one.
    std::wstring Xml() const;

    // libxml2's document and root element (xmlDocPtr, xmlNodePtr); nullptr before a load.
    void* Doc() const { return m_doc; }
    void* Root() const;

private:
    void* m_doc = nullptr;
    bool m_declaration = false;
    std::wstring m_error;
};

namespace mViewXML {

// The received-date column and grouping the Drafts view is given.
inline constexpr const wchar_t* kReceivedHeading = L"Received";
inline constexpr const wchar_t* kReceivedProp = L"urn:schemas:httpmail:datereceived";
inline constexpr const wchar_t* kReceivedType = L"datetime";
inline constexpr int32_t kDefaultColumnWidth = 40;

// Gives the default Drafts folder's current view the received-date column (with reset, a
// column there already is replaced by a fresh one), groups it by that date (with reset, even
// when it is grouped that way already) and sets autogroup 0, persistgroups 1, then saves the
// view. Nothing happens before host version 10.
void ModifyDraftsView(Services& services, bool reset);

// The root's "arrangement" child (made when missing) gets "autogroup" and "persistgroups" with
// these values.
void SetArrangement(ViewXmlDocument& doc, int32_t autogroup, int32_t persistgroups);
// Groups the view by one level. Without force a view whose first grouping level is by this
// property already (letter case ignored) is left alone; otherwise every grouping goes and one
// "groupby" with one "order" is appended. An empty sort text leaves "sort" out.
void SetGroupOrder(ViewXmlDocument& doc, const std::wstring& heading, const std::wstring& prop,
                   const std::wstring& type, const std::wstring& sort, bool force);
// Removes the root's first column showing that property, if any.
void RemoveColumn(ViewXmlDocument& doc, const std::wstring& prop);
// Adds a column (width 0 becomes 40; an empty user heading is left out) before the column of
// insertBeforeProp when there is one, else as the root's last child.
void AddTableViewUserColumn(ViewXmlDocument& doc, const std::wstring& heading,
                            const std::wstring& prop, const std::wstring& type,
                            const std::wstring& userHeading, const std::wstring& insertBeforeProp,
                            int32_t width);
// Whether a root column shows that property (exact comparison).
bool ColumnExists(ViewXmlDocument& doc, const std::wstring& prop);
// The first of the column nodes (xmlNodePtr) whose "prop" child's text equals the property
// exactly; nullptr when none does.
void* FindColumnByProp(const std::vector<void*>& columns, const std::wstring& prop);

}  // namespace mViewXML
}  // namespace plexa
