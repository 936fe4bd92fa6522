// A forward scanner of XML, enough for the parts of documents that are XML (an EPUB's
// container and package files, an OpenDocument's content.xml): start, end and empty
// tags with their attributes, and the character data between them. Comments,
// processing instructions and the document type are skipped; CDATA sections are
// character data. It never reads past the text, and malformed XML ends the scan
// (kDone) where it can go no further; well-formedness is not checked.
#ifndef QUILLMOOR_INPUT_XMLSCANNER_H_
#define QUILLMOOR_INPUT_XMLSCANNER_H_

#include <string>
#include <string_view>

namespace quillmoor {

class XmlScanner {
 public:
  enum Kind { kStart, kEnd, kEmpty, kText, kDone };

  explicit XmlScanner(std::string_view xml) : xml_(xml) {}

  Kind Next();
  // The tag's qualified name ("text:p"), for kStart, kEnd and kEmpty.
  std::string_view name() const { return name_; }
  // The name without its prefix ("p").
  std::string_view localName() const;
  // The character data of kText, with its entities and character references decoded.
  std::string text() const;
  // The value of attribute `qualifiedName` of the tag, decoded; "" when it has none.
  std::string Attribute(std::string_view qualifiedName) const;
  // The attribute whose name without its prefix is `localName`.
  std::string AttributeByLocalName(std::string_view localName) const;
  size_t position() const { return at_; }

 private:
  std::string_view xml_;
  size_t at_ = 0;
  std::string_view name_, attributes_, text_;
  bool cdata_ = false;
};

// XML character data with &amp; &lt; &gt; &quot; &apos; and character references
// (&#N; &#xN;) decoded, as UTF-8; any other "&...;" stays as written.
std::string DecodeXmlText(std::string_view text);

}  // namespace quillmoor

#endif  // QUILLMOOR_INPUT_XMLSCANNER_H_
