#include "CheckOptions.h"

namespace quillan::check {

namespace {

// The exclusion options; an empty value is a value (it clears the file's).
std::optional<QString> *exclusionOption(const QString &name, CheckCommand &command)
{
    if (name == QStringLiteral("--exclude-subfolders"))
        return &command.excludedSubfolders;
    if (name == QStringLiteral("--exclude-filepaths"))
        return &command.excludedFilepaths;
    if (name == QStringLiteral("--exclude-links"))
        return &command.excludedLinks;
    return nullptr;
}

// The options naming a file or folder.
QString *pathOption(const QString &name, CheckCommand &command)
{
    if (name == QStringLiteral("--settings"))
        return &command.settingsFile;
    if (name == QStringLiteral("--out"))
        return &command.outputFolder;
    return nullptr;
}

// The option boxes: --NAME ticks, --no-NAME unticks.
std::optional<int> *boxOption(const QString &name, CheckCommand &command, int &value)
{
    QString box = name;
    value = 1;
    if (box.startsWith(QStringLiteral("--no-"))) {
        box = QStringLiteral("--") + box.mid(5);
        value = 0;
    }
    if (box == QStringLiteral("--top-folder-only"))
        return &command.topFolderOnly;
    if (box == QStringLiteral("--show-repeated"))
        return &command.showRepeatedLinks;
    if (box == QStringLiteral("--php"))
        return &command.includePhpFiles;
    return nullptr;
}

// The reading options: --NAME and --no-NAME.
std::optional<bool> *readingOption(const QString &name, CheckCommand &command, bool &value)
{
    value = !name.startsWith(QStringLiteral("--no-"));
    const QString option = value ? name : QStringLiteral("--") + name.mid(5);
    if (option == QStringLiteral("--html"))
        return &command.html;
    if (option == QStringLiteral("--anchors"))
        return &command.anchors;
    return nullptr;
}

// Index page names separated by commas, each trimmed; a name is a file
// name, never a path.
bool parseIndexFiles(const QString &text, QStringList &names, QString &error)
{
    names.clear();
    for (const QString &part : text.split(u',')) {
        const QString name = part.trimmed();
        if (name.isEmpty())
            continue;
        if (name.contains(u'/') || name.contains(u'\\') || name == QStringLiteral(".")
            || name == QStringLiteral("..")) {
            error = QStringLiteral("--index-files takes file names, not '") + name + QStringLiteral("'");
            return false;
        }
        names.append(name);
    }
    return true;
}

bool parseFormat(const QString &text, OutputFormat &format)
{
    if (text == QStringLiteral("text"))
        format = OutputFormat::Text;
    else if (text == QStringLiteral("tsv"))
        format = OutputFormat::Tsv;
    else if (text == QStringLiteral("json"))
        format = OutputFormat::Json;
    else if (text == QStringLiteral("github"))
        format = OutputFormat::Github;
    else if (text == QStringLiteral("sarif"))
        format = OutputFormat::Sarif;
    else if (text == QStringLiteral("junit"))
        format = OutputFormat::Junit;
    else
        return false;
    return true;
}

} // namespace

bool ParseCheckCommand(const QStringList &args, CheckCommand &command, QString &error)
{
    QStringList positional;
    bool optionsEnded = false;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString &arg = args[i];
        if (optionsEnded || !arg.startsWith(u'-') || arg == QStringLiteral("-")) {
            positional.append(arg);
            continue;
        }
        if (arg == QStringLiteral("--")) {
            optionsEnded = true;
            continue;
        }
        // "--name=value" and "--name value" alike.
        QString name = arg;
        std::optional<QString> inlineValue;
        const qsizetype equals = arg.indexOf(u'=');
        if (arg.startsWith(QStringLiteral("--")) && equals > 2) {
            name = arg.left(equals);
            inlineValue = arg.mid(equals + 1);
        }
        auto takeValue = [&](QString &into) {
            if (inlineValue) {
                into = *inlineValue;
                return true;
            }
            if (i + 1 >= args.size()) {
                error = name + QStringLiteral(" needs a value");
                return false;
            }
            into = args[++i];
            return true;
        };
        auto noValue = [&] {
            if (inlineValue)
                error = name + QStringLiteral(" takes no value");
            return !inlineValue;
        };

        int boxValue = 0;
        bool readingValue = false;
        if (std::optional<QString> *exclusion = exclusionOption(name, command)) {
            QString value;
            if (!takeValue(value))
                return false;
            *exclusion = value;
        } else if (QString *path = pathOption(name, command)) {
            if (!takeValue(*path))
                return false;
            if (path->isEmpty()) {
                error = name + QStringLiteral(" needs a value");
                return false;
            }
        } else if (std::optional<int> *box = boxOption(name, command, boxValue)) {
            if (!noValue())
                return false;
            *box = boxValue;
        } else if (std::optional<bool> *reading = readingOption(name, command, readingValue)) {
            if (!noValue())
                return false;
            *reading = readingValue;
        } else if (name == QStringLiteral("--index-files")) {
            QString value;
            if (!takeValue(value))
                return false;
            QStringList names;
            if (!parseIndexFiles(value, names, error))
                return false;
            command.indexFiles = names;
        } else if (name == QStringLiteral("--format")) {
            QString value;
            if (!takeValue(value))
                return false;
            if (!parseFormat(value, command.format)) {
                error = QStringLiteral("--format takes text, tsv, json, github, sarif or junit, not '") + value
                        + QStringLiteral("'");
                return false;
            }
        } else if (name == QStringLiteral("--jobs") || name == QStringLiteral("-j")) {
            QString value;
            if (!takeValue(value))
                return false;
            bool ok = false;
            command.jobs = value.toInt(&ok);
            if (!ok || command.jobs < 1) {
                error = QStringLiteral("--jobs takes a number of threads of 1 or more, not '") + value
                        + QStringLiteral("'");
                return false;
            }
        } else if (name == QStringLiteral("--list")) {
            if (!noValue())
                return false;
            command.listFiles = true;
        } else if (name == QStringLiteral("--quiet") || name == QStringLiteral("-q")) {
            if (!noValue())
                return false;
            command.quiet = true;
        } else if (name == QStringLiteral("--help") || name == QStringLiteral("-h")) {
            command.help = true;
        } else if (name == QStringLiteral("--version")) {
            command.version = true;
        } else {
            error = QStringLiteral("unknown option ") + name;
            return false;
        }
    }
    if (positional.size() > 1) {
        error = QStringLiteral("one top folder only, not ") + QString::number(positional.size());
        return false;
    }
    command.topFolder = positional.value(0);
    // The CI formats describe broken links; a listing has none.
    if (command.listFiles && command.format != OutputFormat::Text
        && command.format != OutputFormat::Tsv && command.format != OutputFormat::Json) {
        error = QStringLiteral("--list takes --format text, tsv or json");
        return false;
    }
    return true;
}

