// The libxml2 document that the nodes of one load share; freed with the last of them.
#pragma once

#include <libxml/tree.h>

#include <string>
#include <string_view>

namespace platform::xml {

struct DocumentState {
  explicit DocumentState(xmlDocPtr d) : doc(d) {}
  ~DocumentState() { xmlFreeDoc(doc); }
  DocumentState(const DocumentState&) = delete;
  DocumentState& operator=(const DocumentState&) = delete;
  xmlDocPtr doc;
};

std::wstring FromUtf8(std::string_view text);
std::string ToUtf8(std::wstring_view text);

}  // namespace platform::xml
