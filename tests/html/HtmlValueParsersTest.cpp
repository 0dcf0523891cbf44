#include "HtmlReading.h"
#include "html/HtmlValueParsers.h"

#include <gtest/gtest.h>

namespace quillan::test {

namespace {

QStringList Urls(const char *srcset)
{
    const QString text = QString::fromUtf8(srcset);
    std::vector<ValueSpan> spans;
    SrcsetUrls(text, spans);
    QStringList urls;
    for (const ValueSpan &span : spans)
        urls.append(text.sliced(span.offset, span.length));
    return urls;
}

QString Refresh(const char *content)
{
    const QString text = QString::fromUtf8(content);
    ValueSpan url;
    switch (MetaRefreshUrl(text, url)) {
    case RefreshResult::NotARefresh:
        return QStringLiteral("(none)");
    case RefreshResult::ReloadsPage:
        return QStringLiteral("(self)");
    case RefreshResult::GoesToUrl:
        break;
    }
    return text.sliced(url.offset, url.length);
}

} // namespace

TEST(Srcset, EveryCandidatesUrlWhateverItsDescriptor)
{
    EXPECT_EQ(Urls("a.png"), Values({"a.png"}));
    EXPECT_EQ(Urls(" a.png 1x , b.png 2x,c.png 100w"), Values({"a.png", "b.png", "c.png"}));
    // A URL runs to a space: commas inside it stay, commas that end it end
    // the candidate and are dropped.
    EXPECT_EQ(Urls("a.png,b.png,, c.png"), Values({"a.png,b.png", "c.png"}));
    // Commas inside a descriptor's parentheses do not split; odd descriptors
    // still give their URL.
    EXPECT_EQ(Urls("a.png foo(1, 2) bar, b.png 2q"), Values({"a.png", "b.png"}));
    EXPECT_EQ(Urls("x.php?a=1,2 2x, y.png"), Values({"x.php?a=1,2", "y.png"}));
    EXPECT_EQ(Urls(" , ,\n"), QStringList());
    EXPECT_EQ(Urls(""), QStringList());
}

TEST(MetaRefresh, ReadAsABrowserReadsIt)
{
    EXPECT_EQ(Refresh("5; url=next.htm"), QStringLiteral("next.htm"));
    EXPECT_EQ(Refresh("0;URL = 'q.htm' trailing"), QStringLiteral("q.htm"));
    EXPECT_EQ(Refresh("0; url=\"unclosed.htm"), QStringLiteral("unclosed.htm"));
    EXPECT_EQ(Refresh("3.5, other.htm"), QStringLiteral("other.htm"));
    EXPECT_EQ(Refresh(".5 'quoted.htm'"), QStringLiteral("quoted.htm"));
    // Beginning with "u" but not "url=": the whole rest, quotes and all.
    EXPECT_EQ(Refresh("1; urn.htm"), QStringLiteral("urn.htm"));
    EXPECT_EQ(Refresh("1; url 'x'"), QStringLiteral("url 'x'"));
    EXPECT_EQ(Refresh("1; url= "), QString());
    EXPECT_EQ(Refresh("  7  "), QStringLiteral("(self)"));
    EXPECT_EQ(Refresh("7;"), QStringLiteral("(self)"));
    for (const char *notRefresh : {"", "url=x.htm", "-1; url=x", "5x; url=y", " ;url=z"})
        EXPECT_EQ(Refresh(notRefresh), QStringLiteral("(none)")) << notRefresh;
}

TEST(ServerSideIncludes, TheSpellingsOfAnInclude)
{
    const auto includes = [](const char *comment) {
        std::vector<IncludeLink> found;
        ServerSideIncludes(QString::fromUtf8(comment), found);
        QStringList described;
        for (const IncludeLink &include : found)
            described.append((include.kind == HtmlLinkKind::IncludeFile ? QStringLiteral("file ")
                                                                        : QStringLiteral("virtual ")) +
                             include.value + u'@' + QString::number(include.offset));
        return described;
    };
    EXPECT_EQ(includes("#include virtual=\"/a.html\" "), Values({"virtual /a.html@18"}));
    EXPECT_EQ(includes("# include\tfile =\n'b.html'"), Values({"file b.html@18"}));
    EXPECT_EQ(includes("#include virtual=`c.html` file=d.html"), Values({"virtual c.html@18", "file d.html@31"}));
    EXPECT_EQ(includes("#include virtual=\"say \\\"hi\\\".html\" "), Values({"virtual say \"hi\".html@18"}));
    // Other attributes are passed over; other directives and broken ones give nothing.
    EXPECT_EQ(includes("#include onerror=\"/e.html\" virtual=\"/v.html\""), Values({"virtual /v.html@36"}));
    for (const char *none : {"include virtual=x", "#includevirtual=x", "#exec cgi=\"x\"", "#include virtual",
                             "#include virtual=\"unclosed", "#include =x", ""})
        EXPECT_EQ(includes(none), QStringList()) << none;
}

} // namespace quillan::test
