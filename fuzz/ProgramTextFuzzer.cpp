// The program text loader on arbitrary files: every file either loads (and
// then every text can be fetched and holds at most 1024 characters) or gives
// one of the loader's failure codes, with a message that names a line of the
// file when it speaks of one. A failed load leaves no texts behind.

#include "common/FuzzCheck.h"

#include "text/ProgramText.h"

#include <QRegularExpression>

using namespace quillan;
using Problem = ProgramTextLoadResult::Problem;

namespace {

// Lines as the loader counts them: CR, LF and CR LF each end one.
int lineCount(const QByteArray &bytes)
{
    int lines = 0;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\n' || (bytes[i] == '\r' && (i + 1 == bytes.size() || bytes[i + 1] != '\n')))
            ++lines;
    }
    if (!bytes.isEmpty() && !bytes.endsWith('\n') && !bytes.endsWith('\r'))
        ++lines;
    return lines;
}

bool isPlainFailure(int code)
{
    return code == 0 || code == -3 || code == -6 || code == -7;
}

// What a line problem's code counts down from: the code is base - line.
int codeBase(Problem problem)
{
    switch (problem) {
    case Problem::MissingString:
        return -500;
    case Problem::StringTooLong:
        return -1000;
    case Problem::Duplicate:
        return -1500;
    case Problem::None:
        break;
    }
    return 0;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    ProgramTextTable table;
    const ProgramTextLoadResult result = table.LoadFromBytes(bytes);

    if (result.ok()) {
        FUZZ_REQUIRE(result.problem == Problem::None);
        int found = 0;
        for (int n = 1; n <= ProgramTextTable::kMaxTextNumber; ++n) {
            const QString text = table.GetProgramText(n);
            FUZZ_REQUIRE(text.size() <= ProgramTextTable::kMaxTextLength);
            if (!text.isEmpty())
                ++found;
        }
        // Texts of "~" read as empty, so they are not found above.
        FUZZ_REQUIRE(found <= result.code);
        FUZZ_REQUIRE(table.GetProgramText(0).isEmpty());
        return 0;
    }

    FUZZ_REQUIRE(table.isEmpty());
    const QString message = ProgramTextLoadMessage(result, QStringLiteral("/p/qln.dat"));
    FUZZ_REQUIRE(!message.isEmpty());
    if (result.problem == Problem::None) {
        FUZZ_REQUIRE(isPlainFailure(result.code));
        FUZZ_REQUIRE((result.code == -6) == bytes.isEmpty());
        return 0;
    }
    FUZZ_REQUIRE(result.line >= 1 && result.line <= lineCount(bytes));
    FUZZ_REQUIRE(result.code == codeBase(result.problem) - result.line);
    static const QRegularExpression namesLine(QStringLiteral(" at line (\\d+)\\.$"));
    const QRegularExpressionMatch match = namesLine.match(message);
    FUZZ_REQUIRE(match.hasMatch() && match.captured(1).toInt() == result.line);
    return 0;
}
