#include "input/XmlScanner.h"

#include <cstdint>

#include "shared/Utf8.h"

namespace quillmoor {
namespace {

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

std::string_view LocalPart(std::string_view name) {
  const size_t colon = name.find(':');
  return colon == std::string_view::npos ? name : name.substr(colon + 1);
}

// Calls found(name, value) for each attribute of a tag's attribute text until it
// returns true.
template <typename Found>
void ForEachAttribute(std::string_view s, Found found) {
  size_t i = 0;
  while (i < s.size()) {
    while (i < s.size() && IsSpace(s[i])) ++i;
    const size_t nameStart = i;
    while (i < s.size() && s[i] != '=' && !IsSpace(s[i])) ++i;
    const std::string_view name = s.substr(nameStart, i - nameStart);
    while (i < s.size() && IsSpace(s[i])) ++i;
    if (i >= s.size() || s[i] != '=') return;
    ++i;
    while (i < s.size() && IsSpace(s[i])) ++i;
    if (i >= s.size() || (s[i] != '"' && s[i] != '\'')) return;
    const char quote = s[i++];
    const size_t end = s.find(quote, i);
    if (end == std::string_view::npos) return;
    if (found(name, s.substr(i, end - i))) return;
    i = end + 1;
  }
}

}  // namespace

std::string DecodeXmlText(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  size_t i = 0;
  while (i < text.size()) {
    const size_t amp = text.find('&', i);
    if (amp == std::string_view::npos) {
      out.append(text.substr(i));
      break;
    }
    out.append(text.substr(i, amp - i));
    const size_t semi = text.find(';', amp);
    const std::string_view entity = semi == std::string_view::npos || semi - amp > 12
                                        ? std::string_view()
                                        : text.substr(amp + 1, semi - amp - 1);
    static const std::pair<std::string_view, char> kNamed[] = {
        {"amp", '&'}, {"lt", '<'}, {"gt", '>'}, {"quot", '"'}, {"apos", '\''}};
    bool decoded = false;
    for (const auto& [name, c] : kNamed) {
      if (entity == name) {
        out += c;
        decoded = true;
      }
    }
    if (!decoded && entity.size() >= 2 && entity[0] == '#') {
      const bool hex = entity[1] == 'x' || entity[1] == 'X';
      uint32_t cp = 0;
      bool digits = entity.size() > (hex ? 2u : 1u);
      for (size_t k = hex ? 2 : 1; k < entity.size() && digits; ++k) {
        const char c = entity[k];
        const int d = c >= '0' && c <= '9'          ? c - '0'
                      : hex && c >= 'a' && c <= 'f' ? c - 'a' + 10
                      : hex && c >= 'A' && c <= 'F' ? c - 'A' + 10
                                                    : -1;
        digits = d >= 0 && cp <= 0x10FFFF;
        cp = cp * (hex ? 16 : 10) + static_cast<uint32_t>(d);
      }
      if (digits && cp > 0 && cp <= 0x10FFFF && (cp < 0xD800 || cp > 0xDFFF)) {
        AppendUtf8(cp, &out);
        decoded = true;
      }
    }
    if (decoded) {
      i = semi + 1;
    } else {
      out += '&';
      i = amp + 1;
    }
  }
  return out;
}

XmlScanner::Kind XmlScanner::Next() {
  while (at_ < xml_.size()) {
    if (xml_[at_] != '<') {
      const size_t end = xml_.find('<', at_);
      text_ = xml_.substr(at_, end == std::string_view::npos ? std::string_view::npos : end - at_);
      at_ = end == std::string_view::npos ? xml_.size() : end;
      cdata_ = false;
      return kText;
    }
    const std::string_view rest = xml_.substr(at_);
    const auto skipPast = [this, rest](std::string_view close, size_t from) {
      const size_t end = rest.find(close, from);
      at_ = end == std::string_view::npos ? xml_.size() : at_ + end + close.size();
      return end != std::string_view::npos;
    };
    if (rest.starts_with("<!--")) {
      skipPast("-->", 4);
      continue;
    }
    if (rest.starts_with("<![CDATA[")) {
      const size_t end = rest.find("]]>", 9);
      if (end == std::string_view::npos) {
        at_ = xml_.size();
        return kDone;
      }
      text_ = rest.substr(9, end - 9);
      at_ += end + 3;
      cdata_ = true;
      return kText;
    }
    if (rest.starts_with("<?")) {
      skipPast("?>", 2);
      continue;
    }
    if (rest.starts_with("<!")) {
      // A document type, with an internal subset in brackets perhaps.
      const size_t bracket = rest.find('[');
      const size_t close = rest.find('>');
      if (bracket != std::string_view::npos && bracket < close) {
        skipPast("]>", bracket);
      } else {
        skipPast(">", 2);
      }
      continue;
    }
    // A tag: its end is the first ">" outside quotes.
    size_t i = 1;
    char quote = 0;
    while (i < rest.size() && (quote != 0 || rest[i] != '>')) {
      if (quote == 0 && (rest[i] == '"' || rest[i] == '\'')) {
        quote = rest[i];
      } else if (quote != 0 && rest[i] == quote) {
        quote = 0;
      }
      ++i;
    }
    if (i >= rest.size()) {
      at_ = xml_.size();
      return kDone;
    }
    std::string_view inside = rest.substr(1, i - 1);
    at_ += i + 1;
    Kind kind = kStart;
    if (!inside.empty() && inside[0] == '/') {
      kind = kEnd;
      inside.remove_prefix(1);
    } else if (!inside.empty() && inside.back() == '/') {
      kind = kEmpty;
      inside.remove_suffix(1);
    }
    size_t n = 0;
    while (n < inside.size() && !IsSpace(inside[n])) ++n;
    name_ = inside.substr(0, n);
    attributes_ = inside.substr(n);
    if (name_.empty()) continue;
    return kind;
  }
  return kDone;
}

std::string_view XmlScanner::localName() const { return LocalPart(name_); }

std::string XmlScanner::text() const { return cdata_ ? std::string(text_) : DecodeXmlText(text_); }

std::string XmlScanner::Attribute(std::string_view qualifiedName) const {
  std::string value;
  ForEachAttribute(attributes_, [&](std::string_view name, std::string_view v) {
    if (name != qualifiedName) return false;
    value = DecodeXmlText(v);
    return true;
  });
  return value;
}

std::string XmlScanner::AttributeByLocalName(std::string_view localName) const {
  std::string value;
  ForEachAttribute(attributes_, [&](std::string_view name, std::string_view v) {
    if (LocalPart(name) != localName) return false;
    value = DecodeXmlText(v);
    return true;
  });
  return value;
}

}  // namespace quillmoor
