#pragma once
// Opening web addresses: what a failure to open one tells the user.

#include <QString>

namespace quillan {

// Values of at least this size mean the address was handed to an application.
inline constexpr int kWebLinkOpened = 33;

// Failure values with their own explanation.
inline constexpr int kWebLinkTryAgain = 2;
inline constexpr int kWebLinkOutOfMemory = 8;
inline constexpr int kWebLinkNoApplication = 31;

inline const QString kWebLinkFailureTitle = QStringLiteral("Cannot launch web browser");

// The extension of the address's last path component, lower-cased; empty when
// that component has no full stop.
QString WebLinkExtension(const QString &target);

// The message for an address that could not be opened; "" when `result`
// means success.
QString WebLinkFailureText(int result, const QString &target);

// The online user manual, a page on the maker's site.
QString UserManualAddress(const QString &makerSite);

} // namespace quillan
