#pragma once
// A home folder of the test program's own, made before anything asks
// QStandardPaths for a folder. Test mode keeps settings and reports below
// the home folder (~/.qttest), so without it test programs run side by side
// (ctest -j, two checkouts, a plain and a sanitized run) would share one data
// folder and spoil each other's files. The XDG folders follow, for the
// programs a test starts.

#include <QByteArray>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>

namespace quillan::test {

class TestHome
{
public:
    TestHome()
    {
        if (!dir_.isValid()) {
            std::fprintf(stderr, "no temporary home folder: %s\n",
                         qPrintable(dir_.errorString()));
            return;
        }
        const QByteArray home = QFile::encodeName(dir_.path());
        qputenv("HOME", home);
        qputenv("XDG_DATA_HOME", home + "/.local/share");
        qputenv("XDG_CONFIG_HOME", home + "/.config");
        qputenv("XDG_CACHE_HOME", home + "/.cache");
    }

    bool isValid() const { return dir_.isValid(); }

private:
    QTemporaryDir dir_;
};

} // namespace quillan::test
