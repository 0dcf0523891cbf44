#pragma once
// The program text table: numbered user-interface texts read from the
// program text file (qln.dat) that lies beside the executable.
//
// File format, one entry per line, UTF-8:
//
//     # a comment; blank lines are ignored too
//     35=The top folder has not been specified.
//
// The number comes first (1 to 32767, spaces around it allowed), then "=",
// then the text up to the end of the line. In the text, "\n" stands for a line
// break and "\\" for a backslash. A text of "~" alone is an empty text. A text
// holds at most 1024 characters. A number may appear only once.

#include <QHash>
#include <QString>

namespace quillan {

struct ProgramTextLoadResult {
    enum class Problem { None, MissingString, StringTooLong, Duplicate };

    // Above 0: success (the number of texts read). Otherwise one of the
    // failure codes: 0 nothing read, -1 cannot open, -3 too much text,
    // -6 empty file, -7 reading error; -500 - L, -1000 - L and -1500 - L for a
    // missing, over-long or duplicate text at line L.
    int code = 0;
    Problem problem = Problem::None;
    int line = 0;

    bool ok() const { return code > 0; }
};

class ProgramTextTable
{
public:
    static constexpr int kMaxTextLength = 1024;
    static constexpr int kMaxTextNumber = 32767;

    ProgramTextLoadResult LoadFromFile(const QString &fullPath);
    ProgramTextLoadResult LoadFromBytes(const QByteArray &bytes);

    // Program text N; "" for an absent entry or a text of "~".
    QString GetProgramText(int n) const;

    bool isEmpty() const { return texts_.isEmpty(); }

private:
    QHash<int, QString> texts_;
};

// The full path of the program text file: the program's folder, a separator
// unless the folder already ends in one, and the file name.
QString ProgramTextFilePath(const QString &programFolder, const QString &fileName);

// The message of the critical box shown when loading failed.
QString ProgramTextLoadMessage(const ProgramTextLoadResult &result, const QString &fullPath);

} // namespace quillan
