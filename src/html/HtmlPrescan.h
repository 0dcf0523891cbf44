#pragma once
// How a browser finds the encoding a page declares before reading it: a look
// at its first 1,024 bytes for a meta element with a charset, or an
// http-equiv Content-Type whose content names one.

#include <QByteArrayView>

namespace quillan {

inline constexpr qsizetype kPrescanLength = 1024;

// The encoding the first 1,024 bytes of `bytes` declare, as EncodingForLabel
// names it; UTF-16 labels give "UTF-8" and x-user-defined "windows-1252", as
// in a browser. Empty when they declare none that a browser knows.
QByteArrayView PrescanForEncoding(QByteArrayView bytes);

} // namespace quillan
