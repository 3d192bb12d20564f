#include "driver/xml_tables.h"

#include <string>

#include <pugixml.hpp>

#include "common/error.h"

namespace qarvex::driver {
namespace {

class StringWriter : public pugi::xml_writer {
 public:
  void write(const void* data, size_t size) override {
    text.append(static_cast<const char*>(data), size);
  }
  std::string text;
};

std::string Utf8(WStringView text) { return ToUtf8(text); }

// Each top-level node on its own line, no indentation, CR LF after each.
WString DocumentText(const pugi::xml_document& doc) {
  StringWriter out;
  for (pugi::xml_node node : doc.children()) {
    node.print(out, "", pugi::format_raw, pugi::encoding_utf8);
    out.text += "\r\n";
  }
  return FromUtf8(out.text);
}

// The declaration every table starts with: version 1.0, no encoding (the
// text reaches the host as UTF-16, whatever the source was).
void SetDeclaration(pugi::xml_document& doc) {
  pugi::xml_node decl = doc.first_child();
  if (decl.type() != pugi::node_declaration) decl = doc.prepend_child(pugi::node_declaration);
  while (pugi::xml_attribute a = decl.first_attribute()) decl.remove_attribute(a);
  decl.append_attribute("version") = "1.0";
}

}  // namespace

WString BuildParametersDocument(const TDriverClass& AClass) {
  pugi::xml_document doc;
  SetDeclaration(doc);
  pugi::xml_node page = doc.append_child("Settings").append_child("Page");
  page.append_attribute("Caption") = "Параметры";
  ForEachMember(AClass, [&](const TMember& m) {
    if (!m.ExportProp) return;
    pugi::xml_node p = page.append_child("Parameter");
    p.append_attribute("Name") = Utf8(m.Name).c_str();
    p.append_attribute("Caption") = Utf8(m.ExportProp->Caption()).c_str();
    p.append_attribute("TypeValue") = Utf8(ParamTypeName(GetParamType(m.Property.Kind))).c_str();
    p.append_attribute("DefaultValue") = Utf8(m.ExportProp->DefValue()).c_str();
    p.append_attribute("ReadOnly") = m.ExportProp->ReadOnly() ? "true" : "false";
  });
  return DocumentText(doc);
}

WString BuildActionsDocument(const TDriverClass& AClass) {
  pugi::xml_document doc;
  SetDeclaration(doc);
  pugi::xml_node actions = doc.append_child("Actions");
  ForEachMember(AClass, [&](const TMember& m) {
    if (!m.AdditionalAction) return;
    pugi::xml_node a = actions.append_child("Action");
    a.append_attribute("Name") = Utf8(m.Name).c_str();
    a.append_attribute("Caption") = Utf8(m.AdditionalAction->Caption()).c_str();
  });
  return DocumentText(doc);
}

WString LoadParametersDocument(std::string_view bytes) {
  pugi::xml_document doc;
  const pugi::xml_parse_result result =
      doc.load_buffer(bytes.data(), bytes.size(), pugi::parse_default | pugi::parse_declaration,
                      pugi::encoding_auto);
  if (!result) throw Failure(result.description());
  SetDeclaration(doc);
  return DocumentText(doc);
}

}  // namespace qarvex::driver
