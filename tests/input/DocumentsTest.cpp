#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "input/Documents.h"
#include "input/EpubText.h"
#include "input/OdfText.h"
#include "input/PdfText.h"
#include "input/RtfText.h"
#include "input/XmlScanner.h"
#include "shared/PageMap.h"
#include "support/TestFiles.h"
#include "support/ZipFiles.h"

namespace quillmoor {
namespace {

using testing::TempDir;
using testing::WriteZip;

TEST(RtfTextTest, KeepsWhatAReaderSees) {
  const struct {
    const char* rtf;
    const char* text;
  } kCases[] = {
      {R"({\rtf1\ansi{\fonttbl{\f0 Times;}}{\colortbl;\red0;}\f0 Hello\par world})",
       "Hello / world"},
      // \uN with its fallback skipped (one by default, \uc2 two), negative N, a pair.
      {R"({\rtf1 caf\u233?s {\uc2\u8212\'97-}x \u-3913? \u55357?\u56832?})",
       "caf\xC3\xA9s \xE2\x80\x94x \xEF\x82\xB7 \xF0\x9F\x98\x80"},
      // \'hh in the document's code page, and in a font's (\fcharset204: Windows-1251).
      {R"({\rtf1\ansi\ansicpg1252 na\'efve})", "na\xC3\xAFve"},
      {R"({\rtf1{\fonttbl{\f1\fcharset204 Arial;}}\f1 \'cc\'e8\'f0})", "\xD0\x9C\xD0\xB8\xD1\x80"},
      // A double-byte code page's two bytes make one character.
      {R"({\rtf1\ansicpg932 \'93\'fa\'96\'7b})", "\xE6\x97\xA5\xE6\x9C\xAC"},
      // Destinations left out: \*, pictures, field instructions (the result stays),
      // headers, the information group; binary data skipped.
      {R"({\rtf1{\info{\title T}}{\header H}{\*\bkmkstart b}{\pict\bin3 }}}ab}x {\field{\*\fldinst HYPERLINK "u"}{\fldrslt link}} y})",
       "x link y"},
      // Symbols and the quote words; \line and \tab; an optional hyphen.
      {R"({\rtf1 \{a\}\\ \ldblquote q\rdblquote\~b\_c\-d\line e\tab f})",
       "{a}\\ \xE2\x80\x9Cq\xE2\x80\x9D\xC2\xA0"
       "b-cd / e f"},
      // A footnote is read at the end.
      {R"({\rtf1 Body{\footnote {\chftn} The note.} goes on.\par Next.})",
       "Body goes on. / Next. / The note."},
      // Unbalanced and truncated input ends without harm.
      {R"({\rtf1 a}}} b {\'4)", "a b"},
      {R"({\rtf1 a\'4x b})", "ax b"},
      // \u beyond 16 bits names no character; its fallback is skipped all the same.
      {R"({\rtf1 a\u99999?b\u-70000?c})", "abc"},
  };
  for (const auto& c : kCases) EXPECT_EQ(RtfDocumentText(c.rtf), c.text) << c.rtf;
  EXPECT_TRUE(LooksLikeRtf("\xEF\xBB\xBF \r\n{\\rtf1 x}"));
  EXPECT_FALSE(LooksLikeRtf("{\\rt"));
}

TEST(OdfTextTest, BodyParagraphsSpacesAndNotes) {
  const std::string xml =
      "<?xml version=\"1.0\"?><office:document-content><office:automatic-styles><style:style>"
      "<text:p>style text</text:p></style:style></office:automatic-styles><office:body>"
      "<office:text><text:sequence-decls><text:sequence-decl/></text:sequence-decls>"
      "<text:h text:outline-level=\"1\">Title &amp; more</text:h>"
      "<text:p>a<text:s text:c=\"3\"/>b<text:tab/>c<text:line-break/>d<text:s/>e"
      "<text:note><text:note-citation>1</text:note-citation><text:note-body>"
      "<text:p>The note.</text:p></text:note-body></text:note> f</text:p>"
      "<text:list><text:list-item><text:p>item</text:p></text:list-item></text:list>"
      "<table:table><table:table-row><table:table-cell><text:p>cell</text:p>"
      "</table:table-cell></table:table-row></table:table>"
      "<text:p>x<office:annotation><text:p>comment</text:p></office:annotation>y</text:p>"
      "<text:tracked-changes><text:p>gone</text:p></text:tracked-changes><text:p/>"
      "</office:text></office:body></office:document-content>";
  EXPECT_EQ(OdfContentText(xml), "Title & more / a   b c / d e f / item / cell / xy / The note.");
}

TEST(XmlScannerTest, TagsAttributesAndReferences) {
  XmlScanner scan(
      "<!DOCTYPE x [<!ENTITY e 'v'>]><!-- c --><a:b k='1 &gt; 0' n=\"&#x41;\"/>"
      "t&amp;&#233;&bogus;<![CDATA[<&>]]></a:b");
  ASSERT_EQ(scan.Next(), XmlScanner::kEmpty);
  EXPECT_EQ(scan.name(), "a:b");
  EXPECT_EQ(scan.localName(), "b");
  EXPECT_EQ(scan.Attribute("k"), "1 > 0");
  EXPECT_EQ(scan.AttributeByLocalName("n"), "A");
  ASSERT_EQ(scan.Next(), XmlScanner::kText);
  EXPECT_EQ(scan.text(), "t&\xC3\xA9&bogus;");
  ASSERT_EQ(scan.Next(), XmlScanner::kText);
  EXPECT_EQ(scan.text(), "<&>");
  EXPECT_EQ(scan.Next(), XmlScanner::kDone);  // the unclosed end tag
}

TEST(PdfTextTest, PagesLinesLigaturesAndHyphens) {
  DocumentReading r;
  JoinPdfPages({"", "  The \xEF\xAC\x81rst line  \n\n of concor-\n",
                "dance and a hy\xC2\xAD\nphen.\f", "", "Upper-\nCase stays.\nlast\n"},
               &r);
  // "concordance" stays on page 2, the rest of its line is on page 3.
  EXPECT_EQ(r.text, "The first line / of concordance" + std::string(kPageBreak) + "and a hyphen." +
                        std::string(kPageBreak) + "Upper- / Case stays. / last");
  EXPECT_EQ(r.firstPage, 2);
  EXPECT_EQ(r.markPages, (std::vector<int32_t>{3, 5}));
  // The marks as the page map finds them, in the text framed as a run frames it.
  std::string text = " " + r.text + " ";
  const PageMap map = TakePageMarks(text, r.firstPage, r.markPages);
  EXPECT_EQ(text.find(kPageMark), std::string::npos);
  const int32_t upper = static_cast<int32_t>(text.find("Upper")) + 1;
  EXPECT_EQ(map.PageOf(1), 2);
  EXPECT_EQ(map.PageOf(static_cast<int32_t>(text.find("and a")) + 1), 3);
  EXPECT_EQ(map.PageOf(upper - 3), 3);
  EXPECT_EQ(map.PageOf(upper), 5);
  EXPECT_EQ(PageLabel(map.PageOf(upper)), "p. 5");
  EXPECT_EQ(PageMap().PageOf(7), 0);
  JoinPdfPages({" \n", "\f"}, &r);
  EXPECT_EQ(r.text, "");
  EXPECT_EQ(r.firstPage, 0);
}

std::string Opf(const std::string& manifest, const std::string& spine) {
  return "<?xml version='1.0'?><package xmlns='http://www.idpf.org/2007/opf'><metadata>"
         "<dc:title>  A\n Book &amp; Its Title </dc:title><dc:title>Second</dc:title></metadata>"
         "<manifest>" +
         manifest + "</manifest><spine>" + spine + "</spine></package>";
}

TEST(EpubTextTest, SpineOrderTitleAndChapters) {
  const EpubPackage package = ParseEpubPackage(
      Opf("<item id='nav' href='nav.xhtml' media-type='application/xhtml+xml' properties='nav'/>"
          "<item id='c2' href='Text/two%20b.xhtml#top' media-type='application/xhtml+xml'/>"
          "<item id='c1' href='../one.xhtml' media-type='application/xhtml+xml'/>"
          "<item id='img' href='p.png' media-type='image/png'/>",
          "<itemref idref='c1'/><itemref idref='c2' linear='no'/><itemref idref='img'/>"),
      "OEBPS/content.opf");
  EXPECT_EQ(package.title, "A Book & Its Title");
  EXPECT_EQ(package.spine, (std::vector<std::string>{"one.xhtml", "OEBPS/Text/two b.xhtml"}));
  EXPECT_EQ(EpubPackagePath("<container><rootfiles><rootfile full-path='OEBPS/content.opf' "
                            "media-type='application/oebps-package+xml'/></rootfiles></container>"),
            "OEBPS/content.opf");
  EXPECT_EQ(EpubChapterText("<html><head><title>Book</title><style>p{}</style></head>\n<body>"
                            "<h1>One</h1><p>caf&eacute; &amp; t&#233;</p></body></html>"),
            "  One  caf\xC3\xA9 & t\xC3\xA9   ");
}

TEST(EpubTextTest, ReadsTheBookAndRefusesWhatIsNotOne) {
  TempDir dir;
  const std::string container =
      "<container><rootfiles><rootfile full-path='book.opf'/></rootfiles></container>";
  const std::string book = dir.path() + "/book.epub";
  WriteZip(book,
           {{"mimetype", "application/epub+zip"},
            {"META-INF/container.xml", container},
            {"book.opf", Opf("<item id='a' href='a.xhtml' media-type='application/xhtml+xml'/>"
                             "<item id='b' href='b.xhtml' media-type='application/xhtml+xml'/>",
                             "<itemref idref='b'/><itemref idref='a'/>")},
            {"a.xhtml", "<html><body><p>First written.</p></body></html>"},
            {"b.xhtml", "<html><body><p>Read first.</p></body></html>"}});
  DocumentReading r;
  ASSERT_TRUE(ReadDocument(DocumentFormat::kEpub, book, DocumentLimits(), &r)) << r.problem;
  EXPECT_EQ(r.text, "Read first. / First written.");
  EXPECT_EQ(r.title, "A Book & Its Title");

  // A chapter that expands past the limit: refused once the limit is passed.
  const std::string bomb = dir.path() + "/bomb.epub";
  WriteZip(bomb,
           {{"META-INF/container.xml", container},
            {"book.opf", Opf("<item id='a' href='a.xhtml' media-type='application/xhtml+xml'/>",
                             "<itemref idref='a'/>")},
            {"a.xhtml", std::string(3 << 20, 'a')}});
  DocumentLimits small;
  small.maxExpandedBytes = 1 << 20;
  EXPECT_FALSE(ReadDocument(DocumentFormat::kEpub, bomb, small, &r));
  EXPECT_NE(r.problem.find("expands to more than 1 MB"), std::string::npos) << r.problem;

  const struct {
    std::vector<std::pair<std::string, std::string>> entries;
    const char* why;
  } kBroken[] = {
      {{{"x", "y"}}, "it has no META-INF/container.xml"},
      {{{"META-INF/container.xml", "<container/>"}}, "its container.xml names no package file"},
      {{{"META-INF/container.xml", container}}, "it has no book.opf"},
      {{{"META-INF/container.xml", container}, {"book.opf", Opf("", "")}},
       "its spine lists no XHTML document"},
  };
  for (const auto& c : kBroken) {
    const std::string path = dir.path() + "/broken.epub";
    WriteZip(path, c.entries);
    EXPECT_FALSE(ReadDocument(DocumentFormat::kEpub, path, DocumentLimits(), &r));
    EXPECT_NE(r.problem.find(c.why), std::string::npos) << r.problem;
  }
  const std::string text = dir.Write("text.epub", "not a zip archive at all");
  EXPECT_FALSE(ReadDocument(DocumentFormat::kEpub, text, DocumentLimits(), &r));
  EXPECT_NE(r.problem.find("is not a readable EPUB book: "), std::string::npos) << r.problem;
}

TEST(OdfTextTest, ReadsTheArchiveAndRefusesItsAbsence) {
  TempDir dir;
  const std::string odt = dir.path() + "/report.odt";
  WriteZip(odt, {{"mimetype", "application/vnd.oasis.opendocument.text"},
                 {"content.xml",
                  "<office:body><text:p>Report \xC5\xBC\xC3\xB3\xC5\x82w.</text:p>"
                  "</office:body>"}});
  DocumentReading r;
  ASSERT_TRUE(ReadDocument(DocumentFormatOf("odt"), odt, DocumentLimits(), &r)) << r.problem;
  EXPECT_EQ(r.text, "Report \xC5\xBC\xC3\xB3\xC5\x82w.");
  WriteZip(odt, {{"styles.xml", "<x/>"}});
  EXPECT_FALSE(ReadDocument(DocumentFormatOf("ott"), odt, DocumentLimits(), &r));
  EXPECT_NE(r.problem.find("it has no content.xml"), std::string::npos) << r.problem;
}

TEST(RtfTextTest, RefusesAFileThatIsNotRtf) {
  TempDir dir;
  DocumentReading r;
  ASSERT_TRUE(ReadDocument(DocumentFormat::kRtf, dir.Write("a.rtf", "{\\rtf1 Fine.}"),
                           DocumentLimits(), &r));
  EXPECT_EQ(r.text, "Fine.");
  EXPECT_FALSE(
      ReadDocument(DocumentFormat::kRtf, dir.Write("b.rtf", "Plain text."), DocumentLimits(), &r));
  EXPECT_NE(r.problem.find("does not appear to be an RTF document"), std::string::npos);
}

}  // namespace
}  // namespace quillmoor
