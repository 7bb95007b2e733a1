// The program's file dialog: filter descriptions as given, patterns in either
// case, and bare names resolved to the user's files before the default
// extension is added.

#include "platform/qt/file_dialog.h"
#include "platform/qt/typed_file_name.h"
#include "support/app_harness.h"
#include "ui/frame_window.h"
#include "ui/spell_book_window.h"

#include <QAbstractItemModel>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListView>
#include <QTemporaryDir>
#include <QTest>

using namespace vellumar;
using namespace vellumar::test;

namespace {

void Touch(const QString& path) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
}

// A folder of the user's files, extensions in mixed case.
struct UserFolder {
    QTemporaryDir dir;
    UserFolder() {
        for (const char* name :
             {"L30.SPB", "Book.Spb", "notes.DAT", "both.spb", "both.SPB", "plain", "readme.txt"})
            Touch(dir.filePath(QString::fromLatin1(name)));
    }
    QString Path(const QString& name) const { return dir.filePath(name); }
};

// Types a name into the dialog and presses its Open or Save button.
QString TypeAndAccept(FileDialog& dialog, const QString& typed) {
    auto* name = dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    if (!name) return QStringLiteral("<no name field>");
    name->setText(typed);
    dialog.accept();
    return dialog.result() == QDialog::Accepted ? dialog.Chosen() : QString();
}

} // namespace

class FileDialogTest : public QObject {
    Q_OBJECT

private slots:
    void resolvesTypedNames_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QStringList>("extensions");
        QTest::addColumn<QString>("suffix");
        QTest::addColumn<QString>("expected"); // a name in the folder
        const QStringList spb{"spb"};
        QTest::newRow("upper-case extension") << "L30" << spb << "spb"
                                              << "L30.SPB";
        QTest::newRow("mixed-case extension") << "Book" << spb << "spb"
                                              << "Book.Spb";
        QTest::newRow("exact case preferred") << "both" << spb << "spb"
                                              << "both.spb";
        QTest::newRow("no such file gets the suffix") << "new" << spb << "spb"
                                                      << "new.spb";
        QTest::newRow("name case matters") << "l30" << spb << "spb"
                                           << "l30.spb";
        QTest::newRow("extension typed") << "L30.spb" << spb << "spb"
                                         << "L30.spb";
        QTest::newRow("existing bare file") << "plain" << spb << "spb"
                                            << "plain";
        QTest::newRow("second extension") << "notes" << QStringList{"spb", "dat"} << ""
                                          << "notes.DAT";
        QTest::newRow("no suffix, nothing found") << "L31" << spb << ""
                                                  << "L31";
        QTest::newRow("other extension not taken") << "readme" << spb << "spb"
                                                   << "readme.spb";
    }
    void resolvesTypedNames() {
        QFETCH(QString, typed);
        QFETCH(QStringList, extensions);
        QFETCH(QString, suffix);
        QFETCH(QString, expected);
        const UserFolder folder;
        QCOMPARE(ResolveTypedFileName(folder.Path(typed), extensions, suffix),
                 folder.Path(expected));
    }

    void patternExtensions() {
        QCOMPARE(PatternExtensions({"*.SPB", "*.spb", "*.*", "*", "*.d?t", "*.DAT"}),
                 (QStringList{"SPB", "DAT"}));
    }

    // The filters show the descriptions once and still list files of either case.
    void filtersShowTheirDescriptions() {
        const UserFolder folder;
        FileDialogSpec request;
        request.filter = QStringLiteral("*.SPB (Spellbook Files)|*.SPB|*.* (All Files)|*.*");
        request.directory = folder.dir.path();
        FileDialog dialog(nullptr, request, QFileDialog::AcceptOpen);
        auto* types = dialog.findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
        QVERIFY(types);
        QStringList shown;
        for (int i = 0; i < types->count(); ++i) shown << types->itemText(i);
        QCOMPARE(shown, (QStringList{"*.SPB (Spellbook Files)", "*.* (All Files)"}));

        auto* list = dialog.findChild<QListView*>(QStringLiteral("listView"));
        QVERIFY(list);
        const auto names = [list] {
            QStringList out;
            const QAbstractItemModel* model = list->model();
            for (int row = 0; row < model->rowCount(list->rootIndex()); ++row)
                out << model->index(row, 0, list->rootIndex()).data().toString();
            out.sort();
            return out;
        };
        QTRY_COMPARE(names(), (QStringList{"Book.Spb", "L30.SPB", "both.SPB", "both.spb"}));
    }

    // Open and Import, with the requests the windows make.
    void bareNamesThroughOpenAndImport() {
        AppHarness h;
        h.Start();
        const UserFolder folder;
        h.prompter.OpenFile({});
        h.Frame().mnuOpenSpellbookClick();
        FileDialogSpec open = h.prompter.Last().request;
        open.directory = folder.dir.path();
        {
            FileDialog dialog(nullptr, open, QFileDialog::AcceptOpen);
            QCOMPARE(TypeAndAccept(dialog, "L30"), folder.Path("L30.SPB"));
        }

        h.prompter.Exec({}, true);
        h.Frame().NewChild();
        h.prompter.OpenFile({});
        h.ActiveSpellBook()->mnuImportSpellsClick();
        FileDialogSpec import = h.prompter.Last().request;
        import.directory = folder.dir.path();
        {
            FileDialog dialog(nullptr, import, QFileDialog::AcceptOpen);
            QCOMPARE(TypeAndAccept(dialog, "Book"), folder.Path("Book.Spb"));
        }
        {
            FileDialog dialog(nullptr, import, QFileDialog::AcceptOpen);
            dialog.selectNameFilter(dialog.nameFilters().value(1)); // the data files
            QCOMPARE(TypeAndAccept(dialog, "notes"), folder.Path("notes.DAT"));
        }
        h.Verify();
    }
};

QTEST_MAIN(FileDialogTest)
#include "file_dialog_test.moc"
