#include "html/EncodingLabels.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace quillan {

namespace {

struct LabelEntry {
    std::string_view label;
    std::string_view encoding;
};

// Every label browsers accept, sorted, with the encoding it names.
constexpr std::array kLabels = {
    LabelEntry{"866", "IBM866"},
    LabelEntry{"ansi_x3.4-1968", "windows-1252"},
    LabelEntry{"arabic", "ISO-8859-6"},
    LabelEntry{"ascii", "windows-1252"},
    LabelEntry{"asmo-708", "ISO-8859-6"},
    LabelEntry{"big5", "Big5"},
    LabelEntry{"big5-hkscs", "Big5"},
    LabelEntry{"chinese", "GBK"},
    LabelEntry{"cn-big5", "Big5"},
    LabelEntry{"cp1250", "windows-1250"},
    LabelEntry{"cp1251", "windows-1251"},
    LabelEntry{"cp1252", "windows-1252"},
    LabelEntry{"cp1253", "windows-1253"},
    LabelEntry{"cp1254", "windows-1254"},
    LabelEntry{"cp1255", "windows-1255"},
    LabelEntry{"cp1256", "windows-1256"},
    LabelEntry{"cp1257", "windows-1257"},
    LabelEntry{"cp1258", "windows-1258"},
    LabelEntry{"cp819", "windows-1252"},
    LabelEntry{"cp866", "IBM866"},
    LabelEntry{"csbig5", "Big5"},
    LabelEntry{"cseuckr", "EUC-KR"},
    LabelEntry{"cseucpkdfmtjapanese", "EUC-JP"},
    LabelEntry{"csgb2312", "GBK"},
    LabelEntry{"csibm866", "IBM866"},
    LabelEntry{"csiso2022jp", "ISO-2022-JP"},
    LabelEntry{"csiso58gb231280", "GBK"},
    LabelEntry{"csiso88596e", "ISO-8859-6"},
    LabelEntry{"csiso88596i", "ISO-8859-6"},
    LabelEntry{"csiso88598e", "ISO-8859-8"},
    LabelEntry{"csiso88598i", "ISO-8859-8-I"},
    LabelEntry{"csisolatin1", "windows-1252"},
    LabelEntry{"csisolatin2", "ISO-8859-2"},
    LabelEntry{"csisolatin3", "ISO-8859-3"},
    LabelEntry{"csisolatin4", "ISO-8859-4"},
    LabelEntry{"csisolatin5", "windows-1254"},
    LabelEntry{"csisolatin6", "ISO-8859-10"},
    LabelEntry{"csisolatin9", "ISO-8859-15"},
    LabelEntry{"csisolatinarabic", "ISO-8859-6"},
    LabelEntry{"csisolatincyrillic", "ISO-8859-5"},
    LabelEntry{"csisolatingreek", "ISO-8859-7"},
    LabelEntry{"csisolatinhebrew", "ISO-8859-8"},
    LabelEntry{"cskoi8r", "KOI8-R"},
    LabelEntry{"csksc56011987", "EUC-KR"},
    LabelEntry{"csmacintosh", "macintosh"},
    LabelEntry{"csshiftjis", "Shift_JIS"},
    LabelEntry{"csunicode", "UTF-16LE"},
    LabelEntry{"cyrillic", "ISO-8859-5"},
    LabelEntry{"dos-874", "windows-874"},
    LabelEntry{"ecma-114", "ISO-8859-6"},
    LabelEntry{"ecma-118", "ISO-8859-7"},
    LabelEntry{"elot_928", "ISO-8859-7"},
    LabelEntry{"euc-jp", "EUC-JP"},
    LabelEntry{"euc-kr", "EUC-KR"},
    LabelEntry{"gb18030", "gb18030"},
    LabelEntry{"gb2312", "GBK"},
    LabelEntry{"gb_2312", "GBK"},
    LabelEntry{"gb_2312-80", "GBK"},
    LabelEntry{"gbk", "GBK"},
    LabelEntry{"greek", "ISO-8859-7"},
    LabelEntry{"greek8", "ISO-8859-7"},
    LabelEntry{"hebrew", "ISO-8859-8"},
    LabelEntry{"ibm819", "windows-1252"},
    LabelEntry{"ibm866", "IBM866"},
    LabelEntry{"iso-10646-ucs-2", "UTF-16LE"},
    LabelEntry{"iso-2022-jp", "ISO-2022-JP"},
    LabelEntry{"iso-8859-1", "windows-1252"},
    LabelEntry{"iso-8859-10", "ISO-8859-10"},
    LabelEntry{"iso-8859-11", "windows-874"},
    LabelEntry{"iso-8859-13", "ISO-8859-13"},
    LabelEntry{"iso-8859-14", "ISO-8859-14"},
    LabelEntry{"iso-8859-15", "ISO-8859-15"},
    LabelEntry{"iso-8859-16", "ISO-8859-16"},
    LabelEntry{"iso-8859-2", "ISO-8859-2"},
    LabelEntry{"iso-8859-3", "ISO-8859-3"},
    LabelEntry{"iso-8859-4", "ISO-8859-4"},
    LabelEntry{"iso-8859-5", "ISO-8859-5"},
    LabelEntry{"iso-8859-6", "ISO-8859-6"},
    LabelEntry{"iso-8859-6-e", "ISO-8859-6"},
    LabelEntry{"iso-8859-6-i", "ISO-8859-6"},
    LabelEntry{"iso-8859-7", "ISO-8859-7"},
    LabelEntry{"iso-8859-8", "ISO-8859-8"},
    LabelEntry{"iso-8859-8-e", "ISO-8859-8"},
    LabelEntry{"iso-8859-8-i", "ISO-8859-8-I"},
    LabelEntry{"iso-8859-9", "windows-1254"},
    LabelEntry{"iso-ir-100", "windows-1252"},
    LabelEntry{"iso-ir-101", "ISO-8859-2"},
    LabelEntry{"iso-ir-109", "ISO-8859-3"},
    LabelEntry{"iso-ir-110", "ISO-8859-4"},
    LabelEntry{"iso-ir-126", "ISO-8859-7"},
    LabelEntry{"iso-ir-127", "ISO-8859-6"},
    LabelEntry{"iso-ir-138", "ISO-8859-8"},
    LabelEntry{"iso-ir-144", "ISO-8859-5"},
    LabelEntry{"iso-ir-148", "windows-1254"},
    LabelEntry{"iso-ir-149", "EUC-KR"},
    LabelEntry{"iso-ir-157", "ISO-8859-10"},
    LabelEntry{"iso-ir-58", "GBK"},
    LabelEntry{"iso8859-1", "windows-1252"},
    LabelEntry{"iso8859-10", "ISO-8859-10"},
    LabelEntry{"iso8859-11", "windows-874"},
    LabelEntry{"iso8859-13", "ISO-8859-13"},
    LabelEntry{"iso8859-14", "ISO-8859-14"},
    LabelEntry{"iso8859-15", "ISO-8859-15"},
    LabelEntry{"iso8859-2", "ISO-8859-2"},
    LabelEntry{"iso8859-3", "ISO-8859-3"},
    LabelEntry{"iso8859-4", "ISO-8859-4"},
    LabelEntry{"iso8859-5", "ISO-8859-5"},
    LabelEntry{"iso8859-6", "ISO-8859-6"},
    LabelEntry{"iso8859-7", "ISO-8859-7"},
    LabelEntry{"iso8859-8", "ISO-8859-8"},
    LabelEntry{"iso8859-9", "windows-1254"},
    LabelEntry{"iso88591", "windows-1252"},
    LabelEntry{"iso885910", "ISO-8859-10"},
    LabelEntry{"iso885911", "windows-874"},
    LabelEntry{"iso885913", "ISO-8859-13"},
    LabelEntry{"iso885914", "ISO-8859-14"},
    LabelEntry{"iso885915", "ISO-8859-15"},
    LabelEntry{"iso88592", "ISO-8859-2"},
    LabelEntry{"iso88593", "ISO-8859-3"},
    LabelEntry{"iso88594", "ISO-8859-4"},
    LabelEntry{"iso88595", "ISO-8859-5"},
    LabelEntry{"iso88596", "ISO-8859-6"},
    LabelEntry{"iso88597", "ISO-8859-7"},
    LabelEntry{"iso88598", "ISO-8859-8"},
    LabelEntry{"iso88599", "windows-1254"},
    LabelEntry{"iso_8859-1", "windows-1252"},
    LabelEntry{"iso_8859-15", "ISO-8859-15"},
    LabelEntry{"iso_8859-1:1987", "windows-1252"},
    LabelEntry{"iso_8859-2", "ISO-8859-2"},
    LabelEntry{"iso_8859-2:1987", "ISO-8859-2"},
    LabelEntry{"iso_8859-3", "ISO-8859-3"},
    LabelEntry{"iso_8859-3:1988", "ISO-8859-3"},
    LabelEntry{"iso_8859-4", "ISO-8859-4"},
    LabelEntry{"iso_8859-4:1988", "ISO-8859-4"},
    LabelEntry{"iso_8859-5", "ISO-8859-5"},
    LabelEntry{"iso_8859-5:1988", "ISO-8859-5"},
    LabelEntry{"iso_8859-6", "ISO-8859-6"},
    LabelEntry{"iso_8859-6:1987", "ISO-8859-6"},
    LabelEntry{"iso_8859-7", "ISO-8859-7"},
    LabelEntry{"iso_8859-7:1987", "ISO-8859-7"},
    LabelEntry{"iso_8859-8", "ISO-8859-8"},
    LabelEntry{"iso_8859-8:1988", "ISO-8859-8"},
    LabelEntry{"iso_8859-9", "windows-1254"},
    LabelEntry{"iso_8859-9:1989", "windows-1254"},
    LabelEntry{"koi", "KOI8-R"},
    LabelEntry{"koi8", "KOI8-R"},
    LabelEntry{"koi8-r", "KOI8-R"},
    LabelEntry{"koi8-ru", "KOI8-U"},
    LabelEntry{"koi8-u", "KOI8-U"},
    LabelEntry{"koi8_r", "KOI8-R"},
    LabelEntry{"korean", "EUC-KR"},
    LabelEntry{"ks_c_5601-1987", "EUC-KR"},
    LabelEntry{"ks_c_5601-1989", "EUC-KR"},
    LabelEntry{"ksc5601", "EUC-KR"},
    LabelEntry{"ksc_5601", "EUC-KR"},
    LabelEntry{"l1", "windows-1252"},
    LabelEntry{"l2", "ISO-8859-2"},
    LabelEntry{"l3", "ISO-8859-3"},
    LabelEntry{"l4", "ISO-8859-4"},
    LabelEntry{"l5", "windows-1254"},
    LabelEntry{"l6", "ISO-8859-10"},
    LabelEntry{"l9", "ISO-8859-15"},
    LabelEntry{"latin1", "windows-1252"},
    LabelEntry{"latin2", "ISO-8859-2"},
    LabelEntry{"latin3", "ISO-8859-3"},
    LabelEntry{"latin4", "ISO-8859-4"},
    LabelEntry{"latin5", "windows-1254"},
    LabelEntry{"latin6", "ISO-8859-10"},
    LabelEntry{"logical", "ISO-8859-8-I"},
    LabelEntry{"mac", "macintosh"},
    LabelEntry{"macintosh", "macintosh"},
    LabelEntry{"ms932", "Shift_JIS"},
    LabelEntry{"ms_kanji", "Shift_JIS"},
    LabelEntry{"shift-jis", "Shift_JIS"},
    LabelEntry{"shift_jis", "Shift_JIS"},
    LabelEntry{"sjis", "Shift_JIS"},
    LabelEntry{"sun_eu_greek", "ISO-8859-7"},
    LabelEntry{"tis-620", "windows-874"},
    LabelEntry{"ucs-2", "UTF-16LE"},
    LabelEntry{"unicode", "UTF-16LE"},
    LabelEntry{"unicode-1-1-utf-8", "UTF-8"},
    LabelEntry{"unicode11utf8", "UTF-8"},
    LabelEntry{"unicode20utf8", "UTF-8"},
    LabelEntry{"unicodefeff", "UTF-16LE"},
    LabelEntry{"unicodefffe", "UTF-16BE"},
    LabelEntry{"us-ascii", "windows-1252"},
    LabelEntry{"utf-16", "UTF-16LE"},
    LabelEntry{"utf-16be", "UTF-16BE"},
    LabelEntry{"utf-16le", "UTF-16LE"},
    LabelEntry{"utf-8", "UTF-8"},
    LabelEntry{"utf8", "UTF-8"},
    LabelEntry{"visual", "ISO-8859-8"},
    LabelEntry{"windows-1250", "windows-1250"},
    LabelEntry{"windows-1251", "windows-1251"},
    LabelEntry{"windows-1252", "windows-1252"},
    LabelEntry{"windows-1253", "windows-1253"},
    LabelEntry{"windows-1254", "windows-1254"},
    LabelEntry{"windows-1255", "windows-1255"},
    LabelEntry{"windows-1256", "windows-1256"},
    LabelEntry{"windows-1257", "windows-1257"},
    LabelEntry{"windows-1258", "windows-1258"},
    LabelEntry{"windows-31j", "Shift_JIS"},
    LabelEntry{"windows-874", "windows-874"},
    LabelEntry{"windows-949", "EUC-KR"},
    LabelEntry{"x-cp1250", "windows-1250"},
    LabelEntry{"x-cp1251", "windows-1251"},
    LabelEntry{"x-cp1252", "windows-1252"},
    LabelEntry{"x-cp1253", "windows-1253"},
    LabelEntry{"x-cp1254", "windows-1254"},
    LabelEntry{"x-cp1255", "windows-1255"},
    LabelEntry{"x-cp1256", "windows-1256"},
    LabelEntry{"x-cp1257", "windows-1257"},
    LabelEntry{"x-cp1258", "windows-1258"},
    LabelEntry{"x-euc-jp", "EUC-JP"},
    LabelEntry{"x-gbk", "GBK"},
    LabelEntry{"x-mac-cyrillic", "x-mac-cyrillic"},
    LabelEntry{"x-mac-roman", "macintosh"},
    LabelEntry{"x-mac-ukrainian", "x-mac-cyrillic"},
    LabelEntry{"x-sjis", "Shift_JIS"},
    LabelEntry{"x-unicode20utf8", "UTF-8"},
    LabelEntry{"x-user-defined", "x-user-defined"},
    LabelEntry{"x-x-big5", "Big5"},
};

constexpr bool Sorted()
{
    for (std::size_t i = 1; i < kLabels.size(); ++i)
        if (!(kLabels[i - 1].label < kLabels[i].label))
            return false;
    return true;
}
static_assert(Sorted());

bool IsAsciiWhitespace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
}

} // namespace

QByteArrayView EncodingForLabel(QByteArrayView label)
{
    qsizetype begin = 0;
    qsizetype end = label.size();
    while (begin < end && IsAsciiWhitespace(label[begin]))
        ++begin;
    while (end > begin && IsAsciiWhitespace(label[end - 1]))
        --end;
    // The longest label, "cseucpkdfmtjapanese", has 19 characters.
    std::array<char, 20> lowered{};
    if (end - begin > qsizetype(lowered.size()))
        return {};
    const auto length = std::size_t(end - begin);
    for (std::size_t i = 0; i < length; ++i) {
        const char c = label[begin + qsizetype(i)];
        lowered[i] = c >= 'A' && c <= 'Z' ? char(c + 32) : c;
    }
    const std::string_view key(lowered.data(), length);
    const auto *found = std::lower_bound(kLabels.begin(), kLabels.end(), key,
                                         [](const LabelEntry &entry, std::string_view k) { return entry.label < k; });
    if (found == kLabels.end() || found->label != key)
        return {};
    return QByteArrayView(found->encoding.data(), qsizetype(found->encoding.size()));
}

} // namespace quillan
