#pragma once
// The HTML named character references ("&amp;", "&eacute", ...), generated
// into NamedReferenceTable.cpp by scripts/generate-named-references.py.

#include <QStringView>

#include <cstddef>

namespace quillan {

struct NamedReferenceEntry {
    const char *name;  // without the "&", with the ";" when the reference has one
    char32_t first;
    char32_t second;   // 0 when the reference gives one character
};

extern const NamedReferenceEntry kNamedReferenceTable[];
extern const std::size_t kNamedReferenceCount;

// The reference named exactly `name` (ASCII letters and digits, maybe a
// final ";"); nullptr when there is none.
const NamedReferenceEntry *FindNamedReference(QStringView name);

} // namespace quillan
