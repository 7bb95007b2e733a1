// A dark colour scheme: every window's text stays readable against its
// background, and the preview and printout stay black on white paper.

#include "output/qt/print_preview_window.h"
#include "platform/qt/help_viewer.h"
#include "support/app_harness.h"
#include "support/focus_moves.h"
#include "ui/frame_window.h"
#include "ui/master_list_window.h"
#include "ui/spell_book_window.h"
#include "ui/spell_card_view.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QTest>
#include <QTextEdit>
#include <QToolButton>
#include <algorithm>
#include <cmath>

using namespace vellumar;
using namespace vellumar::test;

namespace {

QPalette DarkPalette() {
    QPalette dark;
    const QColor light(0xF0, 0xF0, 0xF0);
    dark.setColor(QPalette::Window, QColor(0x2D, 0x2D, 0x2D));
    dark.setColor(QPalette::WindowText, light);
    dark.setColor(QPalette::Base, QColor(0x1E, 0x1E, 0x1E));
    dark.setColor(QPalette::AlternateBase, QColor(0x2D, 0x2D, 0x2D));
    dark.setColor(QPalette::Text, light);
    dark.setColor(QPalette::Button, QColor(0x3C, 0x3C, 0x3C));
    dark.setColor(QPalette::ButtonText, light);
    dark.setColor(QPalette::Highlight, QColor(0x2A, 0x82, 0xDA));
    dark.setColor(QPalette::HighlightedText, Qt::white);
    dark.setColor(QPalette::ToolTipBase, QColor(0x3C, 0x3C, 0x3C));
    dark.setColor(QPalette::ToolTipText, light);
    return dark;
}

double Luminance(const QColor& colour) {
    auto channel = [](double value) {
        return value <= 0.03928 ? value / 12.92 : std::pow((value + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(colour.redF()) + 0.7152 * channel(colour.greenF()) +
           0.0722 * channel(colour.blueF());
}

// The contrast ratio of two colours, from 1 (the same) to 21 (black on white).
double Contrast(const QColor& a, const QColor& b) {
    const double la = Luminance(a);
    const double lb = Luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// The pair of roles a widget draws its text and background in.
std::pair<QPalette::ColorRole, QPalette::ColorRole> TextRoles(const QWidget& widget) {
    if (qobject_cast<const QLineEdit*>(&widget) ||
        qobject_cast<const QAbstractItemView*>(&widget) ||
        qobject_cast<const QAbstractSpinBox*>(&widget) || qobject_cast<const QTextEdit*>(&widget))
        return {QPalette::Text, QPalette::Base};
    if (qobject_cast<const QComboBox*>(&widget))
        return static_cast<const QComboBox&>(widget).isEditable()
                   ? std::pair{QPalette::Text, QPalette::Base}
                   : std::pair{QPalette::ButtonText, QPalette::Button};
    if (qobject_cast<const QAbstractButton*>(&widget) &&
        !qobject_cast<const QToolButton*>(&widget) && !widget.inherits("QRadioButton") &&
        !widget.inherits("QCheckBox"))
        return {QPalette::ButtonText, QPalette::Button};
    return {widget.foregroundRole(), widget.backgroundRole()};
}

bool ShowsText(const QWidget& widget) {
    return qobject_cast<const QLabel*>(&widget) || qobject_cast<const QLineEdit*>(&widget) ||
           qobject_cast<const QAbstractItemView*>(&widget) ||
           qobject_cast<const QAbstractSpinBox*>(&widget) ||
           qobject_cast<const QTextEdit*>(&widget) || qobject_cast<const QComboBox*>(&widget) ||
           qobject_cast<const QAbstractButton*>(&widget) || qobject_cast<const QGroupBox*>(&widget);
}

// Every enabled widget of `window` that shows text, whose text does not
// stand out from its background.
QStringList Unreadable(const QWidget& window) {
    QStringList found;
    QList<const QWidget*> widgets{&window};
    for (const QWidget* child : window.findChildren<QWidget*>()) widgets << child;
    for (const QWidget* widget : widgets) {
        if (!ShowsText(*widget) || !widget->isEnabled()) continue;
        const auto [text, background] = TextRoles(*widget);
        const QPalette& palette = widget->palette();
        const double ratio = Contrast(palette.color(QPalette::Active, text),
                                      palette.color(QPalette::Active, background));
        if (ratio < 4.5)
            found << QStringLiteral("%1 '%2' in %3: %4")
                         .arg(QString::fromLatin1(widget->metaObject()->className()),
                              widget->objectName(), window.objectName(),
                              QString::number(ratio, 'f', 2));
    }
    return found;
}

} // namespace

class DarkSchemeTest : public HarnessTest {
    Q_OBJECT
    QPalette before_;

    TfrmSpellBook& OpenBook() {
        const QString path = h->home.Write(
            QStringLiteral("book.spb"),
            SpellbookV4(5, 12, "Generalist", 'C', {"1,\"Sleep\",\"Core\",7,\"C\",\"e/c\""}));
        if (!h->Frame().OpenSpellbookFile(path))
            QTest::qFail("book not opened", __FILE__, __LINE__);
        return *h->ActiveSpellBook();
    }

private slots:
    void init() {
        before_ = QApplication::palette();
        QApplication::setPalette(DarkPalette());
        HarnessTest::init();
        h->UseSampleMasterList();
        h->Start();
    }
    void cleanup() {
        HarnessTest::cleanup();
        QApplication::setPalette(before_);
    }

    // Every window made at start-up or by opening a book, shown or hidden.
    void everyWindowsTextIsReadable() {
        OpenBook();
        h->Frame().mnuViewMasterListClick();
        QStringList problems;
        for (QWidget* window : QApplication::topLevelWidgets()) problems << Unreadable(*window);
        QVERIFY2(problems.isEmpty(), qPrintable(problems.join(QLatin1Char('\n'))));
    }

    // A window made in a light scheme follows a later switch to a dark one.
    void windowsFollowASwitchOfScheme() {
        TfrmSpellBook& window = OpenBook();
        QApplication::setPalette(before_);
        QApplication::setPalette(DarkPalette());
        QVERIFY2(Unreadable(window).isEmpty(), qPrintable(Unreadable(window).join('\n')));
    }

    // The help window's find field turns pale red when nothing is found; its
    // text must stay readable there too.
    void helpFindFieldStaysReadable_data() {
        QTest::addColumn<QString>("words");
        QTest::addColumn<bool>("found");
        QTest::newRow("found") << QStringLiteral("scroll") << true;
        QTest::newRow("not found") << QStringLiteral("no such words anywhere") << false;
    }
    void helpFindFieldStaysReadable() {
        QFETCH(QString, words);
        QFETCH(bool, found);
        HelpViewer& help = h->Context().Help();
        help.SetHelpFile(QStringLiteral(VELLUMAR_SOURCE_DIR "/resources/Vellumar.HLP"));
        QVERIFY(help.ShowTopic(1));
        help.ebFind->setText(words);
        QCOMPARE(help.FindNext(), found);
        QVERIFY2(Unreadable(*help.ebFind).isEmpty(),
                 qPrintable(Unreadable(*help.ebFind).join('\n')));
    }

    // A focused list, text pane or tool button is ringed in the scheme's highlight colour.
    void focusIsRinged_data() {
        QTest::addColumn<bool>("dark");
        QTest::addColumn<int>("control");
        for (const bool dark : {true, false})
            for (const int control : {0, 1, 2})
                QTest::addRow("%s %d", dark ? "dark" : "light", control) << dark << control;
    }
    void focusIsRinged() {
        QFETCH(bool, dark);
        QFETCH(int, control);
        if (!dark) QApplication::setPalette(before_);
        TfrmSpellBook& book = OpenBook();
        h->Frame().mnuViewMasterListClick();
        QWidget* const controls[] = {book.lbSpells, book.memSpellText,
                                     h->Context().MasterListWindow()->bnAddToBook};
        QWidget* const target = controls[control];
        auto edge = [target] { // the ring is drawn over it
            const QImage image = target->grab().toImage();
            return image.pixelColor(0, image.height() / 2);
        };
        const QColor highlight = target->palette().color(QPalette::Highlight);
        QVERIFY(edge() != highlight);
        QVERIFY(GiveFocus(target));
        QCOMPARE(edge(), highlight);
    }

    // The preview draws black on white, as the printout does; a light text
    // colour of the scheme would leave the page blank.
    void previewDrawsDarkTextOnWhite() {
        TfrmSpellBook& window = OpenBook();
        int darkPixels = -1;
        QColor corner;
        h->prompter.Exec(
            [&](QDialog& dialog) {
                auto& preview = dynamic_cast<TfrmPrintPreview&>(dialog);
                preview.RenderPreview();
                const QImage image = preview.PreviewImage();
                corner = image.pixelColor(0, 0);
                darkPixels = 0;
                for (int y = 0; y < image.height(); ++y)
                    for (int x = 0; x < image.width(); ++x)
                        if (qGray(image.pixel(x, y)) < 64) ++darkPixels;
                QVERIFY2(Unreadable(preview).isEmpty(), qPrintable(Unreadable(preview).join('\n')));
            },
            false);
        window.mnuPrintPreviewClick();
        QCOMPARE(corner, QColor(Qt::white));
        QVERIFY(darkPixels > 0);
    }
};

QTEST_MAIN(DarkSchemeTest)
#include "dark_scheme_test.moc"
