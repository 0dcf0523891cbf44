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

// The text of --help.
QString HelpText();

} // namespace quillan::check
