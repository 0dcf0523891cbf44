#pragma once
// Runs a whole check of links on a small on-disk site, as the window does,
// and gives back what was recorded in a form tests can compare.

#include "engine/TempTree.h"
#include "scan/ScanState.h"
#include "settings/TargetFileTypes.h"

#include <QString>
#include <QStringList>

namespace quillan::test {

struct CheckSetup {
    QString excludedLinks;        // the link exclusion box's text
    int includePhpFiles = 0;
    QString checkableFileTypes = DefaultCheckableFileTypes();
    qint32 maxNumLinks = 50000;
};

struct CheckOutcome {
    // "page -> target", both relative to the top folder, in recording order.
    QStringList links;
    // Every status line the checker showed, in order.
    QStringList statuses;
    ScanState state;
};

CheckOutcome CheckSite(const TempTree &site, const CheckSetup &setup = {});

// The targets alone, relative to the top folder.
QStringList Targets(const CheckOutcome &outcome);

// A page whose lines hold the given texts, ended by `lineEnd`.
QByteArray Page(const QStringList &lines, const QByteArray &lineEnd = "\r\n");

// A page with one <a href="..."> line for each link.
QByteArray PageLinkingTo(const QStringList &links);

// The targets recorded for a site of one page, index.htm, made of these
// lines or of one <a href="..."> line for each of these links.
QStringList TargetsOfLines(const QStringList &lines, const CheckSetup &setup = {});
QStringList TargetsOfLinks(const QStringList &links, const CheckSetup &setup = {});

} // namespace quillan::test
