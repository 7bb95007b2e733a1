#include "output/qt/book_rendering.h"
#include "output/qt/print_format_dialog.h"
#include "output/qt/print_preview_window.h"
#include "platform/qt/focus_ring.h"
#include "platform/qt/font_colour_dialog.h"
#include "support/focus_moves.h"
#include "support/scripted_prompter.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QLabel>
#include <QMenuBar>
#include <QPalette>
#include <QPrinter>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollArea>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace vellumar;
using vellumar::test::ScriptedPrompter;

namespace {

std::unique_ptr<TSpellBook> SampleBook(int levels, int spellsPerLevel) {
    auto book = std::make_unique<TSpellBook>(12, 17, 0, "Illusionist");
    for (int level = 1; level <= levels; ++level)
        for (int i = 0; i < spellsPerLevel; ++i)
            book->AddSpell(new tSpell(level,
                                      "Spell " + std::to_string(level) + "-" + std::to_string(i),
                                      "Core", 100 + i, -(i % 5), "Illusion"));
    return book;
}

// The rectangle that holds every pixel that is not white.
QRect Ink(const QImage& image) {
    QRect ink;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != qRgb(255, 255, 255)) ink |= QRect(x, y, 1, 1);
    return ink;
}

int PdfPageCount(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return -1;
    const QByteArray pdf = file.readAll();
    // Page objects only, not the page tree ("/Type /Pages").
    static const QRegularExpression page(QStringLiteral("/Type\\s*/Page(?![a-zA-Z])"));
    return int(QString::fromLatin1(pdf).count(page));
}

// Answers the next print dialog with PDF output to `pdf`.
void AnswerPdf(ScriptedPrompter& prompter, const QString& pdf, int copies = 1,
               bool collate = true) {
    prompter.PrintDialog([=](QPrinter& printer) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        printer.setCopyCount(copies);
        printer.setCollateCopies(collate);
        return true;
    });
}

// A preview over a book, with its dependencies, as the spellbook window would wire it.
struct Fixture {
    explicit Fixture(TSpellBook* book) : book(book), formatDialog(format) {
        preview = std::make_unique<TfrmPrintPreview>(
            prompter, format, formatDialog, printer,
            [this] {
                ++bookRequests;
                return ActiveBook{this->book, QStringLiteral("C:\\Books\\Mordenkainen.SPB"), texts};
            },
            [this] { ++setups; });
    }
    TSpellBook* book;
    const SpellTexts* texts = nullptr;
    ScriptedPrompter prompter;
    OutputFormat format;
    TfrmPrintFormat formatDialog;
    QPrinter printer{QPrinter::HighResolution};
    int bookRequests = 0;
    int setups = 0;
    std::unique_ptr<TfrmPrintPreview> preview;
};

} // namespace

class PrintPreviewTest : public QObject {
    Q_OBJECT
private slots:
    void hasItsCaptionCommandsAndImage();
    void drawsTheBookOnlyInsideTheImage();
    void changeFontChangesTheRendering();
    void changeFontChangesTheColour();
    void theFontDialogOffersTheColour();
    void outputFormatRedrawsOnlyOnOk();
    void activationRedrawsWithTheActiveBook();
    void printerSetupRunsTheFrameCommandThenRedraws();
    void printWritesEveryPageOfTheBook();
    void cancelledPrintDialogPrintsNothing();
    void aPrintJobThatCannotStartIsReported();
    void copiesArePrintedWhenThePrinterCannotMakeThem_data();
    void copiesArePrintedWhenThePrinterCannotMakeThem();
    void pdfOutputIsOfferedTheBooksNameInTheFolderGiven();
    void altXCloses();
    void menuRunsTheCommandsOfTheButtons();
    void withSpellTextsItPagesThroughThePrintedPages();
};

