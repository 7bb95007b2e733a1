// The start-up warm-up: it loads the icon plugin it is given in the
// background, gives the font configuration to whoever waits for it, and ends
// cleanly whatever it was given.

#include "platform/qt/startup_warm_up.h"
#include "platform/qt/text_conversion.h"

#include <QFile>
#include <QLibraryInfo>
#include <QTest>
#include <dlfcn.h>
#include <fontconfig/fontconfig.h>

using namespace vellumar;

class StartupWarmUpTest : public QObject {
    Q_OBJECT

private slots:
    // Without Qt's font database, which ends fontconfig in a program.
    void cleanupTestCase() { FcFini(); }

    void loadsTheIconPluginAndReadsTheFontConfiguration() {
        const QString plugin = QLibraryInfo::path(QLibraryInfo::PluginsPath) +
                               QStringLiteral("/iconengines/libqsvgicon.so");
        if (!QFile::exists(plugin)) QSKIP("the SVG icon plugin is not installed");
        const std::string path = ToPath(plugin);
        QVERIFY(!dlopen(path.c_str(), RTLD_NOW | RTLD_NOLOAD));
        {
            StartupWarmUp warmUp(path);
            warmUp.WaitForFonts();
            QVERIFY(FcConfigGetCurrent() != nullptr);
        }
        void* loaded = dlopen(path.c_str(), RTLD_NOW | RTLD_NOLOAD);
        QVERIFY(loaded);
        dlclose(loaded);
    }

    void endsCleanlyWithoutAPluginOrAWait() {
        { StartupWarmUp nothing; }
        { StartupWarmUp missing("/nonexistent/libnothing.so"); }
        StartupWarmUp waited("/nonexistent/libnothing.so");
        waited.WaitForFonts();
        waited.WaitForFonts(); // a second wait returns at once
    }
};

QTEST_GUILESS_MAIN(StartupWarmUpTest)
#include "startup_warm_up_test.moc"
