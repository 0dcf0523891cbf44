#include "util/DiskProc.h"

#include "util/FileProc.h"
#include "util/NativeName.h"

#include <QLocale>
#include <QRegularExpression>
#include <QStringList>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <system_error>
#include <vector>

namespace quillan {

namespace fs = std::filesystem;

namespace {

struct DiskFailure {
    int number = 0;
    QString description;

    bool failed() const { return number != 0; }
    bool permissionDenied() const { return number == disk_error::kPermissionDenied; }
};

DiskFailure describe(const std::error_code &ec)
{
    if (ec == std::errc::permission_denied || ec == std::errc::operation_not_permitted) {
        // The words are fixed, not the locale's translation: the selection
        // window looks for them.
        return {disk_error::kPermissionDenied, QStringLiteral("Permission denied")};
    }
    const int number = (ec == std::errc::no_such_file_or_directory || ec == std::errc::not_a_directory)
                           ? disk_error::kPathNotFound
                           : disk_error::kPathFileAccess;
    return {number, QString::fromLocal8Bit(ec.message())};
}

QString withSeparator(QString folder)
{
    EnsureTrailingBackslash(folder);
    return folder;
}

struct FolderListing {
    QStringList files;      // names of regular files, links followed
    QStringList subfolders; // names of folders, links followed
    DiskFailure failure;
};

// Reads one folder. Entries that are neither a file nor a folder (devices,
// dangling links) belong to neither list. With `sorted` both lists come in
// UTF-16 code-unit order, the order every walk of the program uses.
FolderListing listFolder(const QString &folder, bool sorted)
{
    FolderListing listing;
    std::error_code ec;
    fs::directory_iterator it(ToNativePath(folder), fs::directory_options::none, ec);
    const fs::directory_iterator end;
    while (!ec && it != end) {
        const fs::directory_entry &entry = *it;
        std::error_code typeError;
        if (entry.is_regular_file(typeError))
            listing.files.append(FromNativePath(entry.path().filename()));
        else if (!typeError && entry.is_directory(typeError))
            listing.subfolders.append(FromNativePath(entry.path().filename()));
        it.increment(ec);
    }
    if (ec) {
        listing.failure = describe(ec);
        return listing;
    }
    if (sorted) {
        std::sort(listing.files.begin(), listing.files.end());
        std::sort(listing.subfolders.begin(), listing.subfolders.end());
    }
    return listing;
}

bool sizeOf(const QString &path, double &bytes, DiskFailure &failure)
{
    std::error_code ec;
    const std::uintmax_t size = fs::file_size(ToNativePath(path), ec);
    if (ec) {
        failure = describe(ec);
        return false;
    }
    bytes = double(size);
    return true;
}

// File names never hold "?", "*", ":" or a separator, so "*.*" and "*"
// match every name without a pattern match.
class NamePattern
{
public:
    explicit NamePattern(const QString &pattern)
        : everyName_(pattern == QStringLiteral("*.*") || pattern == QStringLiteral("*"))
    {
        if (!everyName_)
            expression_ = QRegularExpression(
                QRegularExpression::wildcardToRegularExpression(pattern),
                QRegularExpression::CaseInsensitiveOption);
    }

    bool everyName() const { return everyName_; }
    bool matches(const QString &name) const
    {
        return everyName_ || expression_.match(name).hasMatch();
    }

private:
    bool everyName_;
    QRegularExpression expression_;
};

// The state one summing walk shares between its levels.
class TreeSum
{
public:
    TreeSum(const QString &pattern, bool sumBytes, const DiskYield &yield)
        : pattern_(pattern), sumBytes_(sumBytes), yield_(yield)
    {
    }

    void walk(const QString &strFolder, qint32 &numFiles, int &limit, double &bytes,
              qint32 &errorNumber)
    {
        const QString folder = withSeparator(strFolder);
        const FolderListing listing = listFolder(folder, true);
        if (listing.failure.failed()) {
            // A refused branch is left out of the sum; anything else stops
            // the whole walk.
            if (listing.failure.permissionDenied())
                permissionDenied_ = true;
            else
                errorNumber = listing.failure.number;
            return;
        }

        for (const QString &name : listing.files) {
            if (pattern_.matches(name)) {
                ++numFiles;
                if (sumBytes_) {
                    double size = 0;
                    DiskFailure ignored;
                    // A length that cannot be read adds nothing; the file
                    // stays counted.
                    if (sizeOf(folder + name, size, ignored))
                        bytes += size;
                    if (yield_)
                        yield_();
                }
            }
            if (limit > 0 && numFiles >= limit) {
                limit = -2;
                return;
            }
        }

        if (listing.subfolders.isEmpty())
            return;
        chain_.push_back(IdentityOf(folder));
        for (const QString &name : listing.subfolders) {
            const QString subfolder = folder + name;
            // A link back to a folder on the way down would be walked for
            // ever.
            const FolderIdentity real = IdentityOf(subfolder);
            if (std::find(chain_.begin(), chain_.end(), real) != chain_.end())
                continue;
            walk(subfolder, numFiles, limit, bytes, errorNumber);
            if (errorNumber >= 1 || limit == -2)
                break;
        }
        chain_.pop_back();
    }

