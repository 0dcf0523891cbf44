#pragma once
// An attribute value as a browser reads it: character references decoded,
// NUL read as U+FFFD and every line break (CR LF, CR, LF) read as LF.

#include <QString>
#include <QStringView>

namespace quillan {

// Whether `raw` holds anything DecodeAttributeValue changes: "&", NUL or CR.
bool AttributeValueNeedsDecoding(QStringView raw);

// Appends the value `raw` (the text between the quotes, or the unquoted
// value) to `out` as a browser decodes it. A named reference without ";"
// that is followed by "=" or a letter or digit stays as written, as it does
// in a browser's attribute values, so query strings such as "?a=1&copy=2"
// keep their text.
void AppendDecodedAttributeValue(QStringView raw, QString &out);

} // namespace quillan
