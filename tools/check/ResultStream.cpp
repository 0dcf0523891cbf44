#include "ResultStream.h"

#include "OutputEscapes.h"

#include "util/NativeName.h"

#include <array>
#include <utility>

namespace quillan::check {

namespace {

const QLatin1String kRuleId("broken-local-link");

// Appends a number without a string of its own.
void appendNumber(QString &out, qint64 n)
{
    std::array<char16_t, 24> digits{};
    int count = 0;
    do {
        digits[size_t(count++)] = char16_t(u'0' + n % 10);
        n /= 10;
    } while (n > 0);
    while (count > 0)
        out += QChar(digits[size_t(--count)]);
}

bool isDocument(OutputFormat format)
{
    return format == OutputFormat::Json || format == OutputFormat::Sarif
           || format == OutputFormat::Junit;
}

// "LINK -> TARGET (HINT)", on one line.
void appendLinkMessage(QString &out, const BrokenLinkRecord &r)
{
    AppendOneLine(out, r.link);
    out += QLatin1String(" -> ");
    AppendOneLine(out, r.target);
    if (!r.hint.isEmpty()) {
        out += QLatin1String(" (");
        AppendOneLine(out, r.hint);
        out += u')';
    }
}

void appendTsvRecord(QString &out, const BrokenLinkRecord &r)
{
    AppendOneLine(out, r.page);
    out += u'\t';
    appendNumber(out, r.line);
    out += u'\t';
    AppendOneLine(out, r.link);
    out += u'\t';
    AppendOneLine(out, r.target);
    out += u'\t';
    AppendOneLine(out, r.hint);
    out += u'\n';
}

void appendJsonRecord(QString &out, const BrokenLinkRecord &r)
{
    out += QLatin1String("{\"page\": ");
    AppendJsonString(out, r.page);
    // A name that does not decode is shown with the replacement character;
    // its bytes let a script open the file all the same.
    if (HoldsUndecodedBytes(r.page)) {
        out += QLatin1String(", \"page_bytes\": ");
        AppendJsonString(out, PercentEncodedName(r.page));
    }
    out += QLatin1String(", \"line\": ");
    appendNumber(out, r.line);
    out += QLatin1String(", \"link\": ");
    AppendJsonString(out, r.link);
    out += QLatin1String(", \"target\": ");
    AppendJsonString(out, r.target);
    out += QLatin1String(", \"hint\": ");
    if (r.hint.isEmpty())
        out += QLatin1String("null");
    else
        AppendJsonString(out, r.hint);
    out += u'}';
}

void appendGithubRecord(QString &out, const BrokenLinkRecord &r, const RecordPlace &place)
{
    // The file property keeps the name as it is: the runner decodes its
    // escapes, so the annotation lands on the file itself.
    out += QLatin1String("::error file=");
    AppendWorkflowProperty(out, place.prefix);
    AppendWorkflowProperty(out, r.page);
    out += QLatin1String(",line=");
    appendNumber(out, r.line);
    out += QLatin1String(",title=Broken local link::");
    QString message;
    appendLinkMessage(message, r);
    AppendWorkflowData(out, message);
    out += u'\n';
}

void appendSarifResult(QString &out, const BrokenLinkRecord &r, const RecordPlace &place)
{
    out += QLatin1String(R"({"ruleId": ")");
    out += kRuleId;
    out += QLatin1String(R"(", "ruleIndex": 0, "level": "error", "message": {"text": )");
    QString message = QStringLiteral("Broken local link ");
    appendLinkMessage(message, r);
    AppendJsonString(out, message);
    out += QLatin1String(R"(}, "locations": [{"physicalLocation": {"artifactLocation": {"uri": )");
    const QString uri = PercentEncodedName(place.prefix + r.page.toString());
    if (place.baseUri.isEmpty()) {
        AppendJsonString(out, QStringLiteral("file://") + uri);
    } else {
        AppendJsonString(out, uri);
        out += QLatin1String(R"(, "uriBaseId": "%SRCROOT%")");
    }
    out += QLatin1String(R"(}, "region": {"startLine": )");
    appendNumber(out, r.line);
    out += QLatin1String("}}}]}");
}

void appendJsonList(QString &out, const QStringList &texts)
{
    out += u'[';
    for (qsizetype i = 0; i < texts.size(); ++i) {
        if (i > 0)
            out += QLatin1String(", ");
        AppendJsonString(out, texts[i]);
    }
    out += u']';
}

} // namespace

ResultStream::ResultStream(OutputFormat format, int fd, RecordPlace place)
    : format_(format),
      place_(std::move(place)),
      // The documents are UTF-8 by definition; the line formats follow the
      // locale, as the reports do.
      sink_(fd, isDocument(format) ? QStringConverter::Utf8 : QStringConverter::System)
{
}

bool ResultStream::statusOnOutput() const
{
    return format_ == OutputFormat::Text || format_ == OutputFormat::Github;
}

void ResultStream::BeginBrokenLinks()
{
    QString &out = sink_.text();
    switch (format_) {
    case OutputFormat::Json:
        out += QLatin1String("{\"records\": [");
        break;
    case OutputFormat::Tsv:
        out += QLatin1String("page\tline\tlink\ttarget\thint\n");
        break;
    case OutputFormat::Sarif:
        out += QLatin1String(
            "{\"$schema\": \"https://json.schemastore.org/sarif-2.1.0.json\", \"version\": \"2.1.0\",\n"
            "\"runs\": [{\"tool\": {\"driver\": {\"name\": \"quillan-check\", \"version\": \"" QUILLAN_VERSION "\",\n"
            "\"rules\": [{\"id\": \"broken-local-link\", \"name\": \"BrokenLocalLink\", "
            "\"shortDescription\": {\"text\": \"Broken local link\"}, "
            "\"fullDescription\": {\"text\": \"A link from a page of the site to a file of the site "
            "that is not on the disk.\"}, \"defaultConfiguration\": {\"level\": \"error\"}}]}},\n");
        if (!place_.baseUri.isEmpty()) {
            out += QLatin1String(R"("originalUriBaseIds": {"%SRCROOT%": {"uri": )");
            AppendJsonString(out, place_.baseUri);
            out += QLatin1String("}},\n");
        }
        out += QLatin1String("\"results\": [");
        break;
    default:
        break;
    }
}

void ResultStream::BeginListedFiles()
{
    if (format_ == OutputFormat::Json)
        sink_.text() += QLatin1String("{\"records\": [");
    else if (format_ == OutputFormat::Tsv)
        sink_.text() += QLatin1String("page\n");
}

void ResultStream::BrokenLink(const BrokenLinkRecord &r)
{
    QString &out = sink_.text();
    switch (format_) {
    case OutputFormat::Text:
        AppendOneLine(out, r.page);
        out += u':';
        appendNumber(out, r.line);
        out += QLatin1String(": ");
        appendLinkMessage(out, r);
        out += u'\n';
        break;
    case OutputFormat::Tsv:
        appendTsvRecord(out, r);
        break;
    case OutputFormat::Json:
        out += records_ == 0 ? QLatin1String("\n") : QLatin1String(",\n");
        appendJsonRecord(out, r);
        break;
    case OutputFormat::Github:
        appendGithubRecord(out, r, place_);
        break;
    case OutputFormat::Sarif:
        out += records_ == 0 ? QLatin1String("\n") : QLatin1String(",\n");
        appendSarifResult(out, r, place_);
        break;
    case OutputFormat::Junit:
        ++pageBroken_;
        pageFailures_ += QLatin1String("line ");
        appendNumber(pageFailures_, r.line);
        pageFailures_ += QLatin1String(": ");
        QString message;
        appendLinkMessage(message, r);
        AppendXmlText(pageFailures_, message);
        pageFailures_ += u'\n';
        return; // nothing goes out before the end
    }
    ++records_;
    sink_.Written();
}

void ResultStream::PageChecked(QStringView page, bool read)
{
    if (format_ != OutputFormat::Junit)
        return;
    QString &out = junitCases_;
    ++junitTests_;
    out += QLatin1String(R"(    <testcase classname="quillan-check" name=")");
    AppendXmlText(out, page);
    out += QLatin1String("\" file=\"");
    AppendXmlText(out, place_.prefix);
    AppendXmlText(out, page);
    out += u'"';
    if (read && pageBroken_ == 0) {
        out += QLatin1String("/>\n");
        return;
    }
    out += QLatin1String(">\n");
    if (pageBroken_ > 0) {
        ++junitFailures_;
        out += QLatin1String(R"(      <failure type="broken-local-link" message=")");
        appendNumber(out, pageBroken_);
        out += pageBroken_ == 1 ? QLatin1String(" broken local link\">")
                                : QLatin1String(" broken local links\">");
        out += pageFailures_;
        out += QLatin1String("</failure>\n");
    }
    if (!read) {
        ++junitErrors_;
        out += QLatin1String("      <error type=\"unreadable-page\" message=\"The page could not be read.\"/>\n");
    }
    out += QLatin1String("    </testcase>\n");
    pageFailures_.clear();
    pageBroken_ = 0;
}

void ResultStream::ListedFile(QStringView page)
{
    QString &out = sink_.text();
    if (format_ == OutputFormat::Json) {
        out += records_ == 0 ? QLatin1String("\n") : QLatin1String(",\n");
        AppendJsonString(out, page);
    } else if (format_ == OutputFormat::Tsv) {
        AppendOneLine(out, page);
        out += u'\n';
    }
    ++records_;
    sink_.Written();
}

void ResultStream::End(const RunSummary &summary)
{
    QString &out = sink_.text();
    switch (format_) {
    case OutputFormat::Json:
        endJson(summary);
        break;
    case OutputFormat::Sarif:
        endSarif(summary);
        break;
    case OutputFormat::Junit:
        endJunit(summary);
        break;
    case OutputFormat::Github:
        for (const QString &warning : summary.warnings) {
            out += QLatin1String("::warning title=quillan-check::");
            AppendWorkflowData(out, warning);
            out += u'\n';
        }
        out += summary.status + u'\n';
        break;
    case OutputFormat::Text:
        out += summary.status + u'\n';
        break;
    case OutputFormat::Tsv:
        break;
    }
    sink_.Flush();
}

void ResultStream::endJson(const RunSummary &summary)
{
    QString &out = sink_.text();
    out += records_ == 0 ? QLatin1String("],\n") : QLatin1String("\n],\n");
    out += QLatin1String("\"status\": ");
    AppendJsonString(out, summary.status);
    out += QLatin1String(", \"pages\": ");
    appendNumber(out, summary.pages);
    out += QLatin1String(", \"links\": ");
    appendNumber(out, summary.links);
    out += QLatin1String(", \"broken\": ");
    appendNumber(out, summary.broken);
    out += QLatin1String(", \"stopped\": ");
    out += summary.stopped ? QLatin1String("true") : QLatin1String("false");
    out += QLatin1String(", \"limit_reached\": ");
    out += summary.limitReached ? QLatin1String("true") : QLatin1String("false");
    out += QLatin1String(",\n\"warnings\": ");
    appendJsonList(out, summary.warnings);
    out += QLatin1String("}\n");
}

void ResultStream::endSarif(const RunSummary &summary)
{
    QString &out = sink_.text();
    out += records_ == 0 ? QLatin1String("],\n") : QLatin1String("\n],\n");
    out += QLatin1String(R"("invocations": [{"executionSuccessful": )");
    out += summary.stopped ? QLatin1String("false") : QLatin1String("true");
    out += QLatin1String(", \"toolExecutionNotifications\": [");
    for (qsizetype i = 0; i < summary.warnings.size(); ++i) {
        out += i == 0 ? QLatin1String("\n") : QLatin1String(",\n");
        out += QLatin1String(R"({"level": "warning", "message": {"text": )");
        AppendJsonString(out, summary.warnings[i]);
        out += QLatin1String("}}");
    }
    out += QLatin1String("]}],\n\"properties\": {\"status\": ");
    AppendJsonString(out, summary.status);
    out += QLatin1String("}}]}\n");
}

void ResultStream::endJunit(const RunSummary &summary)
{
    auto counts = [&](QString &out) {
        out += QLatin1String(" tests=\"");
        appendNumber(out, junitTests_);
        out += QLatin1String("\" failures=\"");
        appendNumber(out, junitFailures_);
        out += QLatin1String("\" errors=\"");
        appendNumber(out, junitErrors_);
        out += u'"';
    };
    QString &out = sink_.text();
    out += QLatin1String("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<testsuites name=\"quillan-check\"");
    counts(out);
    out += QLatin1String(">\n  <testsuite name=\"broken local links\"");
    counts(out);
    out += QLatin1String(" skipped=\"0\">\n");
    out += junitCases_;
    out += QLatin1String("    <system-out>");
    AppendXmlText(out, summary.status);
    out += QLatin1String("</system-out>\n");
    if (!summary.warnings.isEmpty()) {
        out += QLatin1String("    <system-err>");
        for (const QString &warning : summary.warnings) {
            AppendXmlText(out, warning);
            out += u'\n';
        }
        out += QLatin1String("</system-err>\n");
    }
    out += QLatin1String("  </testsuite>\n</testsuites>\n");
}

} // namespace quillan::check
