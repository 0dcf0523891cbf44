#pragma once
// How text is made safe for each output of quillan-check: one record per
// line whatever a name holds, and documents that their readers accept.

#include <QByteArray>
#include <QString>
#include <QStringView>

namespace quillan::check {

// Appends a JSON string literal, quotes included.
void AppendJsonString(QString &out, QStringView text);

// Appends text that must stay on one line: backslash, tab, line feed and
// carriage return become \\, \t, \n and \r; other control characters and
// the Unicode line separators become \xHH or \uHHHH.
void AppendOneLine(QString &out, QStringView text);

// Appends text for an XML element or a double-quoted attribute: kept on
// one line as AppendOneLine does (XML 1.0 has no way to hold most control
// characters), then &, <, > and " as entities.
void AppendXmlText(QString &out, QStringView text);

// A GitHub workflow command's message and property values: %, CR and LF
// (and in a property also ':' and ',') percent-encoded.
void AppendWorkflowData(QString &out, QStringView text);
void AppendWorkflowProperty(QString &out, QStringView text);

// The name's bytes on disk, percent-encoded with '/' and the characters a
// URI leaves as they are kept: a name that does not decode can still be
// opened by a script, and a SARIF location is a valid URI reference.
QString PercentEncodedName(QStringView name);

} // namespace quillan::check