    bool permissionDenied() const { return permissionDenied_; }

private:
    NamePattern pattern_;
    bool sumBytes_;
    const DiskYield &yield_;
    bool permissionDenied_ = false;
    std::vector<FolderIdentity> chain_;
};

QString withUnit(double value, int decimals, const QString &unit)
{
    return QLocale().toString(value, 'f', decimals) + u' ' + unit;
}

} // namespace

qint32 CountFiles(const QString &strFolder, const QString &strPattern, bool blnStopAtFirst,
                  QString &strError, double &dblBytes, bool &blnPermissionDenied,
                  const ReportDiskError &reportError, const DiskYield &yield)
{
    blnPermissionDenied = false;
    const auto fail = [&](const DiskFailure &failure) -> qint32 {
        if (failure.permissionDenied()) {
            blnPermissionDenied = true;
            return 0;
        }
        if (reportError)
            reportError(failure.description);
        strError = failure.description;
        return -1;
    };

    const NamePattern pattern(strPattern);
    const bool sumWanted = dblBytes == -1;
    const bool plainCount = pattern.everyName() && !sumWanted;

    const QString folder = withSeparator(strFolder);
    const FolderListing listing = listFolder(folder, !plainCount);
    if (listing.failure.failed())
        return fail(listing.failure);
    if (plainCount)
        return qint32(listing.files.size());

    dblBytes = 0;
    qint32 count = 0;
    for (const QString &name : listing.files) {
        if (pattern.matches(name)) {
            ++count;
            if (sumWanted) {
                double size = 0;
                DiskFailure failure;
                if (!sizeOf(folder + name, size, failure))
                    return fail(failure);
                dblBytes += size;
            }
            if (blnStopAtFirst)
                return count;
        }
        if (yield)
            yield();
    }
    return count;
}

qint32 CountSubfolders(QString strFolder, QString &strError, int &intErrorNumber)
{
    EnsureTrailingBackslash(strFolder);
    strError.clear();
    intErrorNumber = 0;
    const FolderListing listing = listFolder(strFolder, false);
    if (listing.failure.failed()) {
        strError = listing.failure.description;
        intErrorNumber = listing.failure.number;
        return -1;
    }
    return qint32(listing.subfolders.size());
}

qint32 CountSubfolders(const QString &strFolder)
{
    QString error;
    int number = 0;
    return CountSubfolders(strFolder, error, number);
}

bool ListSubfolderNames(const QString &strFolder, QStringList &names, QString &strError,
                        int &intErrorNumber)
{
    strError.clear();
    intErrorNumber = 0;
    FolderListing listing = listFolder(withSeparator(strFolder), true);
    if (listing.failure.failed()) {
        names.clear();
        strError = listing.failure.description;
        intErrorNumber = listing.failure.number;
        return false;
    }
    names = std::move(listing.subfolders);
    return true;
}

bool IsFolderEmpty(const QString &strFolder, bool &blnPermissionDenied)
{
    QString scratch;
    double noSum = 0;
    const qint32 files =
        CountFiles(strFolder, QStringLiteral("*.*"), true, scratch, noSum, blnPermissionDenied);
    if (blnPermissionDenied || files < 0)
        return true;
    if (files >= 1)
        return false;
    return CountSubfolders(strFolder) < 1;
}

void SumFolderTree(bool blnTopCall, const QString &strFolder, const QString &strPattern,
                   qint32 &lngNumFiles, int &intLimit, bool blnSumBytes, double &dblBytes,
                   qint32 &lngErrorNumber, const DiskYield &yield)
{
    if (blnTopCall) {
        lngNumFiles = 0;
        dblBytes = 0;
        lngErrorNumber = 0;
    }
    TreeSum sum(strPattern, blnSumBytes, yield);
    sum.walk(strFolder, lngNumFiles, intLimit, dblBytes, lngErrorNumber);
}

QString FormatByteSize(double dblBytes, int intDecimals)
{
    if (dblBytes < 0)
        return QString();
    if (dblBytes == 0)
        return QStringLiteral("0 bytes");
    if (dblBytes < 1024)
        return PlainNumberText(dblBytes) + QStringLiteral(" bytes");
    if (dblBytes < 1048576)
        return withUnit(dblBytes / 1024, intDecimals, QStringLiteral("Kb"));
    return withUnit(dblBytes / 1048576, intDecimals, QStringLiteral("Mb"));
}

QString FormatByteSizeGb(double dblBytes, int intDecimals)
{
    if (dblBytes == 0)
        return QStringLiteral("0 bytes");
    if (dblBytes < 1024)
        return PlainNumberText(dblBytes) + QStringLiteral(" bytes");
    const double kb = dblBytes / 1024;
    if (kb < 1024)
        return withUnit(kb, intDecimals, QStringLiteral("Kb"));
    const double mb = kb / 1024;
    if (mb < 1024)
        return withUnit(mb, intDecimals, QStringLiteral("Mb"));
    return withUnit(mb / 1024, intDecimals, QStringLiteral("Gb"));
}

QString PlainNumberText(double value)
{
    if (std::isfinite(value) && value == std::floor(value) && std::fabs(value) < 9.0e15)
        return QString::number(qint64(value));
    return QString::number(value, 'g', 15);
}

} // namespace quillan
