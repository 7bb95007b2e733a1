// vellumar [--seed N] [--quit-after-start] [BOOK ...]: the desktop program;
// each BOOK opens as Open does. vellumar --export-pdf BOOK --output F writes
// the book as PDF without any window.

#include "model/spell_book.h"
#include "platform/program_settings.h"
#include "platform/qt/qt_prompter.h"
#include "platform/qt/standard_error_prompter.h"
#include "platform/qt/svg_icon.h"
#include "program_version.h"
#include "ui/app.h"
#include "ui/frame_window.h"
#include "ui/pdf_export_command.h"
#include "ui/program_command_line.h"

#include <QApplication>
#include <QEvent>
#include <QIcon>
#include <QTimer>
#include <cstdio>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace {

// What start-up found, for --quit-after-start.
void PrintStartReport(vellumar::VellumarApp& app) {
    vellumar::AppContext& context = app.Context();
    std::printf("settings: %s\n", context.Settings().Path().c_str());
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
    // Before the application exists, so that help, version and mistakes need no display.
    const vellumar::ProgramCommandLineRead read = vellumar::ParseProgramCommandLine(argc, argv);
    if (read.exit) return vellumar::PrintProgramExit(*read.exit);
    const vellumar::ProgramCommandLine& line = read.line;
    // Qt reads its own options alone; books and our options stay out of its reach.
    std::vector<std::string> qtWords = line.qtArguments;
    std::vector<char*> qtArgv;
    qtArgv.reserve(qtWords.size() + 1);
    for (std::string& word : qtWords) qtArgv.push_back(word.data());
    int qtArgc = static_cast<int>(qtArgv.size());
    qtArgv.push_back(nullptr);
    if (!line.exportPdf.isEmpty()) {
        // Painting needs the application object, not a display.
        qputenv("QT_QPA_PLATFORM", "offscreen");
        QApplication application(qtArgc, qtArgv.data());
        return vellumar::PrintProgramExit(vellumar::RunPdfExport(line));
    }
    QApplication application(qtArgc, qtArgv.data());
    QApplication::setApplicationName(QStringLiteral("Vellumar"));
    QApplication::setApplicationVersion(QString::fromLatin1(vellumar::ProgramVersion));
    // Ties the windows to the desktop entry, for the window icon and the task bar.
    QApplication::setDesktopFileName(QStringLiteral("vellumar"));
    QApplication::setWindowIcon(ProgramIcon());

    const QString title = QString::fromLatin1(vellumar::ProductName);
    vellumar::QtPrompter interactive(title);
    vellumar::StandardErrorPrompter unattended(title);
    vellumar::Prompter& prompter = line.quitAfterStart
                                       ? static_cast<vellumar::Prompter&>(unattended)
                                       : static_cast<vellumar::Prompter&>(interactive);
    vellumar::VellumarApp app(prompter);
    app.Start(line.seed,
              line.ReopensBooks() ? vellumar::LastSession::Reopen : vellumar::LastSession::Ignore);
    bool allOpened = true;
    for (const QString& book : line.books) allOpened &= app.Frame().OpenSpellbookFile(book);
    FirstPaintWatch firstPaint([&app, allOpened] {
        PrintStartReport(app);
        // exit() rather than quit(), which would ask the windows to close.
        QCoreApplication::exit(allOpened ? 0 : 1);
    });
    if (line.quitAfterStart) {
        // Once the frame has been painted: this also times the start-up
        // (bench/startup_ratio.sh). A frame that is never exposed still ends.
        app.Frame().installEventFilter(&firstPaint);
        QTimer::singleShot(10000, &firstPaint, &FirstPaintWatch::Fire);
    }
    return vellumar::FinishStandardOutput(QApplication::exec());
}