void PrintPreviewTest::hasItsCaptionCommandsAndImage() {
    auto book = SampleBook(1, 1);
    Fixture f(book.get());
    TfrmPrintPreview& w = *f.preview;
    QCOMPARE(w.windowTitle(), QStringLiteral("Print Preview"));
    QCOMPARE(w.property("helpTopic").toInt(), 200);
    QCOMPARE(w.size(), QSize(714, 668));
    const QList<QPushButton*> buttons = {w.bnFont, w.bnFormat, w.bnPrinterSetup, w.bnPrint,
                                         w.bnExit};
    const QStringList buttonCaptions = {"Change Font", "Output Format", "Printer Setup", "Print",
                                        "E&xit"};
    for (int i = 0; i < buttons.size(); ++i) QCOMPARE(buttons[i]->text(), buttonCaptions[i]);
    auto* menuBar = w.findChild<QMenuBar*>();
    QVERIFY(menuBar);
    QStringList menus;
    for (QAction* a : menuBar->actions()) menus << a->text();
    QCOMPARE(menus, (QStringList{"&Font", "F&ormat", "Printer &Setup", "&Print", "E&xit"}));
    QCOMPARE(w.imgPreview->size(), QSize(551, 442));
    QCOMPARE(f.bookRequests, 0); // nothing is drawn before the window is activated
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    for (int i = 1; i < buttons.size(); ++i) {
        QVERIFY2(buttons[i - 1]->x() < buttons[i]->x(), "the bar runs left to right");
        QCOMPARE(buttons[i]->y(), buttons[0]->y());
    }
    QVERIFY2(w.bnFont->y() < w.sbPreview->y(), "the bar stands above the preview");
}

void PrintPreviewTest::drawsTheBookOnlyInsideTheImage() {
    auto book = SampleBook(9, 40); // far more than the image holds
    Fixture f(book.get());
    f.preview->RenderPreview();
    const QImage& image = f.preview->PreviewImage();
    QCOMPARE(image.size(), QSize(551, 442));
    const QRect ink = Ink(image);
    QVERIFY(!ink.isEmpty());
    QVERIFY2(ink.top() < 5 && ink.left() < 5, "the pen starts at the top-left corner");
    QVERIFY2(ink.bottom() > 400, "a long book fills the image down to its bottom edge");
    QCOMPARE(f.preview->imgPreview->pixmap().toImage().convertToFormat(image.format()), image);

    f.book = nullptr; // no active spellbook: a blank picture
    f.preview->RenderPreview();
    QVERIFY(Ink(f.preview->PreviewImage()).isEmpty());
}

void PrintPreviewTest::changeFontChangesTheRendering() {
    auto book = SampleBook(2, 3);
    Fixture f(book.get());
    f.preview->RenderPreview();
    const QImage before = f.preview->PreviewImage();
    const QRect inkBefore = Ink(before);

    // Cancel changes nothing.
    f.prompter.ChooseFont([](QFont& font) {
        font.setPointSize(40);
        return false;
    });
    f.preview->bnFont->click();
    QCOMPARE(f.format.Font.Height, 17);
    QCOMPARE(f.preview->PreviewImage(), before);

    QString presetFamily;
    double presetPoints = 0;
    f.prompter.ChooseFont([&](QFont& font) {
        presetFamily = font.family();
        presetPoints = font.pointSizeF();
        font.setPointSize(24);
        font.setBold(true);
        return true;
    });
    f.preview->bnFont->click();
    f.prompter.VerifyDone();
    QCOMPARE(presetFamily, QFontDatabase::systemFont(QFontDatabase::GeneralFont).family());
    QCOMPARE(presetPoints, 12.75); // 17 pixels at 96 dots per inch
    QCOMPARE(f.format.Font.Height, 32);
    QVERIFY(f.format.Font.Bold);
    const QRect inkAfter = Ink(f.preview->PreviewImage());
    QVERIFY2(inkAfter.height() > inkBefore.height() && inkAfter.width() > inkBefore.width(),
             "a larger font draws a larger book");
}

// Pixels of the image whose colour is `colour`, give or take the smoothing of the edges.
int PixelsOf(const QImage& image, QColor colour) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (std::abs(c.red() - colour.red()) < 40 &&
                std::abs(c.green() - colour.green()) < 40 &&
                std::abs(c.blue() - colour.blue()) < 40)
                ++count;
        }
    return count;
}

