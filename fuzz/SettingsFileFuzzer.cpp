// The settings file reader on arbitrary bytes: it reads values in file order
// and stops at the first that is missing or bad; what it read survives a
// save and a load unchanged; and a bad option state stops the reading right
// there, with every value before it kept and none after it taken.

#include "common/FuzzCheck.h"
#include "common/FuzzInput.h"

#include "settings/SettingsFile.h"

#include <QDir>
#include <QTemporaryDir>

using namespace quillan;

namespace {

SettingsValues valuesOf(const SettingsFileContent &content)
{
    SettingsValues values;
    const QStringList &t = content.texts;
    const QList<int> &s = content.states;
    values.topFolder = t.value(0);
    values.excludedSubfolders = t.value(1);
    values.excludedFilepaths = t.value(2);
    values.excludedLinks = t.value(3);
    values.topFolderOnly = s.value(0);
    values.showRepeatedLinks = s.value(1);
    values.includePhpFiles = s.value(2);
    return values;
}

QList<int> statesOf(const SettingsValues &values)
{
    return {values.topFolderOnly, values.showRepeatedLinks, values.includePhpFiles};
}

// An option state the reader must refuse: not a number, or a number outside
// 0 to 2. It holds no comma, quote or line break, so it stays one value.
QByteArray badState(fuzz::FuzzInput &input)
{
    const uint8_t kind = input.byte();
    const int number = int(input.byte()) * 256 + input.byte();
    switch (kind % 3) {
    case 0:
        return QByteArray::number(3 + number);
    case 1:
        return QByteArray::number(-1 - number);
    default: {
        QByteArray word = "x";
        for (char c : input.bytes(8)) {
            if (c != ',' && c != '"' && c != '\r' && c != '\n')
                word += c;
        }
        return word;
    }
    }
}

const QString &scratchFile()
{
    static const QTemporaryDir dir;
    static const QString path = QDir(dir.path()).filePath(QStringLiteral("fuzz.usr"));
    return path;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    fuzz::FuzzInput input(data, size);
    const uint8_t badAt = input.byte();
    const QByteArray bad = badState(input);
    const QByteArray file = input.rest();

    const SettingsFileContent content = ParseSettingsFile(file);
    FUZZ_REQUIRE(content.texts.size() <= kSettingsTextCount);
    FUZZ_REQUIRE(content.states.size() <= kSettingsStateCount);
    FUZZ_REQUIRE(content.states.isEmpty() || content.texts.size() == kSettingsTextCount);
    for (int state : content.states)
        FUZZ_REQUIRE(state >= 0 && state <= 2);

    // Texts holding a double quote cannot be stored; the window refuses to
    // save them.
    const SettingsValues values = valuesOf(content);
    if (FirstUnstorableText(values) >= 0)
        return 0;

    FUZZ_REQUIRE(WriteSettingsFile(scratchFile(), values).isEmpty());
    const SettingsFileContent reloaded = ReadSettingsFile(scratchFile());
    FUZZ_REQUIRE(reloaded.complete());
    FUZZ_REQUIRE(reloaded.texts == SettingsTexts(values));
    FUZZ_REQUIRE(reloaded.states == statesOf(values));

    // The same file with one option state replaced by a bad one.
    const int badIndex = badAt % 3;
    // The states are the last three lines (texts may span several).
    QList<QByteArray> lines = FormatSettingsFile(values).split('\n');
    lines[lines.size() - 4 + badIndex] = ' ' + bad + " \r";
    const SettingsFileContent stopped = ParseSettingsFile(lines.join('\n'));
    FUZZ_REQUIRE(stopped.texts == SettingsTexts(values));
    FUZZ_REQUIRE(stopped.states == statesOf(values).first(badIndex));
    return 0;
}
