#include "settings/SettingsFile.h"

#include "util/FileProc.h"
#include "util/StrProc.h"

#include <QFile>
#include <QSaveFile>
#include <QStringDecoder>
#include <QStringEncoder>

#include <algorithm>
#include <array>
#include <optional>

namespace quillan {

namespace {

constexpr int kMaxState = 2;

// Any of CR LF, CR and LF becomes CR LF, the one line break of the program's
// multi-line values.
QString withCrLfLineBreaks(QString text)
{
    text.replace(kCrLf, QStringLiteral("\n"));
    text.replace(u'\r', u'\n');
    text.replace(QStringLiteral("\n"), kCrLf);
    return text;
}

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t';
}

bool isLineBreak(QChar c)
{
    return c == u'\r' || c == u'\n';
}

// Hands out a file's values one at a time, by the field rules of the format.
class FieldReader
{
public:
    explicit FieldReader(QString text) : text_(std::move(text)) {}

    // The next value; nothing once the file has no more.
    std::optional<QString> next()
    {
        while (pos_ < text_.size() && isBlank(text_[pos_]))
            ++pos_;
        if (pos_ >= text_.size())
            return std::nullopt;
        if (text_[pos_] == u'"')
            return quotedValue();
        const qsizetype start = pos_;
        skipToDelimiter();
        const QString value = text_.mid(start, pos_ - start);
        consumeDelimiter();
        return value.trimmed();
    }

private:
    QString quotedValue()
    {
        const qsizetype start = pos_ + 1;
        const qsizetype close = text_.indexOf(u'"', start);
        if (close < 0) {
            pos_ = text_.size();
            return withCrLfLineBreaks(text_.mid(start));
        }
        pos_ = close + 1;
        // Whatever follows the closing quote on its line belongs to no value.
        skipToDelimiter();
        consumeDelimiter();
        return withCrLfLineBreaks(text_.mid(start, close - start));
    }

    void skipToDelimiter()
    {
        while (pos_ < text_.size() && text_[pos_] != u',' && !isLineBreak(text_[pos_]))
            ++pos_;
    }

    void consumeDelimiter()
    {
        if (pos_ >= text_.size())
            return;
        if (text_[pos_] == u'\r' && pos_ + 1 < text_.size() && text_[pos_ + 1] == u'\n')
            ++pos_;
        ++pos_;
    }

    QString text_;
    qsizetype pos_ = 0;
};

// An option state: a 16-bit number from 0 to 2, spaces around it ignored.
std::optional<int> parseState(const QString &field)
{
    bool ok = false;
    const short value = field.trimmed().toShort(&ok);
    if (!ok || value < 0 || value > kMaxState)
        return std::nullopt;
    return value;
}

} // namespace

QStringList SettingsTexts(const SettingsValues &values)
{
    return {values.topFolder, values.excludedSubfolders, values.excludedFilepaths,
            values.excludedLinks};
}

int FirstUnstorableText(const SettingsValues &values)
{
    const QStringList texts = SettingsTexts(values);
    for (int i = 0; i < texts.size(); ++i) {
        if (texts[i].contains(u'"'))
            return i;
    }
    return -1;
}

QByteArray FormatSettingsFile(const SettingsValues &values)
{
    QString text;
    for (const QString &value : SettingsTexts(values))
        text += u'"' + withCrLfLineBreaks(value) + u'"' + kCrLf;
    for (int state : {values.topFolderOnly, values.showRepeatedLinks, values.includePhpFiles})
        text += u' ' + QString::number(state) + u' ' + kCrLf;
    if (values.browserReading != 0)
        text += u' ' + QString::number(values.browserReading) + u' ' + kCrLf;
    QStringEncoder encoder(QStringConverter::System);
    return encoder.encode(text);
}

QString WriteSettingsFile(const QString &path, const SettingsValues &values)
{
    QSaveFile file(path);
    // The safe replace needs a new file beside the old one; in a folder that
    // takes no new files, a file that may be written is written in place.
    file.setDirectWriteFallback(true);
    if (!file.open(QIODevice::WriteOnly))
        return file.errorString();
    const QByteArray bytes = FormatSettingsFile(values);
    if (file.write(bytes) != bytes.size()) {
        QString error = file.errorString();
        file.cancelWriting();
        return error;
    }
    if (!file.commit())
        return file.errorString();
    return QString();
}

SettingsFileContent ParseSettingsFile(const QByteArray &bytes)
{
    QStringDecoder decoder(QStringConverter::System);
    FieldReader reader(decoder.decode(bytes));
    SettingsFileContent content;
    while (content.texts.size() < kSettingsTextCount) {
        const std::optional<QString> value = reader.next();
        if (!value)
            return content;
        content.texts.append(*value);
    }
    while (content.states.size() < kSettingsStateCount) {
        const std::optional<QString> field = reader.next();
        const std::optional<int> state = field ? parseState(*field) : std::nullopt;
        if (!state)
            return content;
        content.states.append(*state);
    }
    return content;
}

SettingsFileContent ReadSettingsFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return {};
    return ParseSettingsFile(bytes);
}

void ApplySettingsFile(const SettingsFileContent &content, HeldSettings &held)
{
    const QStringList &texts = content.texts;
    SettingsValues &values = held.values;
    if (texts.isEmpty())
        return;
    values.topFolder = TrimSpaces(texts[0]);
    if (FolderExists(values.topFolder)) {
        // A hand-edited file may lack the final separator, which every
        // relative path and subfolder exclusion counts on.
        if (!values.topFolder.endsWith(PathSeparator()))
            values.topFolder += PathSeparator();
    } else {
        values.topFolder.clear();
    }

    if (texts.size() < 2)
        return;
    if (values.topFolder.isEmpty()) {
        // Subfolders of a folder that is gone mean nothing.
        values.excludedSubfolders.clear();
        held.numExcludedSubfolders = 0;
    } else {
        values.excludedSubfolders = texts[1];
        held.numExcludedSubfolders = SplitLines(texts[1], held.excludedSubfolders, -1, true);
        if (held.numExcludedSubfolders == 0)
            values.excludedSubfolders.clear();
    }

    if (texts.size() < 3)
        return;
    values.excludedFilepaths = TrimSpaces(texts[2]);
    if (texts.size() < 4)
        return;
    values.excludedLinks = TrimSpaces(texts[3]);

    const std::array<int *, kSettingsStateCount> states = {
        &values.topFolderOnly, &values.showRepeatedLinks, &values.includePhpFiles,
        &values.browserReading};
    const qsizetype count = std::min(content.states.size(), qsizetype(states.size()));
    for (qsizetype i = 0; i < count; ++i)
        *states[size_t(i)] = content.states[i];
}

} // namespace quillan