void PrintPreviewTest::changeFontChangesTheColour() {
    auto book = SampleBook(2, 3);
    Fixture f(book.get());
    const QColor red(200, 0, 0);
    f.preview->RenderPreview();
    QCOMPARE(PixelsOf(f.preview->PreviewImage(), red), 0);

    // Cancel keeps the system's text colour.
    f.prompter.ChooseFont([&](QFont&, QColor& colour) {
        colour = red;
        return false;
    });
    f.preview->bnFont->click();
    QVERIFY(f.format.Font.SystemTextColour);

    QColor preset;
    f.prompter.ChooseFont([&](QFont&, QColor& colour) {
        preset = colour;
        colour = red;
        return true;
    });
    f.preview->bnFont->click();
    f.prompter.VerifyDone();
    QCOMPARE(preset, QGuiApplication::palette().color(QPalette::WindowText));
    QVERIFY(!f.format.Font.SystemTextColour);
    QCOMPARE(f.format.Font.Colour, red.rgb() & 0xFFFFFFu);
    QVERIFY(PixelsOf(f.preview->PreviewImage(), red) > 50);

    // The dialog opens with the colour chosen before.
    f.prompter.ChooseFont([&](QFont&, QColor& colour) {
        preset = colour;
        return false;
    });
    f.preview->bnFont->click();
    QCOMPARE(preset, red);
}

void PrintPreviewTest::theFontDialogOffersTheColour() {
    FontColourDialog dialog(QFont(), QColor(Qt::blue));
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QVERIFY(dialog.bnColour->isVisible());
    QVERIFY(dialog.rect().contains(
        QRect(dialog.bnColour->mapTo(&dialog, QPoint(0, 0)), dialog.bnColour->size())));
    QCOMPARE(dialog.Colour(), QColor(Qt::blue));
    // OK still gives the font dialog's font.
    dialog.setCurrentFont(QFont(QStringLiteral("Serif"), 20));
    dialog.accept();
    QCOMPARE(dialog.selectedFont().pointSize(), 20);
}

void PrintPreviewTest::outputFormatRedrawsOnlyOnOk() {
    auto book = SampleBook(1, 3);
    Fixture f(book.get());
    f.preview->RenderPreview();
    const QImage plain = f.preview->PreviewImage();

    f.prompter.Exec<TfrmPrintFormat>([](auto& form) { form.cbCategory->click(); }, true);
    f.preview->bnFormat->click();
    QCOMPARE(f.prompter.Last().text, QStringLiteral("Output Format"));
    QVERIFY(f.format.IncludeCategory);
    const QImage withCategory = f.preview->PreviewImage();
    QVERIFY(withCategory != plain);
    QVERIFY2(Ink(withCategory).width() > Ink(plain).width(), "the category lengthens the line");

    // Cancel keeps the change in the settings but does not draw again.
    f.prompter.Exec<TfrmPrintFormat>([](auto& form) { form.cbCategory->click(); }, false);
    f.preview->bnFormat->click();
    f.prompter.VerifyDone();
    QVERIFY(!f.format.IncludeCategory);
    QCOMPARE(f.preview->PreviewImage(), withCategory);
    f.preview->RenderPreview();
    QCOMPARE(f.preview->PreviewImage(), plain);
}

void PrintPreviewTest::activationRedrawsWithTheActiveBook() {
    auto book = SampleBook(1, 2);
    Fixture f(book.get());
    f.preview->show();
    f.preview->activateWindow();
    QTRY_VERIFY(f.preview->isActiveWindow());
    QTRY_VERIFY(f.bookRequests >= 1);
    QVERIFY(!Ink(f.preview->PreviewImage()).isEmpty());

    // Away and back: the book is taken again, with the settings as they stand.
    const QImage first = f.preview->PreviewImage();
    QWidget other;
    other.show();
    other.activateWindow();
    QTRY_VERIFY(other.isActiveWindow());
    f.format.Columns = 1;
    const int requests = f.bookRequests;
    f.preview->activateWindow();
    QTRY_VERIFY(f.preview->isActiveWindow());
    QTRY_VERIFY(f.bookRequests > requests);
    QVERIFY(f.preview->PreviewImage() != first);
}

void PrintPreviewTest::printerSetupRunsTheFrameCommandThenRedraws() {
    auto book = SampleBook(1, 2);
    Fixture f(book.get());
    f.preview->bnPrinterSetup->click();
    QCOMPARE(f.setups, 1);
    QCOMPARE(f.bookRequests, 1);
    QVERIFY(!Ink(f.preview->PreviewImage()).isEmpty());
}

