#pragma once
// The command line of quillan-check.

#include <QString>
#include <QStringList>

#include <optional>

namespace quillan::check {

enum class OutputFormat { Text, Tsv, Json, Github, Sarif, Junit };

struct CheckCommand {
    bool listFiles = false;   // List files instead of Check links
    QString settingsFile;     // a .usr file saved by the window; "" for none
    QString topFolder;        // the positional argument; "" when not given
    // Given on the command line, these override the settings file's values.
    std::optional<QString> excludedSubfolders; // names, comma-separated
    std::optional<QString> excludedFilepaths;  // as typed into the window's box
    std::optional<QString> excludedLinks;
    std::optional<int> topFolderOnly;          // 0 or 1
    std::optional<int> showRepeatedLinks;
    std::optional<int> includePhpFiles;
    // The way pages are read: --html, --anchors (which implies --html) and
    // their --no- forms; the index pages of a folder for --html.
    std::optional<bool> html;
    std::optional<bool> anchors;
    std::optional<QStringList> indexFiles;
    QString outputFolder;     // "" for the window's data folder
    OutputFormat format = OutputFormat::Text;
    int jobs = 0;             // threads reading pages; 0 for one per core
    bool quiet = false;
    bool help = false;
    bool version = false;
};

// Reads the arguments (without the program's name). False, with `error`
// saying why, for a command line that cannot be used.
bool ParseCheckCommand(const QStringList &args, CheckCommand &command, QString &error);

// The settings file's way of reading pages (0 classic, 1 as a browser, 2 as
// a browser with anchors) with the command line's options over it.
int BrowserReadingOf(const CheckCommand &command, int fromSettings);

// The text of --help.
QString HelpText();

} // namespace quillan::check
