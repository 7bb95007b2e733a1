// Text typed or pasted into the windows that a file could not hold as it is:
// line breaks, Ctrl-Z, NUL and characters outside Windows-1252. Whatever the
// user enters, the saved file reads back with every spell and specialty intact.

#include "files/specialty_file.h"
#include "files/spell_file.h"
#include "model/specialty.h"
#include "model/spell_book.h"
#include "platform/qt/text_conversion.h"
#include "support/app_harness.h"
#include "support/spell_lists.h"
#include "ui/frame_window.h"
#include "ui/master_list_window.h"
#include "ui/specialty_maintenance_dialog.h"
#include "ui/specialty_name_dialog.h"
#include "ui/spell_book_window.h"
#include "ui/spell_edit_dialog.h"
#include "ui/spin_edit.h"

#include <QAction>
#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>

using namespace vellumar;
using namespace vellumar::test;

namespace {

const QByteArray MasterFile = "1,\"Alarm\",\"SRD\",1,\"C\",\"Abjuration\"\r\n"
                              "1,\"Shield\",\"SRD\",9,\"C\",\"Abjuration\"\r\n"
                              "3,\"Fireball\",\"SRD\",7,\"C\",\"Evocation\"\r\n"
                              " \r\n";

// A literal that may hold NUL characters.
template <size_t N> QString WithControls(const char16_t (&text)[N]) {
    return QString::fromUtf16(text, qsizetype(N - 1));
}

// Puts the text into a field as a user would: typed at the cursor, or pasted
// from the clipboard.
void Enter(QLineEdit* field, const QString& text, bool paste) {
    field->clear();
    if (paste) {
        QGuiApplication::clipboard()->setText(text);
        field->paste();
    } else {
        field->insert(text);
    }
}

struct TypedSpellFields {
    std::string name, book, category;
};

const tSpell* Find(TSpellBook& book, int level, const std::string& name) {
    for (book.First(); const tSpell* spell = book.CurrentSpell(); book.Next())
        if (spell->Level == level && spell->Name == name) return spell;
    return nullptr;
}

// Every spell of a book as level, name, book, page, frequency and category.
QStringList Describe(TSpellBook& book) {
    QStringList out;
    for (book.First(); const tSpell* s = book.CurrentSpell(); book.Next())
        out << QStringLiteral("%1|%2|%3|%4|%5|%6")
                   .arg(s->Level)
                   .arg(QString::fromLatin1(s->Name.data(), qsizetype(s->Name.size())))
                   .arg(QString::fromLatin1(s->Book.data(), qsizetype(s->Book.size())))
                   .arg(s->Page)
                   .arg(s->Frequency)
                   .arg(QString::fromLatin1(s->Category.data(), qsizetype(s->Category.size())));
    return out;
}

QStringList Describe(tSpecialtyList& list) {
    QStringList out;
    auto latin = [](const std::string& s) {
        return QString::fromLatin1(s.data(), qsizetype(s.size()));
    };
    for (list.First(); const tSpecialty* s = list.CurrentSpecialty(); list.Next()) {
        QStringList preferred, prohibited;
        for (const std::string& e : s->Preferred) preferred << latin(e);
        for (const std::string& e : s->Prohibited) prohibited << latin(e);
        out << latin(s->Name) + " / " + preferred.join('|') + " / " + prohibited.join('|');
    }
    return out;
}

bool HasControlBytes(const std::string& text) {
    for (char c : text)
        if (static_cast<unsigned char>(c) < 32) return true;
    return false;
}

} // namespace

class TypedTextTest : public HarnessTest {
    Q_OBJECT

