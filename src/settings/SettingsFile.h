#pragma once
// Settings files (".usr"): seven or eight values, one a line, each line ended by CR LF.
// The four texts stand between double quotes, written unchanged; the three
// option states are decimal numbers with one space before and one after:
//
//     "/home/me/site/"
//     "old<CR LF>drafts"
//     "temp, .bak"
//     "#top"
//      0
//      1
//      0
//      2
//
// The eighth value, the way pages are read, is written like the states and
// only when it is not 0 (1: as a browser reads them; 2: and their anchors
// checked), so a file that keeps the classic reading is the seven-value file
// older readers know.
//
// Reading follows the classic field rules: a value that begins with a double
// quote runs to the next double quote (line breaks included), any other value
// to the next comma or line end. CR, LF and CR LF each end a line, so files
// edited on any system load; line breaks inside a value come back as CR LF.

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

namespace quillan {

struct SettingsValues {
    QString topFolder;
    QString excludedSubfolders; // one name a line
    QString excludedFilepaths;
    QString excludedLinks;
    int topFolderOnly = 0;
    int showRepeatedLinks = 0;
    int includePhpFiles = 0;
    int browserReading = 0; // 0 classic, 1 as a browser, 2 as a browser with anchors
};

// The values read from a file, in file order, up to the first one that could
// not be read or used: `texts` holds values 1 to 4, `states` values 5 to 7
// and, when the file has it, 8.
struct SettingsFileContent {
    QStringList texts;
    QList<int> states;

    // The seven values every file has; the eighth is optional.
    bool complete() const { return texts.size() == 4 && states.size() >= 3; }
};

inline constexpr int kSettingsTextCount = 4;
inline constexpr int kSettingsStateCount = 4; // values 5 to 8

// The four texts in file order, for checks that treat them alike.
QStringList SettingsTexts(const SettingsValues &values);

// The index (0 to 3, file order) of the first text holding a double quote,
// which the format cannot store; -1 when every text can be stored.
int FirstUnstorableText(const SettingsValues &values);

// The file's bytes in the locale's encoding. Line breaks inside a text are
// written as CR LF whatever form they had.
QByteArray FormatSettingsFile(const SettingsValues &values);

// Writes the file through a temporary file that replaces the old one only
// once it is complete, so a failure leaves the old file whole. Where the folder
// takes no new file, an existing file that may be written is written in place.
// Returns "" on success, otherwise the description of the error.
QString WriteSettingsFile(const QString &path, const SettingsValues &values);

// The settings as the main window holds them: its boxes and option states,
// and the list of excluded top subfolders the walk reads.
struct HeldSettings {
    SettingsValues values;
    QStringList excludedSubfolders{QString()};
    int numExcludedSubfolders = 0;
};

// Loads the values read from a settings file over the settings held, in
// file order; values the file did not give keep what they held. A top
// folder is taken only when it exists (given a final separator when it
// lacks one), otherwise it is emptied and the file's excluded subfolders are
// dropped with the held ones. The excluded subfolders become the list
// through SplitLines (lower case, trimmed, blank lines skipped); the two
// exclusion texts are trimmed of spaces but not tidied.
void ApplySettingsFile(const SettingsFileContent &content, HeldSettings &held);

// Reads values until the first one that is missing, is not a number where a
// number belongs, or is a state outside 0 to 2. A file that cannot be opened
// gives no values.
SettingsFileContent ParseSettingsFile(const QByteArray &bytes);
SettingsFileContent ReadSettingsFile(const QString &path);

} // namespace quillan
