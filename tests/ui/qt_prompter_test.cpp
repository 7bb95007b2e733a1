// The message boxes of the running program and of unattended runs: which
// buttons each set shows, and what each button, Esc or Enter answers.

#include "platform/qt/qt_prompter.h"
#include "platform/qt/standard_error_prompter.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <cstdio>
#include <functional>

using namespace vellumar;

Q_DECLARE_METATYPE(vellumar::BoxButtons)
Q_DECLARE_METATYPE(vellumar::Answer)

namespace {

QStringList ButtonTexts(const QMessageBox& box) {
    QStringList texts;
    for (QAbstractButton* button : box.buttons()) texts << button->text().remove(QLatin1Char('&'));
    texts.sort();
    return texts;
}

// Shows a box through the prompter and lets `act` work on it once it is up.
Answer Show(BoxButtons buttons, QStringList& texts, const std::function<void(QMessageBox&)>& act) {
    QtPrompter prompter(QStringLiteral("Vellumar 95"));
    bool acted = false;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box || acted) return;
        acted = true;
        texts = ButtonTexts(*box);
        act(*box);
    });
    poll.start(5);
    return prompter.Message(nullptr, BoxKind::Information, buttons, QStringLiteral("text"));
}

QAbstractButton* ButtonNamed(QMessageBox& box, const QString& text) {
    for (QAbstractButton* button : box.buttons())
        if (button->text().remove(QLatin1Char('&')) == text) return button;
    return nullptr;
}

} // namespace

class QtPrompterTest : public QObject {
    Q_OBJECT

private slots:
    void buttonsAndAnswers_data() {
        QTest::addColumn<BoxButtons>("buttons");
        QTest::addColumn<QString>("press"); // a button's text, or "Esc" / "Enter"
        QTest::addColumn<Answer>("answer");
        QTest::addRow("OK to All") << BoxButtons::OkCancelAll << "OK to All" << Answer::OkToAll;
        QTest::addRow("Cancel All") << BoxButtons::OkCancelAll << "Cancel All" << Answer::CancelAll;
        QTest::addRow("OK beside the to All buttons")
            << BoxButtons::OkCancelAll << "OK" << Answer::Ok;
        QTest::addRow("Esc is Cancel beside Cancel All")
            << BoxButtons::OkCancelAll << "Esc" << Answer::Cancel;
        QTest::addRow("Enter is OK beside OK to All")
            << BoxButtons::OkCancelAll << "Enter" << Answer::Ok;
        QTest::addRow("OK of OK and Cancel") << BoxButtons::OkCancel << "OK" << Answer::Ok;
        QTest::addRow("Esc of OK and Cancel") << BoxButtons::OkCancel << "Esc" << Answer::Cancel;
        QTest::addRow("Esc of Yes and No") << BoxButtons::YesNo << "Esc" << Answer::No;
        QTest::addRow("Enter of Yes and No") << BoxButtons::YesNo << "Enter" << Answer::Yes;
        QTest::addRow("Enter where No is the default")
            << BoxButtons::YesNoDefaultNo << "Enter" << Answer::No;
        QTest::addRow("No of three") << BoxButtons::YesNoCancel << "No" << Answer::No;
        QTest::addRow("Esc of three") << BoxButtons::YesNoCancel << "Esc" << Answer::Cancel;
        QTest::addRow("OK alone") << BoxButtons::Ok << "Enter" << Answer::Ok;
    }
    void buttonsAndAnswers() {
        QFETCH(BoxButtons, buttons);
        QFETCH(QString, press);
        QFETCH(Answer, answer);
        QStringList texts;
        QString missing;
        const Answer given = Show(buttons, texts, [&](QMessageBox& box) {
            if (press == QLatin1String("Esc") || press == QLatin1String("Enter")) {
                QTest::keyClick(&box,
                                press == QLatin1String("Esc") ? Qt::Key_Escape : Qt::Key_Return);
            } else if (QAbstractButton* button = ButtonNamed(box, press)) {
                button->click();
            } else {
                missing = press;
                box.reject();
            }
        });
        QVERIFY2(missing.isEmpty(), qPrintable(missing));
        QCOMPARE(given, answer);
        if (buttons == BoxButtons::OkCancelAll)
            QCOMPARE(texts, (QStringList{"Cancel", "Cancel All", "OK", "OK to All"}));
    }

    // Nobody is there: the answer that changes nothing.
    void unattendedAnswers_data() {
        QTest::addColumn<BoxButtons>("buttons");
        QTest::addColumn<Answer>("answer");
        QTest::addRow("Ok") << BoxButtons::Ok << Answer::Ok;
        QTest::addRow("OkCancel") << BoxButtons::OkCancel << Answer::Cancel;
        QTest::addRow("YesNo") << BoxButtons::YesNo << Answer::No;
        QTest::addRow("YesNoDefaultNo") << BoxButtons::YesNoDefaultNo << Answer::No;
        QTest::addRow("YesNoCancel") << BoxButtons::YesNoCancel << Answer::Cancel;
        QTest::addRow("OkCancelAll") << BoxButtons::OkCancelAll << Answer::CancelAll;
    }
    void unattendedAnswers() {
        QFETCH(BoxButtons, buttons);
        QFETCH(Answer, answer);
        std::FILE* out = std::tmpfile();
        QVERIFY(out);
        StandardErrorPrompter prompter(QStringLiteral("Vellumar 95"), out);
        QCOMPARE(prompter.Message(nullptr, BoxKind::Information, buttons, QStringLiteral("text")),
                 answer);
        std::fclose(out);
    }
};

QTEST_MAIN(QtPrompterTest)
#include "qt_prompter_test.moc"