    TfrmMasterList& Master() { return *h->Context().MasterListWindow(); }
    TfrmSpellBook& OpenBook() {
        const QString path =
            h->home.Write("book.spb", SpellbookV4(5, 12, "Generalist", 'C',
                                                  {"1,\"Alarm\",\"SRD\",1,\"C\",\"Abjuration\"",
                                                   "1,\"Shield\",\"SRD\",9,\"C\",\"Abjuration\""}));
        if (!h->Frame().OpenSpellbookFile(path)) QTest::qFail("not opened", __FILE__, __LINE__);
        return *h->ActiveSpellBook();
    }
    // One spell edit dialog, the bad text entered into name, book and category.
    void AnswerSpellDialog(const QString& text, bool paste) {
        h->prompter.Exec<TfrmSpellEdit>(
            [=](auto& dialog) {
                dialog.spnLevel->setValue(1);
                Enter(dialog.ebName, QStringLiteral("Light ") + text, paste);
                Enter(dialog.ebBook, text, paste);
                dialog.ebPage->setText(QStringLiteral("12"));
                Enter(dialog.ebCategory, text, paste);
                dialog.cbFrequency->setCurrentIndex(2);
            },
            true);
    }

private slots:
    void init() {
        HarnessTest::init();
        h->UseMasterList(MasterFile);
        h->Start();
    }

