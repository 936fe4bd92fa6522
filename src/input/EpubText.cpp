#include "input/EpubText.h"

#include <map>

#include "input/Markup.h"
#include "input/Unzip.h"
#include "input/XmlScanner.h"
#include "shared/Cp1252.h"

namespace quillmoor {
namespace {

// An href of the package (percent-encoded, relative to its folder) as an archive path.
std::string ResolveHref(std::string_view href, std::string_view opfPath) {
  href = href.substr(0, href.find('#'));
  std::string decoded;
  for (size_t i = 0; i < href.size(); ++i) {
    const auto hex = [](char c) {
      return c >= '0' && c <= '9'                     ? c - '0'
             : (c | 0x20) >= 'a' && (c | 0x20) <= 'f' ? (c | 0x20) - 'a' + 10
                                                      : -1;
    };
    if (href[i] == '%' && i + 2 < href.size() && hex(href[i + 1]) >= 0 && hex(href[i + 2]) >= 0) {
      decoded += static_cast<char>(hex(href[i + 1]) * 16 + hex(href[i + 2]));
      i += 2;
    } else {
      decoded += href[i];
    }
  }
  const size_t slash = opfPath.rfind('/');
  std::string joined = slash == std::string_view::npos || (!decoded.empty() && decoded[0] == '/')
                           ? decoded
                           : std::string(opfPath.substr(0, slash + 1)) + decoded;
  // The path's "." and ".." parts resolved; none climbs above the archive's top.
  std::vector<std::string> parts;
  size_t begin = 0;
  while (begin <= joined.size()) {
    size_t end = joined.find('/', begin);
    if (end == std::string::npos) end = joined.size();
    const std::string part = joined.substr(begin, end - begin);
    if (part == "..") {
      if (!parts.empty()) parts.pop_back();
    } else if (!part.empty() && part != ".") {
      parts.push_back(part);
    }
    begin = end + 1;
  }
  std::string path;
  for (const std::string& part : parts) path += (path.empty() ? "" : "/") + part;
  return path;
}

}  // namespace

std::string EpubPackagePath(std::string_view containerXml) {
  XmlScanner scan(containerXml);
  for (XmlScanner::Kind kind; (kind = scan.Next()) != XmlScanner::kDone;) {
    if ((kind == XmlScanner::kStart || kind == XmlScanner::kEmpty) &&
        scan.localName() == "rootfile") {
      const std::string path = scan.Attribute("full-path");
      if (!path.empty()) return path;
    }
  }
  return "";
}

EpubPackage ParseEpubPackage(std::string_view opf, std::string_view opfPath) {
  EpubPackage package;
  std::map<std::string, std::string> items;  // id -> path, of the (X)HTML documents
  std::vector<std::string> order;
  XmlScanner scan(opf);
  bool inTitle = false;
  for (XmlScanner::Kind kind; (kind = scan.Next()) != XmlScanner::kDone;) {
    const std::string_view name = scan.localName();
    if (kind == XmlScanner::kStart && name == "title" && package.title.empty()) {
      inTitle = true;
    } else if (kind == XmlScanner::kEnd && name == "title") {
      inTitle = false;
    } else if (kind == XmlScanner::kText && inTitle) {
      package.title += scan.text();
    } else if (kind == XmlScanner::kStart || kind == XmlScanner::kEmpty) {
      if (name == "item") {
        const std::string type = scan.Attribute("media-type");
        if (type == "application/xhtml+xml" || type == "text/html") {
          items[scan.Attribute("id")] = ResolveHref(scan.Attribute("href"), opfPath);
        }
      } else if (name == "itemref") {
        order.push_back(scan.Attribute("idref"));
      }
    }
  }
  for (const std::string& id : order) {
    if (const auto found = items.find(id); found != items.end())
      package.spine.push_back(found->second);
  }
  std::string title;
  for (char c : package.title) {
    if (c == '\n' || c == '\r' || c == '\t') c = ' ';
    if (!(c == ' ' && (title.empty() || title.back() == ' '))) title += c;
  }
  while (!title.empty() && title.back() == ' ') title.pop_back();
  package.title = title;
  return package;
}

std::string EpubChapterText(std::string_view xhtml) {
  // From the body on: the head's title would stand in every chapter.
  size_t body = xhtml.find("<body");
  if (body == std::string_view::npos) body = xhtml.find("<BODY");
  std::string text(body == std::string_view::npos ? xhtml : xhtml.substr(body));
  for (char& c : text) {
    if (c == '\n' || c == '\r' || c == '\t') c = ' ';
  }
  return DecodeCharacterEntities(RemoveTags(text), true);
}

bool ReadEpubDocument(const std::string& path, const DocumentLimits& limits,
                      DocumentReading* reading) {
  const auto refuse = [&](const std::string& problem, const char* caption) {
    return RefuseDocument(reading, path, problem, caption);
  };
  const auto unreadable = [&](const std::string& why) {
    return refuse("is not a readable EPUB book: " + why + ".", "EPUB book");
  };
  ZipArchive archive;
  if (UnzipResult r = archive.Open(path); r.status != UnzipStatus::kOk) return unreadable(r.detail);
  long long left = limits.maxExpandedBytes;
  std::string xml;
  // Reads an entry into xml, counting it against what the book may expand to.
  const auto read = [&](const std::string& name) -> UnzipResult {
    UnzipResult r = archive.ReadToString(name, left, &xml);
    left -= static_cast<long long>(xml.size());
    return r;
  };
  const auto tooBig = [&] { return refuse(ExpandsPastTheLimit(limits), "File too big"); };
  UnzipResult r = read("META-INF/container.xml");
  if (r.status == UnzipStatus::kTooLarge) return tooBig();
  if (r.status == UnzipStatus::kNoEntry) return unreadable("it has no META-INF/container.xml");
  if (r.status != UnzipStatus::kOk) return unreadable(r.detail);
  const std::string opfPath = EpubPackagePath(xml);
  if (opfPath.empty()) return unreadable("its container.xml names no package file");
  r = read(opfPath);
  if (r.status == UnzipStatus::kTooLarge) return tooBig();
  if (r.status == UnzipStatus::kNoEntry) return unreadable("it has no " + opfPath);
  if (r.status != UnzipStatus::kOk) return unreadable(r.detail);
  const EpubPackage package = ParseEpubPackage(xml, opfPath);
  if (package.spine.empty()) return unreadable("its spine lists no XHTML document");
  reading->title = package.title;
  std::string& text = reading->text;
  text.clear();
  for (const std::string& chapter : package.spine) {
    if (limits.stopped && limits.stopped()) {
      reading->problem = "Stopped when reading file.";
      reading->caption = "Stopped";
      return false;
    }
    r = read(chapter);
    if (r.status == UnzipStatus::kTooLarge) return tooBig();
    if (r.status == UnzipStatus::kNoEntry) continue;  // listed, yet missing: nothing to read
    if (r.status != UnzipStatus::kOk) return unreadable(chapter + ": " + r.detail);
    AppendDocumentLine(EpubChapterText(xml), &text);
    if (static_cast<long long>(text.size()) > limits.maxTextBytes) {
      return refuse("makes a text longer than can be scanned.", "File too large");
    }
  }
  return true;
}

}  // namespace quillmoor