void PrintPreviewTest::printWritesEveryPageOfTheBook() {
    // Each level is a column block taller than a page, so it starts a page of
    // its own and is not split: the head block's page and one page a level.
    auto book = SampleBook(3, 90);
    Fixture f(book.get());
    f.format.Columns = 1;
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("book.pdf"));
    AnswerPdf(f.prompter, pdf);
    // Print from the spellbook window runs without the preview ever showing.
    QVERIFY(f.preview->PrintSpellbook());
    f.prompter.VerifyDone();
    QVERIFY(!f.preview->isVisible());
    QCOMPARE(PdfPageCount(pdf), 4);
    QCOMPARE(f.bookRequests, 1);

    // A small book in the single-line layout fits on one page.
    auto small = SampleBook(3, 5);
    f.book = small.get();
    f.format.Columns = 0;
    f.prompter.PrintDialog([&](QPrinter&) { return true; });
    QVERIFY(f.preview->PrintSpellbook());
    QCOMPARE(PdfPageCount(pdf), 1);
}

void PrintPreviewTest::cancelledPrintDialogPrintsNothing() {
    auto book = SampleBook(1, 2);
    Fixture f(book.get());
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("never.pdf"));
    f.prompter.PrintDialog([&](QPrinter& printer) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        return false;
    });
    f.preview->bnPrint->click();
    f.prompter.VerifyDone();
    QVERIFY(!QFile::exists(pdf));
    QCOMPARE(f.bookRequests, 0);
}

void PrintPreviewTest::aPrintJobThatCannotStartIsReported() {
    auto book = SampleBook(1, 2);
    Fixture f(book.get());
    QTemporaryDir dir;
    AnswerPdf(f.prompter, dir.filePath(QStringLiteral("missing/folder/book.pdf")));
    f.prompter.Message(Answer::Ok);
    QVERIFY(!f.preview->PrintSpellbook());
    f.prompter.VerifyDone();
    QCOMPARE(f.prompter.Last().kind, BoxKind::Error);
    QCOMPARE(f.prompter.Last().text, QStringLiteral("The print job could not be started."));
}

void PrintPreviewTest::copiesArePrintedWhenThePrinterCannotMakeThem_data() {
    QTest::addColumn<int>("copies");
    QTest::addColumn<bool>("collate");
    QTest::newRow("one") << 1 << true;
    QTest::newRow("three collated") << 3 << true;
    QTest::newRow("two uncollated") << 2 << false;
}

void PrintPreviewTest::copiesArePrintedWhenThePrinterCannotMakeThem() {
    QFETCH(int, copies);
    QFETCH(bool, collate);
    // The head block's page and one page for each of three levels.
    auto book = SampleBook(3, 90);
    Fixture f(book.get());
    f.format.Columns = 1;
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("copies.pdf"));
    AnswerPdf(f.prompter, pdf, copies, collate);
    QVERIFY(f.preview->PrintSpellbook());
    QVERIFY(!f.printer.supportsMultipleCopies());
    QCOMPARE(PdfPageCount(pdf), 4 * copies);
}

void PrintPreviewTest::pdfOutputIsOfferedTheBooksNameInTheFolderGiven() {
    auto book = SampleBook(1, 2);
    Fixture f(book.get());
    QTemporaryDir dir;
    const QString folder = dir.path() + QStringLiteral("/data/");
    QVERIFY(QDir().mkpath(folder));
    f.printer.setOutputFormat(QPrinter::PdfFormat);
    f.preview->SetSuggestedPdf(
        SuggestedPdfPath(QStringLiteral("C:\\Books\\Mordenkainen.SPB"), folder));
    QString offered;
    f.prompter.PrintDialog([&](QPrinter& printer) {
        offered = printer.outputFileName();
        return true;
    });
    QVERIFY(f.preview->PrintSpellbook());
    QCOMPARE(offered, folder + QStringLiteral("Mordenkainen.pdf"));
    QCOMPARE(PdfPageCount(offered), 1);

    // Other captions: a Linux path, a new book.
    QCOMPARE(SuggestedPdfPath(QStringLiteral("/home/me/Books/Zarinth.v2.SPB"), folder),
             folder + QStringLiteral("Zarinth.v2.pdf"));
    QCOMPARE(SuggestedPdfPath(QStringLiteral("untitled"), folder),
             folder + QStringLiteral("untitled.pdf"));
}

