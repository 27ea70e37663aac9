#pragma once
// A small well-formedness checker for the XML we write (SVG pictures): one root element,
// balanced and properly nested tags, quoted unique attributes, known entities only. It also
// collects every element with its attributes, parent and text, for the tests to query.
#include <cctype>
#include <cstddef>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace qv::testing {

struct XmlElement {
  std::string name;
  std::map<std::string, std::string> attributes;  // entity references left as written
  int parent = -1;                                 // index in the element list, -1 for the root
  std::string text;                                // direct character data
};

struct XmlDocument {
  bool ok = false;
  std::string error;  // what is wrong, with the byte offset
  std::vector<XmlElement> elements;

  // Index of the first element with attribute id == `id`, or -1.
  int by_id(std::string_view id) const {
    for (std::size_t i = 0; i < elements.size(); ++i) {
      auto it = elements[i].attributes.find("id");
      if (it != elements[i].attributes.end() && it->second == id) return static_cast<int>(i);
    }
    return -1;
  }
  // Children of element `parent` named `name`.
  std::vector<int> children(int parent, std::string_view name) const {
    std::vector<int> out;
    for (std::size_t i = 0; i < elements.size(); ++i)
      if (elements[i].parent == parent && elements[i].name == name) out.push_back(static_cast<int>(i));
    return out;
  }
};

namespace xml_detail {

inline bool name_start(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_' || c == ':';
}
inline bool name_char(char c) {
  return name_start(c) || (c >= '0' && c <= '9') || c == '-' || c == '.';
}
inline bool space(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

// Checks the entity references of character data or an attribute value.
inline bool entities_ok(std::string_view s) {
  for (std::size_t i = 0; i < s.size(); ++i) {
    if (s[i] == '<') return false;
    if (s[i] != '&') continue;
    std::size_t semi = s.find(';', i);
    if (semi == std::string_view::npos) return false;
    std::string_view ref = s.substr(i + 1, semi - i - 1);
    bool known = ref == "amp" || ref == "lt" || ref == "gt" || ref == "quot" || ref == "apos";
    if (!known && ref.size() > 1 && ref[0] == '#') {
      known = true;
      for (std::size_t k = 1; k < ref.size(); ++k)
        if (!((ref[k] >= '0' && ref[k] <= '9') || (k == 1 && ref[k] == 'x') ||
              (k > 1 && ref[1] == 'x' && std::isxdigit(static_cast<unsigned char>(ref[k])))))
          known = false;
    }
    if (!known) return false;
    i = semi;
  }
  return true;
}

}  // namespace xml_detail

inline XmlDocument check_xml(std::string_view s) {
  using namespace xml_detail;
  XmlDocument doc;
  std::vector<int> open;
  bool root_seen = false;
  std::size_t i = 0;
  auto fail = [&](const std::string& what) {
    doc.ok = false;
    doc.error = what + " at byte " + std::to_string(i);
    return doc;
  };
  while (i < s.size()) {
    if (s[i] != '<') {
      std::size_t next = s.find('<', i);
      if (next == std::string_view::npos) next = s.size();
      std::string_view text = s.substr(i, next - i);
      if (open.empty()) {
        for (char c : text)
          if (!space(c)) return fail("text outside the root element");
      } else {
        if (!entities_ok(text)) return fail("bad entity or '<' in text");
        doc.elements[open.back()].text += std::string(text);
      }
      i = next;
      continue;
    }
    if (s.substr(i, 4) == "<!--") {
      std::size_t end = s.find("-->", i + 4);
      if (end == std::string_view::npos) return fail("unclosed comment");
      if (s.substr(i + 4, end - i - 4).find("--") != std::string_view::npos)
        return fail("'--' inside a comment");
      i = end + 3;
      continue;
    }
    if (s.substr(i, 2) == "<?") {
      if (i != 0) return fail("processing instruction not at the start");
      std::size_t end = s.find("?>", i);
      if (end == std::string_view::npos) return fail("unclosed declaration");
      i = end + 2;
      continue;
    }
    if (s.substr(i, 2) == "</") {
      std::size_t j = i + 2;
      while (j < s.size() && name_char(s[j])) ++j;
      std::string name(s.substr(i + 2, j - i - 2));
      while (j < s.size() && space(s[j])) ++j;
      if (j >= s.size() || s[j] != '>') return fail("malformed end tag");
      if (open.empty() || doc.elements[open.back()].name != name)
        return fail("end tag </" + name + "> does not match");
      open.pop_back();
      i = j + 1;
      continue;
    }
    // Start tag.
    std::size_t j = i + 1;
    if (j >= s.size() || !name_start(s[j])) return fail("malformed start tag");
    while (j < s.size() && name_char(s[j])) ++j;
    XmlElement e;
    e.name = std::string(s.substr(i + 1, j - i - 1));
    e.parent = open.empty() ? -1 : open.back();
    if (open.empty()) {
      if (root_seen) return fail("second root element");
      root_seen = true;
    }
    bool empty = false;
    for (;;) {
      std::size_t before = j;
      while (j < s.size() && space(s[j])) ++j;
      if (j >= s.size()) return fail("unclosed start tag");
      if (s[j] == '>') { ++j; break; }
      if (s.substr(j, 2) == "/>") { j += 2; empty = true; break; }
      if (j == before) return fail("no blank before an attribute");
      std::size_t a = j;
      if (!name_start(s[j])) return fail("malformed attribute name");
      while (j < s.size() && name_char(s[j])) ++j;
      std::string attr(s.substr(a, j - a));
      if (j >= s.size() || s[j] != '=') return fail("attribute without '='");
      ++j;
      if (j >= s.size() || (s[j] != '"' && s[j] != '\'')) return fail("unquoted attribute");
      char q = s[j++];
      std::size_t end = s.find(q, j);
      if (end == std::string_view::npos) return fail("unclosed attribute value");
      std::string_view value = s.substr(j, end - j);
      if (!entities_ok(value)) return fail("bad entity or '<' in attribute " + attr);
      if (!e.attributes.emplace(attr, std::string(value)).second)
        return fail("repeated attribute " + attr);
      j = end + 1;
    }
    doc.elements.push_back(std::move(e));
    if (!empty) open.push_back(static_cast<int>(doc.elements.size()) - 1);
    i = j;
  }
  if (!open.empty()) return fail("unclosed element <" + doc.elements[open.back()].name + ">");
  if (!root_seen) return fail("no root element");
  doc.ok = true;
  return doc;
}

}  // namespace qv::testing
