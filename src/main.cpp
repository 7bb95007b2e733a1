// vellumar [--seed N] [BOOK ...]: the desktop program; each BOOK opens as Open does.

#include "platform/qt/qt_prompter.h"
#include "ui/app.h"
#include "ui/frame_window.h"

#include <QApplication>
#include <cstdio>
#include <optional>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Vellumar"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/book.svg")));

    std::optional<uint32_t> seed;
    QStringList books;
    const QStringList args = QApplication::arguments();
    for (qsizetype i = 1; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--seed")) {
            bool ok = false;
            const uint value = i + 1 < args.size() ? args[i + 1].toUInt(&ok) : 0;
            if (!ok) {
                std::fprintf(stderr, "vellumar: --seed needs a whole number from 0 to 4294967295\n"
                                     "usage: vellumar [--seed N] [BOOK ...]\n");
                return 2;
            }
            seed = value;
            ++i;
        } else {
            books << args[i];
        }
    }

    vellumar::QtPrompter prompter(QString::fromLatin1(vellumar::AppTitle));
    vellumar::VellumarApp app(prompter);
    app.Start(seed);
    for (const QString& book : books) app.Frame().OpenSpellbookFile(book);
    return QApplication::exec();
}
