#include "PlainPass.h"

#include <QFile>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include <sys/stat.h>

namespace quillan::bench {

namespace fs = std::filesystem;

namespace {

bool isPage(const fs::path &path)
{
    std::string ext = path.extension().string();
    std::transform(ext.begin(), ext.end(), ext.begin(),
                   [](unsigned char c) { return char(std::tolower(c)); });
    return ext.find("htm") != std::string::npos;
}

bool readWhole(const std::string &path, std::string &into)
{
    into.clear();
    std::FILE *file = std::fopen(path.c_str(), "rb");
    if (!file)
        return false;
    std::array<char, 1 << 16> buffer;
    size_t n;
    while ((n = std::fread(buffer.data(), 1, buffer.size(), file)) > 0)
        into.append(buffer.data(), n);
    std::fclose(file);
    return true;
}

void testLinks(std::string_view page, std::string_view key, const std::string &folder,
               PlainCheckCounts &counts)
{
    std::string target;
    for (size_t at = page.find(key); at != std::string_view::npos; at = page.find(key, at + 1)) {
        const size_t start = at + key.size();
        const size_t end = page.find('"', start);
        if (end == std::string_view::npos)
            return;
        std::string_view link = page.substr(start, end - start);
        link = link.substr(0, link.find('#'));
        if (link.empty() || link.front() == '/' || link.find(':') != std::string_view::npos)
            continue;
        target.assign(folder);
        target.append(link);
        struct stat st;
        ++counts.links;
        if (::stat(target.c_str(), &st) != 0 || !S_ISREG(st.st_mode))
            ++counts.missing;
    }
}

} // namespace

long long EnumerateTree(const QString &top)
{
    long long files = 0;
    std::error_code ec;
    for (fs::recursive_directory_iterator it(QFile::encodeName(top).toStdString(), ec), end;
         !ec && it != end; it.increment(ec)) {
        if (it->is_regular_file(ec))
            ++files;
    }
    return files;
}

namespace {

// Calls `read` with each page's path and its whole text.
template<typename Read>
void readEveryPage(const QString &top, std::string &content, Read read)
{
    std::error_code ec;
    for (fs::recursive_directory_iterator it(QFile::encodeName(top).toStdString(), ec), end;
         !ec && it != end; it.increment(ec)) {
        if (it->is_regular_file(ec) && isPage(it->path()) && readWhole(it->path().string(), content))
            read(it->path(), content);
    }
}

} // namespace

std::vector<std::string> LoadEveryPage(const QString &top)
{
    std::vector<std::string> pages;
    std::string content;
    readEveryPage(top, content, [&](const fs::path &, const std::string &text) { pages.push_back(text); });
    return pages;
}

long long ReadPagesOnly(const QString &top)
{
    long long pages = 0;
    std::string content;
    readEveryPage(top, content, [&](const fs::path &, const std::string &) { ++pages; });
    return pages;
}

PlainCheckCounts ReadPagesAndTestLinks(const QString &top)
{
    PlainCheckCounts counts;
    std::string content;
    readEveryPage(top, content, [&](const fs::path &path, const std::string &text) {
        ++counts.pages;
        const std::string folder = path.parent_path().string() + "/";
        testLinks(text, " href=\"", folder, counts);
        testLinks(text, " src=\"", folder, counts);
    });
    return counts;
}

} // namespace quillan::bench
