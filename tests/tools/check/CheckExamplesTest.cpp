// The examples of the README and of the manual page, run as written in a
// folder laid out as a CI checkout: each must work and give output that
// parses.

#include "CheckProcess.h"

#include "engine/TempTree.h"
#include "settings/SettingsFile.h"

#include <QFile>
#include <QJsonDocument>
#include <QRegularExpression>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

namespace quillan::test {

namespace {

const QString kSourceDir = QStringLiteral(QUILLAN_SOURCE_DIR);

QString sourceText(const QString &relative)
{
    QFile file(kSourceDir + u'/' + relative);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << relative.toStdString();
    return QString::fromUtf8(file.readAll());
}

// The command lines of the README's CI section: code lines that run the
// checker, without a list item's "- " or a step's "run: ".
QStringList readmeExamples()
{
    const QString readme = sourceText(QStringLiteral("README.md"));
    const qsizetype start = readme.indexOf(QStringLiteral("## Checking links in CI"));
    const QString section = readme.mid(start, readme.indexOf(QStringLiteral("\n## "), start + 1) - start);
    QStringList commands;
    static const QRegularExpression lead(QStringLiteral("^\\s+(- )?(run: )?(?=quillan-check )"));
    for (const QString &line : section.split(u'\n')) {
        const QRegularExpressionMatch match = lead.match(line);
        if (match.hasMatch() && !line.contains(QStringLiteral("[options]")))
            commands.append(line.mid(match.capturedEnd()).trimmed());
    }
    return commands;
}

// The command lines between .nf and .fi in the manual page's EXAMPLES.
QStringList manPageExamples()
{
    const QString page = sourceText(QStringLiteral("tools/check/quillan-check.1"));
    const QString section = page.mid(page.indexOf(QStringLiteral(".SH EXAMPLES")));
    QStringList commands;
    for (const QString &line : section.split(u'\n')) {
        if (line.startsWith(QStringLiteral("quillan-check ")))
            commands.append(QString(line).replace(QStringLiteral("\\-"), QStringLiteral("-")));
    }
    return commands;
}

TEST(CheckExamples, RunAsWrittenAndGiveOutputThatParses)
{
    TempTree checkout;
    for (const char *top : {"site", "public", "build/site"}) {
        const QString folder = QString::fromLatin1(top);
        checkout.file(folder + QStringLiteral("/index.htm"), "<a href=\"about.htm\">\n<a href=\"gone.htm\">\n");
        checkout.file(folder + QStringLiteral("/about.htm"), "<a href=\"index.htm\">\n");
        checkout.file(folder + QStringLiteral("/drafts/new.htm"), "<a href=\"missing.htm\">\n");
    }
    // Saved on a desktop whose copy of the site lies elsewhere.
    ASSERT_EQ(WriteSettingsFile(checkout.path(QStringLiteral("site.usr")),
                                SettingsValues{QStringLiteral("/home/someone/site/"), QStringLiteral("drafts"),
                                               {}, {}, 0, 1, 0}),
              QString());

    const QStringList readme = readmeExamples();
    const QStringList manPage = manPageExamples();
    EXPECT_EQ(readme.size(), 3) << readme.join(u'\n').toStdString();
    EXPECT_EQ(manPage.size(), 5) << manPage.join(u'\n').toStdString();
    TempTree home;
    for (const QString &command : readme + manPage) {
        SCOPED_TRACE(command.toStdString());
        for (const char *output : {"links.json", "links.sarif", "links.xml"})
            QFile::remove(checkout.path(QString::fromLatin1(output)));
        const CliResult result = RunShell(command, checkout.root(), home.path(QStringLiteral("data")));
        EXPECT_EQ(result.status, 1) << result.err.toStdString();
        EXPECT_FALSE(result.err.contains("warning")) << result.err.toStdString();
        // The excluded subfolder of the settings file applies to the named copy.
        const int broken = command.contains(QStringLiteral("site.usr")) ? 1 : 2;
        for (const char *output : {"links.json", "links.sarif"}) {
            const QString path = checkout.path(QString::fromLatin1(output));
            if (!command.contains(QString::fromLatin1(output)))
                continue;
            QJsonParseError error;
            const QJsonDocument document = QJsonDocument::fromJson(FileBytes(path), &error);
            EXPECT_EQ(error.error, QJsonParseError::NoError) << output;
            EXPECT_TRUE(document.isObject());
        }
        if (command.contains(QStringLiteral("links.xml"))) {
            QXmlStreamReader xml(FileBytes(checkout.path(QStringLiteral("links.xml"))));
            int failures = 0;
            while (!xml.atEnd())
                failures += xml.readNext() == QXmlStreamReader::StartElement
                            && xml.name() == QStringLiteral("failure");
            EXPECT_FALSE(xml.hasError());
            EXPECT_EQ(failures, broken == 1 ? 1 : 2);
        }
        const bool keepsReports = command.contains(QStringLiteral("--out"));
        if (keepsReports) {
            const QString out = command.section(QStringLiteral("--out "), 1).section(u' ', 0, 0);
            const QByteArray report = FileBytes(checkout.path(out + QStringLiteral("/links_to.txt")));
            EXPECT_TRUE(report.contains(broken == 1 ? "There is one broken link:" : "There are 2 broken links:"))
                << report.toStdString();
        }
    }
}

} // namespace

} // namespace quillan::test
