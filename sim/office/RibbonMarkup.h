// Custom-UI mark-up as the ribbon reads it: the document is parsed and validated against the
// Office custom-UI schema of its namespace with libxml2, then kept as a tree of elements with
// their attributes. Client version 12 reads the 2006/01 namespace
// (http://schemas.microsoft.com/office/2006/01/customui, customUI.xsd) only; version 14 reads
// the 2009/07 one (customui14.xsd) too.
#pragma once

#include <cstdint>
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

// Where the schemas are looked for: PLEXA_SCHEMA_DIR/customUI.xsd (and customui14.xsd), the
// folder given in the environment or else the one the build was configured with.
std::string CustomUiSchemaPath();
std::string CustomUi14SchemaPath();
// Whether the schemas are there (tests that need them are skipped without them).
bool CustomUiSchemaAvailable();
bool CustomUi14SchemaAvailable();
// The schemas, shared by every reader. Throw std::runtime_error when missing: mark-up is never
// accepted unchecked.
const CustomUiSchema& DefaultCustomUiSchema();
const CustomUiSchema& DefaultCustomUi14Schema();

inline constexpr const char* kCustomUiNamespace2006 =
    "http://schemas.microsoft.com/office/2006/01/customui";
inline constexpr const char* kCustomUiNamespace2009 =
    "http://schemas.microsoft.com/office/2009/07/customui";
// The namespace of the document's root element; "" when it has none or does not parse (the
// schema check then says why).
std::string CustomUiNamespace(const std::wstring& markup);
// Reads mark-up as a client of that major version does: the schema of its namespace, the
// 2009/07 one only from version 14 (an older client rejects it, as it knows no such schema).
// Throws RibbonMarkupError.
RibbonElement ReadCustomUi(const std::wstring& markup, int32_t clientVersion);

}  // namespace plexa::sim
