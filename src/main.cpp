// vellumar [--seed N] [--quit-after-start] [BOOK ...]: the desktop program;
// each BOOK opens as Open does.

#include "model/spell_book.h"
#include "platform/ini_file.h"
#include "platform/qt/qt_prompter.h"
#include "platform/qt/startup_warm_up.h"
#include "platform/qt/svg_icon.h"
#include "platform/qt/text_conversion.h"
#include "ui/app.h"
#include "ui/frame_window.h"

#include <QApplication>
#include <QEvent>
#include <QIcon>
#include <QLibraryInfo>
#include <QTimer>
#include <cstdio>
#include <cstring>
#include <functional>
#include <optional>
#include <utility>

namespace {

constexpr char Usage[] =
    "usage: vellumar [--seed N] [--quit-after-start] [BOOK ...]\n"
    "\n"
    "Keeps wizard spellbooks. Each BOOK (a *.SPB file) opens in its own window.\n"
    "\n"
    "  --seed N             seed the random generator with N (0 to 4294967295)\n"
    "                       instead of the clock, to make the same books again\n"
    "  --quit-after-start   start as usual and, once the window has been drawn,\n"
    "                       print where the settings, the help file and the\n"
    "                       master list were found, and quit; for checking an\n"
    "                       installation\n"
    "  --help               show this text\n";

// What start-up found, for --quit-after-start.
void PrintStartReport(vellumar::VellumarApp& app) {
    vellumar::AppContext& context = app.Context();
    std::printf("settings: %s\n", context.SettingsFile().Path().c_str());
    std::printf("help file: %s\n", context.HelpFile().toLocal8Bit().constData());
    if (const vellumar::TSpellBook* master = context.MasterList())
        std::printf("master list: %d spells\n", master->Count());
    else
        std::printf("master list: none\n");
    std::printf("spellbook windows: %zu\n", app.Frame().SpellBookWindows().size());
    std::fflush(stdout);
}

// Runs an action once, just after the watched window's first paint.
class FirstPaintWatch : public QObject {
public:
    explicit FirstPaintWatch(std::function<void()> action) : action_(std::move(action)) {}
    void Fire() {
        if (action_) QTimer::singleShot(0, this, std::exchange(action_, nullptr));
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) Fire();
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void()> action_;
};

// The window icon, drawn from its vectors when a window system asks for one of
// these sizes: an SVG icon alone names no sizes, and X11 title bars then show none.
QIcon ProgramIcon() {
    QList<QSize> sizes;
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) sizes << QSize(size, size);
    return vellumar::SvgIcon(QStringLiteral(":/icons/vellumar.svg"), sizes);
}

} // namespace

int main(int argc, char** argv) {
    // Before the application exists, so that the help needs no display.
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], "--help") == 0) {
            std::fputs(Usage, stdout);
            return 0;
        }
    // Before the application object, so that it runs while that is made.
    vellumar::StartupWarmUp warmUp(vellumar::ToPath(QLibraryInfo::path(QLibraryInfo::PluginsPath) +
                                                    QStringLiteral("/iconengines/libqsvgicon.so")));
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Vellumar"));
    // Ties the windows to the desktop entry, for the window icon and the task bar.
    QApplication::setDesktopFileName(QStringLiteral("vellumar"));
    QApplication::setWindowIcon(ProgramIcon());

    std::optional<uint32_t> seed;
    bool quitAfterStart = false;
    QStringList books;
    const QStringList args = QApplication::arguments();
    for (qsizetype i = 1; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--seed")) {
            bool ok = false;
            const uint value = i + 1 < args.size() ? args[i + 1].toUInt(&ok) : 0;
            if (!ok) {
                std::fprintf(stderr,
                             "vellumar: --seed needs a whole number from 0 to 4294967295\n"
                             "usage: vellumar [--seed N] [--quit-after-start] [BOOK ...]\n");
                return 2;
            }
            seed = value;
            ++i;
        } else if (args[i] == QLatin1String("--quit-after-start")) {
            quitAfterStart = true;
        } else {
            books << args[i];
        }
    }

    vellumar::QtPrompter prompter(QString::fromLatin1(vellumar::AppTitle));
    vellumar::VellumarApp app(prompter);
    app.Start(seed, &warmUp);
    for (const QString& book : books) app.Frame().OpenSpellbookFile(book);
    FirstPaintWatch firstPaint([&app] {
        PrintStartReport(app);
        // exit() rather than quit(), which would ask the windows to close.
        QCoreApplication::exit(0);
    });
    if (quitAfterStart) {
        // Once the frame has been painted: this also times the start-up
        // (bench/startup_ratio.sh). A frame that is never exposed still ends.
        app.Frame().installEventFilter(&firstPaint);
        QTimer::singleShot(10000, &firstPaint, &FirstPaintWatch::Fire);
    }
    return QApplication::exec();
}
