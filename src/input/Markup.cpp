#include "input/Markup.h"

#include <string>
#include <unordered_map>

#include "shared/Cp1252.h"
#include "shared/Utf8.h"

namespace quillmoor {
namespace {

// True when the characters after position i (0-based) lower-case to `name`.
bool FollowedByLower(std::string_view text, size_t i, std::string_view name) {
  if (i + 1 + name.size() > text.size()) return false;
  for (size_t k = 0; k < name.size(); ++k) {
    if (AsciiLowerChar(text[i + 1 + k]) != name[k]) return false;
  }
  return true;
}

const std::unordered_map<std::string_view, unsigned char>& EntityTable() {
  static const std::unordered_map<std::string_view, unsigned char> table = {
      {"&nbsp;", ' '},    {"&#160;", ' '},    {"&#8212;", 0x97},  {"&copy;", 0xA9},
      {"&amp;", '&'},     {"&AElig;", 0xC6},  {"&Aacute;", 0xC1}, {"&Acirc;", 0xC2},
      {"&Agrave;", 0xC0}, {"&Aring;", 0xC5},  {"&Atilde;", 0xC3}, {"&Auml;", 0xC4},
      {"&Ccedil;", 0xC7}, {"&ETH;", 0xD0},    {"&Eacute;", 0xC9}, {"&Ecirc;", 0xCA},
      {"&Egrave;", 0xC8}, {"&Euml;", 0xCB},   {"&Iacute;", 0xCD}, {"&Icirc;", 0xCE},
      {"&Igrave;", 0xCC}, {"&Iuml;", 0xCF},   {"&Ntilde;", 0xD1}, {"&Oacute;", 0xD3},
      {"&Ocirc;", 0xD4},  {"&Ograve;", 0xD2}, {"&Oslash;", 0xD8}, {"&Otilde;", 0xD5},
      {"&Ouml;", 0xD6},   {"&THORN;", 0xDE},  {"&Uacute;", 0xDA}, {"&Ucirc;", 0xDB},
      {"&Ugrave;", 0xD9}, {"&Uuml;", 0xDC},   {"&Yacute;", 0xDD}, {"&aacute;", 0xE1},
      {"&acirc;", 0xE2},  {"&aelig;", 0xE6},  {"&agrave;", 0xE0}, {"&aring;", 0xE5},
      {"&atilde;", 0xE3}, {"&auml;", 0xE4},   {"&ccedil;", 0xE7}, {"&eacute;", 0xE9},
      {"&ecirc;", 0xEA},  {"&egrave;", 0xE8}, {"&eth;", 0xF0},    {"&euml;", 0xEB},
      {"&iacute;", 0xED}, {"&icirc;", 0xEE},  {"&igrave;", 0xEC}, {"&iuml;", 0xEF},
      {"&ntilde;", 0xF1}, {"&oacute;", 0xF3}, {"&ocirc;", 0xF4},  {"&ograve;", 0xF2},
      {"&oslash;", 0xF8}, {"&otilde;", 0xF5}, {"&ouml;", 0xF6},   {"&szlig;", 0xDF},
      {"&thorn;", 0xFE},  {"&uacute;", 0xFA}, {"&ucirc;", 0xFB},  {"&ugrave;", 0xF9},
      {"&uuml;", 0xFC},   {"&yacute;", 0xFD}, {"&yuml;", 0xFF}};
  return table;
}

constexpr size_t kLongestEntity = 8;  // "&#8212;" and "&Aacute;"

}  // namespace

std::string RemoveTags(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  bool copying = false;
  bool inBlock = false;
  std::string_view blockTag;
  for (size_t i = 0; i < text.size(); ++i) {
    const char ch = text[i];
    if (ch == '<' && FollowedByLower(text, i, "script")) {
      inBlock = true;
      blockTag = "script";
      copying = false;
    } else if (ch == '<' && FollowedByLower(text, i, "style")) {
      inBlock = true;
      blockTag = "style";
      copying = false;
    }
    if (inBlock) {
      if (ch == '<' && i + 1 + 1 + blockTag.size() <= text.size() && text[i + 1] == '/' &&
          text.substr(i + 2, blockTag.size()) == blockTag) {
        inBlock = false;
        copying = false;
        i += 1 + blockTag.size();
      }
    } else if (ch == '>') {
      copying = true;
      out.push_back(' ');
    } else if (ch == '<') {
      copying = false;
    } else if (copying) {
      out.push_back(ch);
    }
  }
  return out;
}

std::string RemoveDoubleHyphens(std::string text) {
  size_t search = 0;  // 0-based
  while (true) {
    size_t found = text.find("--", search);
    if (found == std::string::npos) return text;
    search = found + 2;
    if (found + 1 > 2) {  // 1-based position greater than 2
      bool openMarker = text.compare(found - 2, 4, "<!--") == 0;
      bool closeMarker = text.compare(found, 3, "-->") == 0;
      if (!openMarker && !closeMarker) {
        text[found] = ' ';
        text[found + 1] = ' ';
      }
    }
  }
}

void SelectMarkupHandling(bool& blnCharacterEntitiesPossible, const std::string& extension) {
  blnCharacterEntitiesPossible = false;
  if (extension == "xml") return;
  if (extension.find("htm") != std::string::npos) blnCharacterEntitiesPossible = true;
}

int EntityCharacter(std::string_view entity) {
  if (entity == "&quot;") return '"';
  if (entity.size() > kLongestEntity) return -1;
  auto it = EntityTable().find(entity);
  return it == EntityTable().end() ? -1 : it->second;
}

namespace {

// The code point of "&#NNN;" or "&#xHHH;" (a character, not a surrogate), or 0.
uint32_t NumericEntityCodePoint(std::string_view entity) {
  if (entity.size() < 4 || entity[1] != '#') return 0;
  const bool hex = entity[2] == 'x' || entity[2] == 'X';
  const std::string_view digits = entity.substr(hex ? 3 : 2, entity.size() - (hex ? 4 : 3));
  if (digits.empty() || digits.size() > 7) return 0;
  uint32_t cp = 0;
  for (char c : digits) {
    const int d = c >= '0' && c <= '9'                            ? c - '0'
                  : hex && (c | 0x20) >= 'a' && (c | 0x20) <= 'f' ? (c | 0x20) - 'a' + 10
                                                                  : -1;
    if (d < 0) return 0;
    cp = cp * (hex ? 16 : 10) + static_cast<uint32_t>(d);
  }
  return cp < 0x20 || (cp >= 0xD800 && cp <= 0xDFFF) || cp > 0x10FFFF ? 0 : cp;
}

}  // namespace

std::string DecodeCharacterEntities(std::string_view text, bool utf8) {
  size_t amp = text.find('&');
  if (amp == std::string_view::npos) return std::string(text);
  std::string out;
  out.reserve(text.size());
  size_t copied = 0;
  while (amp != std::string_view::npos) {
    size_t semi = text.find(';', amp);
    if (semi == std::string_view::npos) break;
    const std::string_view entity = text.substr(amp, semi - amp + 1);
    const int ch = EntityCharacter(entity);
    const uint32_t cp = utf8 ? NumericEntityCodePoint(entity) : 0;
    if (ch >= 0 || cp != 0) {
      out.append(text.substr(copied, amp - copied));
      if (!utf8) {
        out.push_back(static_cast<char>(ch));
      } else {
        AppendUtf8(ch >= 0 ? Cp1252CodePoint(static_cast<unsigned char>(ch)) : cp, &out);
      }
      copied = semi + 1;
    }
    // Decoded or not, the next search starts after this ";": a decoded entity's
    // character is never part of a later candidate.
    amp = text.find('&', semi + 1);
  }
  out.append(text.substr(copied));
  return out;
}

}  // namespace quillmoor
