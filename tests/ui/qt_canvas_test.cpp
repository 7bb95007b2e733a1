#include "output/qt/output_font.h"
#include "output/qt/qt_canvas.h"
#include "platform/qt/text_conversion.h"

#include <QFontDatabase>
#include <QImage>
#include <QPainter>
#include <QPrinter>
#include <QTemporaryDir>
#include <QTest>

using namespace vellumar;

class QtCanvasTest : public QObject {
    Q_OBJECT
private slots:
    void systemFaceIsThePlatformsGeneralFont();
    void printerKeepsThePointSizeAtItsResolution_data();
    void printerKeepsThePointSizeAtItsResolution();
    void chosenFontBecomesTheOutputFont();
};

void QtCanvasTest::systemFaceIsThePlatformsGeneralFont() {
    OutputFont font;
    QCOMPARE(OutputFontFamily(font),
             QFontDatabase::systemFont(QFontDatabase::GeneralFont).family());
    font.Face = "DejaVu Serif";
    QCOMPARE(OutputFontFamily(font), QStringLiteral("DejaVu Serif"));
    font.Height = 20;
    QCOMPARE(ToQFont(font, FontScale::Pixels).pixelSize(), 20);
    QCOMPARE(ToQFont(font, FontScale::Points).pointSizeF(), 15.0);
}

void QtCanvasTest::printerKeepsThePointSizeAtItsResolution_data() {
    QTest::addColumn<int>("dpi");
    QTest::addRow("96 dpi") << 96;
    QTest::addRow("300 dpi") << 300;
    QTest::addRow("1200 dpi") << 1200;
}

void QtCanvasTest::printerKeepsThePointSizeAtItsResolution() {
    QFETCH(int, dpi);
    OutputFont font;
    font.Face = "DejaVu Sans";
    font.Height = 40;

    QImage image(200, 100, QImage::Format_RGB32);
    QPainter imagePainter(&image);
    QtCanvas screen(imagePainter, FontScale::Pixels);
    screen.SetFont(font);
    const int screenHeight = screen.TextHeight("Mg");
    const int screenWidth = screen.TextWidth("Magic Missile");

    QTemporaryDir dir;
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(dir.filePath(QStringLiteral("metrics.pdf")));
    printer.setResolution(dpi);
    QPainter printerPainter;
    QVERIFY(printerPainter.begin(&printer));
    QtCanvas paper(printerPainter, FontScale::Points, &printer);
    paper.SetFont(font);
    const double scale = dpi / 96.0;
    QVERIFY2(qAbs(paper.TextHeight("Mg") - screenHeight * scale) <= 0.06 * screenHeight * scale + 1,
             qPrintable(
                 QStringLiteral("%1 vs %2").arg(paper.TextHeight("Mg")).arg(screenHeight * scale)));
    QVERIFY(qAbs(paper.TextWidth("Magic Missile") - screenWidth * scale) <=
            0.06 * screenWidth * scale + 1);
    QCOMPARE(paper.PageWidth(), printer.width());
    QCOMPARE(paper.PageHeight(), printer.height());
    QVERIFY(printerPainter.end());
}

void QtCanvasTest::chosenFontBecomesTheOutputFont() {
    OutputFont font;
    font.SystemTextColour = false;
    font.Colour = 0x123456;
    QFont chosen(QStringLiteral("DejaVu Serif"));
    chosen.setPointSizeF(9);
    chosen.setItalic(true);
    chosen.setUnderline(true);
    TakeChosenFont(chosen, font);
    QCOMPARE(font.Face, std::string("DejaVu Serif"));
    QCOMPARE(font.Height, 12);
    QVERIFY(font.Italic && font.Underline && !font.Bold && !font.StrikeOut);
    QCOMPARE(font.Colour, 0x123456u); // the font dialog has no colour to give
    QCOMPARE(OutputFontColour(font), QColor(0x12, 0x34, 0x56));
}

QTEST_MAIN(QtCanvasTest)
#include "qt_canvas_test.moc"