void PrintPreviewTest::altXCloses() {
    auto book = SampleBook(1, 2);
    Fixture f(book.get());
    f.preview->show();
    f.preview->activateWindow();
    QTRY_VERIFY(f.preview->isActiveWindow());
    QTest::keyClick(f.preview.get(), Qt::Key_X, Qt::AltModifier);
    QTRY_VERIFY(!f.preview->isVisible());
}

void PrintPreviewTest::menuRunsTheCommandsOfTheButtons() {
    auto book = SampleBook(1, 2);
    Fixture f(book.get());
    auto trigger = [&](const char* name) {
        auto* action = f.preview->findChild<QAction*>(QString::fromLatin1(name));
        QVERIFY2(action, name);
        action->trigger();
    };
    using vellumar::test::PromptType;
    f.prompter.ChooseFont([](QFont&) { return false; });
    trigger("mnuFont");
    QCOMPARE(f.prompter.Last().type, PromptType::ChooseFont);
    f.prompter.Exec({}, false);
    trigger("mnuFormat");
    QCOMPARE(f.prompter.Last().type, PromptType::Exec);
    trigger("mnuPrinterSetup");
    QCOMPARE(f.setups, 1);
    f.prompter.PrintDialog([](QPrinter&) { return false; });
    trigger("mnuPrint");
    QCOMPARE(f.prompter.Last().type, PromptType::PrintDialog);
    f.prompter.VerifyDone();
    f.preview->show();
    trigger("mnuExit");
    QTRY_VERIFY(!f.preview->isVisible());
}

void PrintPreviewTest::withSpellTextsItPagesThroughThePrintedPages() {
    auto book = SampleBook(3, 8);
    SpellTexts texts;
    SpellText text;
    text.Description.assign(5, "A paragraph that is long enough to wrap over two lines of a page.");
    for (book->First(); book->CurrentSpell(); book->Next())
        texts.Set(book->CurrentLevel(), book->CurrentName(), text);
    Fixture f(book.get());
    TfrmPrintPreview& w = *f.preview;
    f.texts = &texts;
    f.format.IncludeSpellTexts = true;
    RingFocusedViews(w);
    w.show();
    QVERIFY(vellumar::test::GiveFocus(w.sbPreview)); // activated: drawn
    const int pages = w.PageCount();
    QVERIFY(pages > 3 && !w.bnPreviousPage->isEnabled());
    QVERIFY2(!w.sbPreview->horizontalScrollBar()->isVisible(), "the page fits the width");

    // Keys and buttons turn the pages; the ring stays on the focused page.
    const QImage first = w.PreviewImage();
    QTest::keyClick(&w, Qt::Key_PageDown);
    QCOMPARE(w.lblPage->text(), QStringLiteral("Page 2 of %1").arg(pages));
    QVERIFY(w.PreviewImage() != first);
    const QImage edge = w.sbPreview->grab().toImage();
    QCOMPARE(edge.pixelColor(0, edge.height() / 2), w.palette().color(QPalette::Highlight));
    QTest::keyClick(&w, Qt::Key_End);
    QTest::keyClick(&w, Qt::Key_V, Qt::AltModifier); // clicks, a moment later
    QTRY_COMPARE(w.Page(), pages - 2);
    QTest::keyClick(&w, Qt::Key_Home);
    w.bnNextPage->click();
    QCOMPARE(w.Page(), 1);

    // The pages are Print's; drawn again, the preview stays on its page while it is there.
    QTemporaryDir dir;
    AnswerPdf(f.prompter, dir.filePath(QStringLiteral("book.pdf")));
    QVERIFY(w.PrintSpellbook());
    w.RenderPreview();
    QCOMPARE(PdfPageCount(dir.filePath(QStringLiteral("book.pdf"))), w.PageCount());
    QCOMPARE(w.Page(), 1);
    auto small = SampleBook(1, 1);
    f.book = small.get();
    w.RenderPreview();
    QCOMPARE(w.lblPage->text(), QStringLiteral("Page 1 of 1"));

    // Without spell texts, the single picture again.
    f.format.IncludeSpellTexts = false;
    w.RenderPreview();
    QVERIFY(!w.pnlPages->isVisible() && w.PageCount() == 0);
    QCOMPARE(w.imgPreview->size(), QSize(551, 442));
}

QTEST_MAIN(PrintPreviewTest)
#include "print_preview_window_test.moc"
