#pragma once
// Counting a folder's files and subfolders and summing the bytes beneath it,
// for the subfolder survey and the main window's subfolder button; and the
// texts of byte sizes.
//
// Errors carry a number and the platform's description, as the callers show
// the description to the user. A refused access is number 70 and its
// description always contains "Permission denied": the selection window
// recognises unreadable subfolders by those words.

#include <QString>
#include <QStringList>

#include <functional>

namespace quillan {

namespace disk_error {
constexpr int kPermissionDenied = 70;
constexpr int kPathFileAccess = 75;
constexpr int kPathNotFound = 76;
} // namespace disk_error

// Lets the caller show an error description in a message box.
using ReportDiskError = std::function<void(const QString &description)>;
// Lets pending window events run while files are visited one by one.
using DiskYield = std::function<void()>;

// Counts the regular files (links followed, hidden ones included) directly in
// `strFolder` whose names match `strPattern` ("*.*" matches every name).
// `dblBytes` of -1 on entry asks for the sum of their sizes, left in
// `dblBytes`. With `blnStopAtFirst` the count stops at the first match, except
// for the plain "*.*" count without sizes, which is always the whole count.
// A refused access sets `blnPermissionDenied` and gives 0 with `strError`
// untouched; any other error gives -1 with its description in `strError`
// (also handed to `reportError` when one is given).
qint32 CountFiles(const QString &strFolder, const QString &strPattern, bool blnStopAtFirst,
                  QString &strError, double &dblBytes, bool &blnPermissionDenied,
                  const ReportDiskError &reportError = {}, const DiskYield &yield = {});

// The number of subfolders (hidden ones included) directly in `strFolder`;
// -1 on any error, with `strError` and `intErrorNumber` describing it.
qint32 CountSubfolders(QString strFolder, QString &strError, int &intErrorNumber);
qint32 CountSubfolders(const QString &strFolder);

// The names of the subfolders directly in `strFolder`, in UTF-16 code-unit
// order. False on error, with `strError` and `intErrorNumber` describing it.
bool ListSubfolderNames(const QString &strFolder, QStringList &names, QString &strError,
                        int &intErrorNumber);

// True when the folder holds neither files nor subfolders, and also when it
// cannot be read (then `blnPermissionDenied` tells whether access was refused).
bool IsFolderEmpty(const QString &strFolder, bool &blnPermissionDenied);

// Counts the files matching `strPattern` in `strFolder` and every folder
// beneath it, summing their sizes when `blnSumBytes`. The top call
// (`blnTopCall`) starts the counters at 0. With `intLimit` above 0 the walk
// stops once that many files are counted and `intLimit` becomes -2. A refused
// branch is skipped; any other error stops the whole walk with its number in
// `lngErrorNumber`. A folder reached again through a link on its own way down
// is not entered twice.
void SumFolderTree(bool blnTopCall, const QString &strFolder, const QString &strPattern,
                   qint32 &lngNumFiles, int &intLimit, bool blnSumBytes, double &dblBytes,
                   qint32 &lngErrorNumber, const DiskYield &yield = {});

// "0 bytes", "1023 bytes", "1.50 Kb", "1,024.00 Kb", "1.00 Mb" (with
// `intDecimals` 2 and English number settings); "" below 0.
QString FormatByteSize(double dblBytes, int intDecimals);
// As FormatByteSize, going on to "Gb" from 1024 Mb; a negative size shows
// as its plain number of bytes.
QString FormatByteSizeGb(double dblBytes, int intDecimals);

// A number as plain decimal text: no grouping, no leading space ("1536").
QString PlainNumberText(double value);

} // namespace quillan
