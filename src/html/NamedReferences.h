#pragma once
// The HTML named character references ("&amp;", "&eacute", ...), generated
// into NamedReferenceTable.cpp by scripts/generate-named-references.py.

#include <QStringView>

#include <span>

namespace quillan {

struct NamedReferenceEntry {
    const char *name;  // without the "&", with the ";" when the reference has one
    char32_t first;
    char32_t second;   // 0 when the reference gives one character
};

// Every reference, sorted by name in byte order.
std::span<const NamedReferenceEntry> NamedReferenceTable();

// The reference named exactly `name` (ASCII letters and digits, maybe a
// final ";"); nullptr when there is none.
const NamedReferenceEntry *FindNamedReference(QStringView name);

} // namespace quillan
