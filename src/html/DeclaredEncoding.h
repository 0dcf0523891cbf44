#pragma once
// Decoding a page in the encoding it declares.

#include <QByteArrayView>
#include <QString>

namespace quillan {

// Decodes `bytes` in `encoding` (a name EncodingForLabel gives) into `text`;
// false when no decoder for it is at hand.
bool DecodeDeclared(QByteArrayView bytes, QByteArrayView encoding, QString &text);

} // namespace quillan
