#pragma once
// Tests on a link's text that both ways of reading a page share.

#include <QStringList>
#include <QStringView>

namespace quillan {

// True when the link begins with a URL scheme ("tel:", "data:", "ftp:", ...):
// a letter, then letters, digits, "+", "-" or ".", then ":". At least two
// characters stand before the colon, so a drive ("C:") is not a scheme.
bool StartsWithUrlScheme(QStringView link);

class ScanState;

// The link exclusion strings of a scan, lower-cased for ContainsInLowered.
QStringList LoweredLinkExclusions(const ScanState &state);

// True for a file the walk reads as a page: its extension holds "htm", or it
// is "php" when PHP pages are asked for (`includePhpFiles` not 0).
bool IsPageFileName(QStringView path, int includePhpFiles);

} // namespace quillan
