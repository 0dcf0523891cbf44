#include "text/ProgramText.h"

#include "util/FileProc.h"

#include <QFile>

namespace quillan {

namespace {

QString unescape(QStringView raw)
{
    QString text;
    text.reserve(raw.size());
    for (qsizetype i = 0; i < raw.size(); ++i) {
        if (raw[i] == u'\\' && i + 1 < raw.size()) {
            if (raw[i + 1] == u'n') {
                text += QStringLiteral("\r\n");
                ++i;
                continue;
            }
            if (raw[i + 1] == u'\\') {
                text += u'\\';
                ++i;
                continue;
            }
        }
        text += raw[i];
    }
    return text;
}

ProgramTextLoadResult lineProblem(ProgramTextLoadResult::Problem problem, int line)
{
    ProgramTextLoadResult result;
    result.problem = problem;
    result.line = line;
    switch (problem) {
    case ProgramTextLoadResult::Problem::MissingString:
        result.code = -500 - line;
        break;
    case ProgramTextLoadResult::Problem::StringTooLong:
        result.code = -1000 - line;
        break;
    case ProgramTextLoadResult::Problem::Duplicate:
        result.code = -1500 - line;
        break;
    case ProgramTextLoadResult::Problem::None:
        break;
    }
    return result;
}

ProgramTextLoadResult plainCode(int code)
{
    ProgramTextLoadResult result;
    result.code = code;
    return result;
}

} // namespace

ProgramTextLoadResult ProgramTextTable::LoadFromFile(const QString &fullPath)
{
    QFile file(fullPath);
    if (!file.open(QIODevice::ReadOnly))
        return plainCode(-1);
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return plainCode(-7);
    return LoadFromBytes(bytes);
}

ProgramTextLoadResult ProgramTextTable::LoadFromBytes(const QByteArray &bytes)
{
    texts_.clear();
    if (bytes.isEmpty())
        return plainCode(-6);

    QString content = QString::fromUtf8(bytes);
    if (content.startsWith(QChar(0xFEFF)))
        content.remove(0, 1);

    QHash<int, QString> texts;
    int lineNumber = 0;
    qsizetype pos = 0;
    while (pos < content.size()) {
        // CR, LF and CR LF each end a line.
        qsizetype end = pos;
        while (end < content.size() && content[end] != u'\r' && content[end] != u'\n')
            ++end;
        const QStringView line = QStringView(content).sliced(pos, end - pos);
        pos = end;
        if (pos < content.size()) {
            const bool crLf = content[pos] == u'\r' && pos + 1 < content.size()
                              && content[pos + 1] == u'\n';
            pos += crLf ? 2 : 1;
        }
        ++lineNumber;

        const QStringView trimmed = line.trimmed();
        if (trimmed.isEmpty() || trimmed.startsWith(u'#'))
            continue;

        const qsizetype equals = line.indexOf(u'=');
        const QStringView numberPart = (equals < 0 ? line : line.first(equals)).trimmed();
        bool isNumber = false;
        const int number = numberPart.toInt(&isNumber);
        if (!isNumber || number < 1)
            return plainCode(-7);
        if (number > kMaxTextNumber)
            return plainCode(-3);
        if (equals < 0 || equals + 1 == line.size())
            return lineProblem(ProgramTextLoadResult::Problem::MissingString, lineNumber);
        const QString text = unescape(line.sliced(equals + 1));
        if (text.size() > kMaxTextLength)
            return lineProblem(ProgramTextLoadResult::Problem::StringTooLong, lineNumber);
        if (texts.contains(number))
            return lineProblem(ProgramTextLoadResult::Problem::Duplicate, lineNumber);
        texts.insert(number, text);
    }

    if (texts.isEmpty())
        return plainCode(0);
    texts_ = std::move(texts);
    return plainCode(int(texts_.size()));
}

QString ProgramTextTable::GetProgramText(int n) const
{
    QString text = texts_.value(n);
    if (text == QStringLiteral("~"))
        return QString();
    return text;
}

QString ProgramTextFilePath(const QString &programFolder, const QString &fileName)
{
    QString path = programFolder;
    if (!path.endsWith(PathSeparator()))
        path += PathSeparator();
    return path + fileName;
}

QString ProgramTextLoadMessage(const ProgramTextLoadResult &result, const QString &fullPath)
{
    using Problem = ProgramTextLoadResult::Problem;
    switch (result.problem) {
    case Problem::MissingString:
        return QStringLiteral("Missing string at line %1.").arg(result.line);
    case Problem::StringTooLong:
        return QStringLiteral("String too long at line %1.").arg(result.line);
    case Problem::Duplicate:
        return QStringLiteral("Duplicate in program text at line %1.").arg(result.line);
    case Problem::None:
        break;
    }
    switch (result.code) {
    case 0:
        return QStringLiteral("No program text was read.");
    case -1:
        return QStringLiteral("Cannot open file containing program text.\r\n") + fullPath;
    case -2:
        return QStringLiteral("Particular memory allocation error.");
    case -3:
        return QStringLiteral("Too much program text.");
    case -4:
        return QStringLiteral("Text not recovered.");
    case -6:
        return QStringLiteral("File is empty.");
    case -7:
        return QStringLiteral("Error reading file.");
    case -8:
        return QStringLiteral("General memory allocation error.");
    default:
        break;
    }
    if (result.code > 0)
        return QString();
    if (result.code <= -1501)
        return QStringLiteral("Duplicate in program text at line %1.").arg(-1500 - result.code);
    if (result.code <= -1001)
        return QStringLiteral("String too long at line %1.").arg(-1000 - result.code);
    if (result.code <= -501)
        return QStringLiteral("Missing string at line %1.").arg(-500 - result.code);
    return QStringLiteral("Error %1").arg(result.code);
}

} // namespace quillan
