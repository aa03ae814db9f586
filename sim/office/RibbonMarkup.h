// Custom-UI mark-up as the ribbon reads it: the document is parsed and validated against the
// Office custom-UI schema (namespace http://schemas.microsoft.com/office/2006/01/customui) with
// libxml2, then kept as a tree of elements with their attributes.
#pragma once

#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace plexa::sim {

struct RibbonElement {
    std::wstring kind;  // the element's local name ("button")
    std::map<std::wstring, std::wstring> attributes;
    std::vector<RibbonElement> children;

    // An attribute's value; "" when absent.
    std::wstring Attr(const std::wstring& name) const;
    bool Has(const std::wstring& name) const { return attributes.contains(name); }
    // The id Office hands to callbacks: id, else idMso, else idQ.
    std::wstring Id() const;
};

// A document that is no well-formed XML or breaks the schema; what() lists every complaint with
// its line.
class RibbonMarkupError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The compiled schema, loaded once per path. Throws std::runtime_error, naming the path, when the
// file is missing or does not compile: without it no mark-up could be checked.
class CustomUiSchema {
public:
    explicit CustomUiSchema(const std::string& path);
    ~CustomUiSchema();
    CustomUiSchema(const CustomUiSchema&) = delete;
    CustomUiSchema& operator=(const CustomUiSchema&) = delete;

    // Parses and validates a document; the root element of the tree is customUI. Throws
    // RibbonMarkupError.
    RibbonElement Read(const std::wstring& markup) const;
    const std::string& Path() const { return m_path; }

private:
    std::string m_path;
    void* m_schema = nullptr;  // xmlSchemaPtr
};

// Where the schema is looked for: PLEXA_SCHEMA_DIR/customUI.xsd, the folder given in the
// environment or else the one the build was configured with.
std::string CustomUiSchemaPath();
// Whether the schema is there (tests that need it are skipped without it).
bool CustomUiSchemaAvailable();
// The schema, shared by every reader. Throws std::runtime_error when it is missing: mark-up is
// never accepted unchecked.
const CustomUiSchema& DefaultCustomUiSchema();

}  // namespace plexa::sim