int BrowserReadingOf(const CheckCommand &command, int fromSettings)
{
    // Anchors are checked only by the browser's reading, so asking for them
    // asks for it; --no-html asks for the classic reading, anchors and all.
    bool html = fromSettings >= 1;
    bool anchors = fromSettings == 2;
    if (command.html)
        html = *command.html;
    if (command.anchors)
        anchors = *command.anchors;
    if (command.anchors == true)
        html = true;
    if (!html)
        return 0;
    return anchors ? 2 : 1;
}

QString HelpText()
{
    return QStringLiteral(
        "Usage: quillan-check [options] [TOPFOLDER]\n"
        "Finds broken local links in the web site kept in TOPFOLDER, as Quillan's\n"
        "Check links does, and writes the same reports.\n"
        "\n"
        "  --list                     List files instead of Check links (files.txt)\n"
        "  --settings FILE.usr        exclusions and options (and the top folder, when\n"
        "                             none is given) from a settings file saved by\n"
        "                             Quillan\n"
        "  --exclude-subfolders LIST  top subfolders to leave out, names separated by\n"
        "                             commas (old,drafts)\n"
        "  --exclude-filepaths TEXT   leave out pages whose path contains one of these\n"
        "                             comma-separated strings (letter case ignored)\n"
        "  --exclude-links TEXT       leave out links containing one of these strings\n"
        "  --top-folder-only          check links in files in the top folder only\n"
        "  --show-repeated            show repeated broken links in a file\n"
        "  --php                      check links in PHP files as well as HTM files\n"
        "  --html                     read every link as a browser does (see below)\n"
        "  --anchors                  check #anchors too (implies --html)\n"
        "  --index-files LIST         the pages that stand for a folder with --html,\n"
        "                             comma-separated (default: index.html,index.htm,\n"
        "                             index.shtml,index.php,default.htm,default.html)\n"
        "  --no-top-folder-only, --no-show-repeated, --no-php, --no-html, --no-anchors\n"
        "                             untick an option the settings file ticks\n"
        "  --out DIR                  where files.txt, links_to.txt and links_from.txt go\n"
        "                             (default: Quillan's data folder,\n"
        "                             ~/.local/share/Quillan); it is left holding the\n"
        "                             files of this run only\n"
        "  --format FORMAT            what standard output holds:\n"
        "                             text    PAGE:LINE: LINK -> TARGET (HINT) lines,\n"
        "                                     then the status line\n"
        "                             tsv     a header line, then page, line, link,\n"
        "                                     target and hint separated by tabs\n"
        "                             json    one object: status, pages, links, broken,\n"
        "                                     stopped, limit_reached, warnings, records\n"
        "                             github  ::error commands for GitHub Actions\n"
        "                             sarif   a SARIF 2.1.0 log for code scanning\n"
        "                             junit   a JUnit XML report, a test case per page\n"
        "                             With --list, text, tsv and json give the listed\n"
        "                             pages. With tsv, json, sarif and junit the status\n"
        "                             line goes to standard error.\n"
        "  -j, --jobs N               threads reading pages (default: one per core);\n"
        "                             the results are the same for any number\n"
        "  -q, --quiet                no progress on standard error (shown only on a\n"
        "                             terminal that takes escape codes anyway)\n"
        "  -h, --help                 this text\n"
        "      --version              the program's version\n"
        "\n"
        "Pages are read the classic way unless --html is given: one href=\"...\" or\n"
        "src=\"...\" link a line, links from the root (\"/...\") and types not on the\n"
        "target list left unchecked. With --html every link of every tag is read as a\n"
        "browser reads it (any quoting, character references, <base href>, server-side\n"
        "includes, srcset, ...) and resolved as a web server serving TOPFOLDER would:\n"
        "\"/x\" from the top folder, %XX escapes decoded, a folder found through its\n"
        "index page, every file type checked. --anchors also reports a \"#name\" that\n"
        "no element of its target page has as id (or an a element as name).\n"
        "\n"
        "\n"
        "Options given override the settings file's values; a TOPFOLDER given\n"
        "overrides its top folder. Warnings (no page found, everything excluded,\n"
        "unreadable pages or folders, a limit reached, ...) go to standard error.\n"
        "\n"
        "Limits: at most 50,000 files listed and 50,000 broken links recorded (the walk\n"
        "ends there); folders more than 127 levels below the top folder are not walked.\n"
        "Never checked: links to other sites, mail and script links, links from the\n"
        "site's root (\"/...\") or above the top folder, file types not on the list of\n"
        "target types, \"#\" fragments, any link but the first href (or src) of a line,\n"
        "links inside comments.\n"
        "\n"
        "Exit status: 0 no broken link (and --list), 1 broken links found, 2 bad usage,\n"
        "a top folder that is missing, a file or unreadable, or no page found, 3 the\n"
        "output folder, a file or standard output could not be written, 130 stopped by\n"
        "Ctrl-C (143 SIGTERM, 129 SIGHUP) after writing the reports of what was found.\n");
}

} // namespace quillan::check