    void spellFieldsReadBackIntact_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("paste");
        QTest::addColumn<QByteArray>("stored");
        QTest::newRow("CR LF") << QStringLiteral("a\r\nb") << false << QByteArray("a  b");
        QTest::newRow("CR LF pasted") << QStringLiteral("a\r\nb") << true << QByteArray("a  b");
        QTest::newRow("LF") << QStringLiteral("a\nb") << false << QByteArray("a b");
        QTest::newRow("CR") << QStringLiteral("a\rb") << false << QByteArray("a b");
        QTest::newRow("Ctrl-Z") << WithControls(u"a\x001A"
                                                u"b")
                                << false << QByteArray("a b");
        QTest::newRow("Ctrl-Z pasted") << WithControls(u"a\x001A"
                                                       u"b")
                                       << true << QByteArray("a b");
        QTest::newRow("NUL") << WithControls(u"a\0b") << false << QByteArray("a b");
        QTest::newRow("only line breaks") << QStringLiteral("\r\n") << false << QByteArray("  ");
        QTest::newRow("chinese") << QString::fromUtf8("a\u4e2db") << false << QByteArray("a?b");
        QTest::newRow("chinese pasted")
            << QString::fromUtf8("a\u4e2db") << true << QByteArray("a?b");
        QTest::newRow("emoji") << QString::fromUtf8("a\U0001F600b") << false << QByteArray("a?b");
        QTest::newRow("euro, in the code page") << QString::fromUtf8("a\u20acb") << false
                                                << QByteArray("a\x80"
                                                              "b");
        QTest::newRow("quotation mark and comma")
            << QStringLiteral("a\",b") << false << QByteArray("a\",b");
    }
    // Create New Spell and Edit Spell Data in a spellbook window, Save As and
    // Export; Add New Spell in the master list window and Save Master File.
    void spellFieldsReadBackIntact() {
        QFETCH(QString, text);
        QFETCH(bool, paste);
        QFETCH(QByteArray, stored);
        const std::string bytes = stored.toStdString();
        const TypedSpellFields expected{"Light " + bytes, bytes, bytes};

        TfrmSpellBook& window = OpenBook();
        AnswerSpellDialog(text, paste);
        h->prompter.Message(Answer::No);
        window.mnuCreateNewSpellClick();
        // And the category of an existing spell, through Edit Spell Data.
        SelectRows(window.lbSpells, {0}); // Alarm
        h->prompter.Exec<TfrmSpellEdit>([=](auto& edit) { Enter(edit.ebCategory, text, paste); },
                                        true);
        window.mnuEditSpellClick();
        QCOMPARE(window.Book().Count(), 3);
        const tSpell* alarm = Find(window.Book(), 1, "Alarm");
        QVERIFY(alarm);
        QCOMPARE(alarm->Category, bytes);
        const tSpell* added = Find(window.Book(), 1, expected.name);
        QVERIFY(added);
        QCOMPARE(added->Book, expected.book);
        QCOMPARE(added->Category, expected.category);
        const QStringList inMemory = Describe(window.Book());

        const QString bookPath = h->home.Working() + "typed.spb";
        h->prompter.SaveFile(bookPath);
        window.mnuSaveAsClick();
        QVERIFY(!window.Book().Modified);
        auto book = ReadSpellbookFile(ToPath(bookPath));
        QVERIFY(book);
        QCOMPARE(Describe(*book), inMemory);

        const QString exportPath = h->home.Working() + "typed.dat";
        h->prompter.SaveFile(exportPath);
        window.mnuExportSpellClick();
        auto exported = ReadSpellList(ToPath(exportPath));
        QVERIFY(exported);
        QCOMPARE(Describe(*exported), inMemory);

        AnswerSpellDialog(text, paste);
        h->prompter.Message(Answer::No);
        Master().mnuAddNewSpellClick();
        QCOMPARE(h->Context().MasterList()->Count(), 4);
        const QStringList master = Describe(*h->Context().MasterList());
        QVERIFY(Master().mnuSaveMasterFileClick());
        auto back = ReadSpellList(ToPath(h->home.Working() + "MASTER.DAT"));
        QVERIFY(back);
        QCOMPARE(Describe(*back), master);
        const tSpell* masterSpell = Find(*back, 1, expected.name);
        QVERIFY(masterSpell);
        QCOMPARE(masterSpell->Category, expected.category);
    }

    // New names, renames and category lines in specialty maintenance.
    void specialtiesReadBackIntact() {
        auto table = BuiltInSpecialties();
        const QString path = h->home.Working() + "Specialty.dat";
        TfrmSpecialtyMaintenance window(h->prompter, *table, ToPath(path), {}, {});
        auto answerName = [this](const QString& typed, bool paste) {
            h->prompter.Exec<TfrmSpecialtyName>(
                [=](auto& name) { Enter(name.ebSpecialtyName, typed, paste); }, true);
        };
        answerName(WithControls(u"Wild\r\nMage\x001A\0") + QString::fromUtf8("\u4e2d\u20ac"),
                   false);
        window.mnuAddNewSpecialty->trigger();
        QCOMPARE(window.cbSpecialty->currentIndex(), 8);
        // A line separator pasted in the middle of a line breaks it too.
        window.memPreferred->insertPlainText(
            WithControls(u"x\x001Ay\nGreater Divination\n\x4E2D\nq\0r\x2028s"));
        window.memProhibited->insertPlainText(QStringLiteral("a,\"b\"\r\nc\rd"));
        // Choosing another specialty stores the edits of this one.
        window.cbSpecialty->setCurrentIndex(0); // Abjurer
        answerName(QString::fromUtf8("Abj\r\nurer\u4e2d"), true);
        window.mnuEditSpecialtyName->trigger();

        QVERIFY(table->Modified);
        const tSpecialty* added = table->FindByName("Wild  Mage  ?\x80");
        QVERIFY(added);
        QCOMPARE(added->Preferred, (tStringList{"x y", "Greater Divination", "?", "q r", "s"}));
        for (const std::string& entry : added->Prohibited) QVERIFY(!HasControlBytes(entry));
        QVERIFY(table->FindByName("Abj  urer?"));
        const QStringList inMemory = Describe(*table);

        window.mnuSaveChanges->trigger();
        QVERIFY(!table->Modified);
        auto back = ReadSpecialtyFile(ToPath(path));
        QVERIFY(back);
        QCOMPARE(back->Count(), 9);
        QCOMPARE(Describe(*back), inMemory);
    }

    // The specialty box of a spellbook window, typed or pasted into.
    void spellbookSpecialtyReadsBackIntact_data() {
        QTest::addColumn<bool>("paste");
        QTest::newRow("typed") << false;
        QTest::newRow("pasted") << true;
    }
    void spellbookSpecialtyReadsBackIntact() {
        QFETCH(bool, paste);
        TfrmSpellBook& window = OpenBook();
        const QString text = WithControls(u"Nec\r\nro\x001A\0") + QString::fromUtf8("\u4e2d\u20ac");
        Enter(window.cbWizardSpecialty->lineEdit(), text, paste);
        QCOMPARE(window.Book().Specialty, std::string("Nec  ro  ?\x80"));
        const QStringList spells = Describe(window.Book());
        window.mnuSaveClick();
        QVERIFY(!window.Book().Modified);
        auto back = ReadSpellbookFile(ToPath(window.Caption()));
        QVERIFY(back);
        QCOMPARE(back->Specialty, std::string("Nec  ro  ?\x80"));
        QCOMPARE(back->CasterLevel, 5);
        QCOMPARE(back->Intelligence, 12);
        QCOMPARE(Describe(*back), spells);
    }
};

QTEST_MAIN(TypedTextTest)
#include "typed_text_test.moc"
