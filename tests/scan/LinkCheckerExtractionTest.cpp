// Which link a line gives, if any.

#include "LinkCheckerSite.h"

#include <gtest/gtest.h>

namespace quillan::test {

TEST(LinkExtraction, TakesTheFirstHrefOfALineBeforeAnySrcInAnyCase)
{
    EXPECT_EQ(TargetsOfPage(R"(<img src="a.gif"> <a href="b.htm">b</a>
<a href="c.htm">c</a> <a href="d.htm">d</a>
<img src="e.gif"> <img src="f.gif">
<A HREF="Docs/Page.HTM">
<IMG SRC="Pic.GIF">
)"),
              "b.htm|c.htm|e.gif|Docs/Page.HTM|Pic.GIF");
}

TEST(LinkExtraction, NeedsASpaceTheKeyAndADoubleQuotedValueOnOneLine)
{
    EXPECT_EQ(TargetsOfPage(R"(<a href='single.htm'>
<a href=bare.htm>
<a href = "spaced.htm">
    href="line-start.htm">
<img data-src="data.gif">
<a href="unclosed.htm
continued">
)" "<a\thref=\"tab.htm\">\n"),
              "");
}

TEST(LinkExtraction, CutsCommentsOnTheirOwnLineOnly)
{
    EXPECT_EQ(TargetsOfPage(R"(<!-- old --> <a href="hidden.htm">
--> <a href="after-end.htm">
<a href="before-end.htm"> -->
<a href="before-start.htm"> <!-- note -->
<!--
<a href="inside-comment.htm">
-->
)"),
              "after-end.htm|before-start.htm|inside-comment.htm");
}

TEST(LinkExtraction, SkipsEmptyLinksFragmentsRootLinksOtherSitesMailAndScriptsInAnyCase)
{
    EXPECT_EQ(TargetsOfLinks({"#", "#top", "", "/root.htm", "http://example.invalid/a.htm",
                              "FILE://x/b.htm", "MailTo:someone.htm", "JavaScript:open('c.htm')",
                              "gone.htm#part", "local.htm"}),
              "gone.htm|local.htm");
}

TEST(LinkExtraction, ReadsLinesEndedByLfCrOrCrLfAlike)
{
    // The last line has no line end of its own.
    const QByteArray page = R"(<a href="one.htm">

  <img src="two.gif">
<a href="three.htm">)";
    for (const char *lineEnd : {"\n", "\r", "\r\n"}) {
        EXPECT_EQ(TargetsOfPage(QByteArray(page).replace("\n", lineEnd)),
                  "one.htm|two.gif|three.htm")
            << "line end " << QByteArray(lineEnd).toHex().toStdString();
    }
}

TEST(LinkExtraction, FindsALinkFarIntoALongLine)
{
    EXPECT_EQ(TargetsOfPage(QByteArray(70000, 'x') + R"( href="far.htm")"), "far.htm");
}

} // namespace quillan::test
