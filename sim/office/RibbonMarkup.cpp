#include "sim/office/RibbonMarkup.h"

#include <libxml/parser.h>
#include <libxml/tree.h>
#include <libxml/xmlerror.h>
#include <libxml/xmlschemas.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "core/Text.h"

#ifndef PLEXA_SCHEMA_DIR
#error "PLEXA_SCHEMA_DIR must name the folder of the Office custom-UI schemas"
#endif

namespace plexa::sim {

namespace {

void Collect(void* context, const xmlError* error) {
    auto* messages = static_cast<std::string*>(context);
    if (error == nullptr || error->message == nullptr) {
        return;
    }
    std::string message = error->message;
    while (!message.empty() && (message.back() == '\n' || message.back() == ' ')) {
        message.pop_back();
    }
    if (!messages->empty()) {
        *messages += "; ";
    }
    *messages += "line " + std::to_string(error->line) + ": " + message;
}

// libxml2 2.9 declares the handler with a non-const error.
void CollectMutable(void* context, xmlError* error) {
    Collect(context, error);
}

std::wstring FromXml(const xmlChar* s) {
    return s == nullptr ? L"" : text::FromUtf8(reinterpret_cast<const char*>(s));
}

RibbonElement Convert(const xmlNode* node) {
    RibbonElement element;
    element.kind = FromXml(node->name);
    for (const xmlAttr* a = node->properties; a != nullptr; a = a->next) {
        xmlChar* value = xmlNodeGetContent(reinterpret_cast<const xmlNode*>(a));
        element.attributes[FromXml(a->name)] = FromXml(value);
        xmlFree(value);
    }
    for (const xmlNode* child = node->children; child != nullptr; child = child->next) {
        if (child->type == XML_ELEMENT_NODE) {
            element.children.push_back(Convert(child));
        }
    }
    return element;
}

}  // namespace

std::wstring RibbonElement::Attr(const std::wstring& name) const {
    auto it = attributes.find(name);
    return it == attributes.end() ? L"" : it->second;
}

std::wstring RibbonElement::Id() const {
    for (const wchar_t* name : {L"id", L"idMso", L"idQ"}) {
        if (Has(name)) {
            return Attr(name);
        }
    }
    return L"";
}

CustomUiSchema::CustomUiSchema(const std::string& path) : m_path(path) {
    if (!std::filesystem::is_regular_file(path)) {
        throw std::runtime_error("the Office custom-UI schema is missing: " + path +
                                 " (the shared folder must lie beside the source tree)");
    }
    std::string messages;
    xmlSchemaParserCtxtPtr parser = xmlSchemaNewParserCtxt(path.c_str());
    xmlSchemaSetParserStructuredErrors(parser, CollectMutable, &messages);
    xmlSchemaPtr schema = xmlSchemaParse(parser);
    xmlSchemaFreeParserCtxt(parser);
    if (schema == nullptr) {
        throw std::runtime_error("the Office custom-UI schema " + path +
                                 " does not compile: " + messages);
    }
    m_schema = schema;
}

CustomUiSchema::~CustomUiSchema() {
    xmlSchemaFree(static_cast<xmlSchemaPtr>(m_schema));
}

RibbonElement CustomUiSchema::Read(const std::wstring& markup) const {
    const std::string utf8 = text::ToUtf8(markup);
    std::string messages;
    xmlSetStructuredErrorFunc(&messages, CollectMutable);
    xmlDocPtr doc = xmlReadMemory(utf8.data(), static_cast<int>(utf8.size()), "customUI.xml",
                                  "UTF-8", XML_PARSE_NONET | XML_PARSE_NOWARNING);
    xmlSetStructuredErrorFunc(nullptr, nullptr);
    if (doc == nullptr) {
        throw RibbonMarkupError("the mark-up is no well-formed XML: " + messages);
    }
    xmlSchemaValidCtxtPtr validator = xmlSchemaNewValidCtxt(static_cast<xmlSchemaPtr>(m_schema));
    xmlSchemaSetValidStructuredErrors(validator, CollectMutable, &messages);
    const int result = xmlSchemaValidateDoc(validator, doc);
    xmlSchemaFreeValidCtxt(validator);
    if (result != 0) {
        xmlFreeDoc(doc);
        throw RibbonMarkupError("the mark-up breaks the custom-UI schema: " +
                                (messages.empty() ? std::string("validation failed") : messages));
    }
    RibbonElement root = Convert(xmlDocGetRootElement(doc));
    xmlFreeDoc(doc);
    return root;
}

std::string CustomUiSchemaPath() {
    const char* folder = std::getenv("PLEXA_SCHEMA_DIR");
    return std::string(folder != nullptr && *folder != '\0' ? folder : PLEXA_SCHEMA_DIR) +
           "/customUI.xsd";
}

std::string CustomUi14SchemaPath() {
    const std::string path = CustomUiSchemaPath();
    return path.substr(0, path.size() - std::string("customUI.xsd").size()) + "customui14.xsd";
}

bool CustomUiSchemaAvailable() {
    return std::filesystem::is_regular_file(CustomUiSchemaPath());
}

bool CustomUi14SchemaAvailable() {
    return std::filesystem::is_regular_file(CustomUi14SchemaPath());
}

const CustomUiSchema& DefaultCustomUiSchema() {
    static const CustomUiSchema schema(CustomUiSchemaPath());
    return schema;
}

const CustomUiSchema& DefaultCustomUi14Schema() {
    static const CustomUiSchema schema(CustomUi14SchemaPath());
    return schema;
}

std::string CustomUiNamespace(const std::wstring& markup) {
    const std::string utf8 = text::ToUtf8(markup);
    std::string ignored;
    xmlSetStructuredErrorFunc(&ignored, CollectMutable);
    xmlDocPtr doc = xmlReadMemory(utf8.data(), static_cast<int>(utf8.size()), "customUI.xml",
                                  "UTF-8", XML_PARSE_NONET | XML_PARSE_NOWARNING);
    xmlSetStructuredErrorFunc(nullptr, nullptr);
    std::string ns;
    if (const xmlNode* root = doc == nullptr ? nullptr : xmlDocGetRootElement(doc);
        root != nullptr && root->ns != nullptr && root->ns->href != nullptr) {
        ns = reinterpret_cast<const char*>(root->ns->href);
    }
    xmlFreeDoc(doc);
    return ns;
}

RibbonElement ReadCustomUi(const std::wstring& markup, int32_t clientVersion) {
    if (CustomUiNamespace(markup) == kCustomUiNamespace2009) {
        if (clientVersion < 14) {
            throw RibbonMarkupError(std::string("the namespace ") + kCustomUiNamespace2009 +
                                    " needs client version 14; this is version " +
                                    std::to_string(clientVersion));
        }
        return DefaultCustomUi14Schema().Read(markup);
    }
    return DefaultCustomUiSchema().Read(markup);
}

}  // namespace plexa::sim
