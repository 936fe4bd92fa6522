#include <gtest/gtest.h>

#include <random>

#include "input/Markup.h"
#include "support/Reference.h"
#include "support/ScriptedHost.h"
#include "ui/Program.h"

namespace quillmoor {
namespace {

TEST(RemoveTagsTest, EveryTagBecomesOneSpace) {
  EXPECT_EQ(RemoveTags("<html><body>Hello <b>world</b></body></html>"), "  Hello  world   ");
  // Text before the first ">" is lost.
  EXPECT_EQ(RemoveTags("lost<p>kept"), " kept");
  // A ">" inside a comment ends the tag early.
  EXPECT_EQ(RemoveTags("<p>a<!-- x > y -->b"), " a  y -- b");
}

TEST(RemoveTagsTest, ScriptAndStyleBlocks) {
  EXPECT_EQ(RemoveTags("<p>a</p><script>var x = 1 > 0;</script><p>b</p>"), " a   b ");
  EXPECT_EQ(RemoveTags("<p>a<style>p { }</style>b"), " a b");
  // A capitalised closing tag does not end the block.
  EXPECT_EQ(RemoveTags("<p>a<SCRIPT>x</SCRIPT><p>b</p>"), " a");
  // A style start inside a script block switches the block to style.
  EXPECT_EQ(RemoveTags("<p>a<script><style></script>x</style>b"), " a b");
}

TEST(RemoveDoubleHyphensTest, BlanksLoneDoubleHyphens) {
  EXPECT_EQ(RemoveDoubleHyphens("yes--no"), "yes  no");
  EXPECT_EQ(RemoveDoubleHyphens("a <!-- c --> b"), "a <!-- c --> b");
  // Three hyphens: the first pair is blanked, the third stays.
  EXPECT_EQ(RemoveDoubleHyphens("xyz---a"), "xyz  -a");
  // At positions 1 and 2 a double hyphen is never replaced.
  EXPECT_EQ(RemoveDoubleHyphens("a--b"), "a--b");
  EXPECT_EQ(RemoveDoubleHyphens("ab--c"), "ab  c");
}

TEST(SelectMarkupHandlingTest, HtmlLikeExtensionsDecodeEntities) {
  ScriptedHost host;
  Program p(host);
  for (const char* ext : {"html", "htm", "xhtml"}) {
    SelectMarkupHandling(p.blnCharacterEntitiesPossible, ext);
    EXPECT_TRUE(p.blnCharacterEntitiesPossible) << ext;
  }
  for (const char* ext : {"xml", "txt"}) {
    SelectMarkupHandling(p.blnCharacterEntitiesPossible, ext);
    EXPECT_FALSE(p.blnCharacterEntitiesPossible) << ext;
  }
}

TEST(DecodeCharacterEntitiesTest, DecodesTheTableOnly) {
  EXPECT_EQ(DecodeCharacterEntities("&Auml;&auml;&szlig;&yuml;"), "\xC4\xE4\xDF\xFF");
  EXPECT_EQ(DecodeCharacterEntities("a&nbsp;b&#160;c&#8212;d&copy;&quot;"),
            "a b c\x97"
            "d\xA9\"");
  // "&amp;lt;" decodes once: the "&" produced is not looked at again.
  EXPECT_EQ(DecodeCharacterEntities("&amp;lt;"), "&lt;");
  // Unknown entities stay; the search goes on after their ";".
  EXPECT_EQ(DecodeCharacterEntities("&euro;5 &lt;"), "&euro;5 &lt;");
  // A "&" without a later ";" ends the pass; "&x &amp;" is one unknown candidate.
  EXPECT_EQ(DecodeCharacterEntities("&x &amp; &eacute"), "&x &amp; &eacute");
}

TEST(DecodeCharacterEntitiesTest, MatchesTheLiteralLoopOnRandomText) {
  std::mt19937 rng(99);
  const std::vector<std::string> alphabet = {"&",    ";",     "a",        "amp",   "quot",
                                             "nbsp", "#160",  "#8212",    "Auml",  "eacute",
                                             " ",    "&amp;", "&eacute;", "&quot;"};
  for (int round = 0; round < 20000; ++round) {
    std::string text = reference::RandomBytes(rng, alphabet, rng() % 16);
    ASSERT_EQ(DecodeCharacterEntities(text), reference::DecodeCharacterEntities(text)) << text;
  }
}

}  // namespace
}  // namespace quillmoor
