#include "model/spell.h"
#include "platform/program_settings.h"
#include "rules/odds.h"
#include "support/scripted_prompter.h"
#include "ui/frequency_odds_dialog.h"

#include <QApplication>
#include <QFocusEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <fstream>

using namespace vellumar;
using test::ScriptedPrompter;

namespace {

const FrequencyOddsTable Defaults{100, 20, 10, 5, 1};
const QString SettingsPath = QStringLiteral("/home/user/Vellumar/Vellumar.INI");

struct Write {
    std::string section, key;
    int32_t value;
    bool operator==(const Write&) const = default;
};

// Stores through the program's settings into a file of its own and records
// each write as the file then holds it: every key is new, so it is the last
// line, under the file's one section. Fails from the write numbered failAt
// (0-based) onwards.
struct SettingsSpy {
    QTemporaryDir dir;
    ProgramSettings file{dir.filePath(QStringLiteral("Vellumar.INI")).toStdString()};
    std::vector<Write> writes;
    int failAt = -1;
    WriteOddsSetting Writer() {
        return [this](size_t entry, int32_t value) {
            if (failAt >= 0 && int(writes.size()) >= failAt)
                return FileStatus(FileFailure::CannotWrite, "No space left on device");
            if (FileStatus written = file.SetOdds(entry, value); !written) return written;
            writes.push_back(Written());
            return FileStatus();
        };
    }
    Write Written() const {
        std::ifstream in(file.Path(), std::ios::binary);
        std::string line, section, last;
        while (std::getline(in, line)) {
            if (!line.empty() && line.back() == '\r') line.pop_back();
            if (line.empty()) continue;
            if (section.empty()) section = line;
            last = line;
        }
        const size_t equals = last.find('=');
        if (section.size() < 2 || equals == std::string::npos) return {};
        return {section.substr(1, section.size() - 2), last.substr(0, equals),
                std::stoi(last.substr(equals + 1))};
    }
};

QLineEdit* Field(TfrmFrequencyOdds& dialog) {
    return dialog.spnOdds->findChild<QLineEdit*>();
}

// Replaces the field's text keystroke by keystroke, as the user would.
void Type(TfrmFrequencyOdds& dialog, const QString& text) {
    QLineEdit* field = Field(dialog);
    field->selectAll();
    QTest::keyClick(field, Qt::Key_Backspace);
    QTest::keyClicks(field, text);
}

void LeaveField(TfrmFrequencyOdds& dialog) {
    QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(dialog.spnOdds, &out);
}

} // namespace

class FrequencyOddsTest : public QObject {
    Q_OBJECT
private slots:
    void opening();
    void selectionShowsOdds_data();
    void selectionShowsOdds();
    void typing_data();
    void typing();
    void defaultValuesResetAll();
    void closeBoxKeepsWithoutStoring();
    void failingWrite();
    void oneRowAlwaysSelected();
    void arrowStepsChangeTheOdds();
};

void FrequencyOddsTest::opening() {
    FrequencyOddsTable odds = Defaults;
    SettingsSpy settings;
    ScriptedPrompter prompter;
    prompter.Exec(
        [](QDialog& shown) {
            auto& dialog = dynamic_cast<TfrmFrequencyOdds&>(shown);
            QCOMPARE(dialog.windowTitle(), QStringLiteral("Spell Frequency Odds"));
            QCOMPARE(dialog.size(), QSize(288, 135));
            QCOMPARE(dialog.property("helpTopic").toInt(), 600);
            QVERIFY(dialog.windowFlags() & Qt::WindowCloseButtonHint);
            QVERIFY(!(dialog.windowFlags() & Qt::WindowMinMaxButtonsHint));
            QStringList rows;
            for (int i = 0; i < dialog.lbFrequency->count(); ++i)
                rows << dialog.lbFrequency->item(i)->text();
            QCOMPARE(rows, (QStringList{"Common", "Uncommon", "Rare", "Very Rare", "Restricted"}));
            QCOMPARE(dialog.lbFrequency->currentRow(), 0);
            QCOMPARE(dialog.spnOdds->value(), 1);
            QCOMPARE(dialog.spnOdds->minimum(), 1);
            QCOMPARE(dialog.spnOdds->maximum(), 32767);
            QCOMPARE(dialog.bnDefault->text(), QStringLiteral("&Default Values"));
            QVERIFY(dialog.bnOK->isDefault());
            for (QPushButton* button : dialog.findChildren<QPushButton*>())
                QVERIFY(button == dialog.bnOK || button == dialog.bnDefault);
        },
        false);
    ShowFrequencyOdds(odds, Defaults, settings.Writer(), SettingsPath, prompter, nullptr);
    prompter.VerifyDone();
    QVERIFY(settings.writes.empty());
}

void FrequencyOddsTest::selectionShowsOdds_data() {
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("shown");
    QTest::newRow("Common") << 0 << 1;
    QTest::newRow("Uncommon") << 1 << 5;
    QTest::newRow("Rare") << 2 << 10;
    QTest::newRow("Very Rare") << 3 << 20;
    QTest::newRow("Restricted") << 4 << 100;
}

void FrequencyOddsTest::selectionShowsOdds() {
    QFETCH(int, row);
    QFETCH(int, shown);
    FrequencyOddsTable odds = Defaults;
    SettingsSpy settings;
    ScriptedPrompter prompter;
    TfrmFrequencyOdds dialog(odds, Defaults, settings.Writer(), SettingsPath, prompter);
    dialog.lbFrequency->setCurrentRow(row);
    QCOMPARE(dialog.spnOdds->value(), shown);
    QCOMPARE(odds, Defaults); // looking changes nothing
}

void FrequencyOddsTest::typing_data() {
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("stored"); // in the odds and in the settings file
    QTest::newRow("Restricted 50") << 4 << "50" << 50;
    QTest::newRow("Common 0 to 1") << 0 << "0" << 1;
    QTest::newRow("Rare 40000 to 32767") << 2 << "40000" << 32767;
    QTest::newRow("Uncommon huge to 32767") << 1 << "123456789012345678901234" << 32767;
    QTest::newRow("Very Rare emptied to default") << 3 << "" << 20;
    QTest::newRow("Restricted emptied to default") << 4 << "" << 100;
}

void FrequencyOddsTest::typing() {
    QFETCH(int, row);
    QFETCH(QString, typed);
    QFETCH(int, stored);
    FrequencyOddsTable odds{7, 7, 7, 7, 7};
    SettingsSpy settings;
    ScriptedPrompter prompter;
    TfrmFrequencyOdds dialog(odds, Defaults, settings.Writer(), SettingsPath, prompter);
    dialog.lbFrequency->setCurrentRow(row);

    Type(dialog, typed);
    const size_t entry = size_t(4 - row);
    QCOMPARE(odds[entry], stored); // at once, before the field is left
    LeaveField(dialog);
    QCOMPARE(dialog.spnOdds->value(), stored);
    QCOMPARE(Field(dialog)->text(), QString::number(stored));
    QCOMPARE(odds[entry], stored);

    QTest::mouseClick(dialog.bnOK, Qt::LeftButton);
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    std::vector<Write> expected;
    const char* keys[] = {"Restricted", "Very Rare", "Rare", "Uncommon", "Common"};
    for (size_t i = 0; i < 5; ++i)
        expected.push_back({"SpellFrequencyOdds", keys[i], i == entry ? stored : 7});
    QCOMPARE(settings.writes, expected);
}

void FrequencyOddsTest::defaultValuesResetAll() {
    FrequencyOddsTable odds{3, 4, 5, 6, 9};
    SettingsSpy settings;
    ScriptedPrompter prompter;
    TfrmFrequencyOdds dialog(odds, Defaults, settings.Writer(), SettingsPath, prompter);
    dialog.lbFrequency->setCurrentRow(2);
    QCOMPARE(dialog.spnOdds->value(), 5);
    QTest::mouseClick(dialog.bnDefault, Qt::LeftButton);
    QCOMPARE(odds, Defaults);
    QCOMPARE(dialog.spnOdds->value(), 10);
    QVERIFY(settings.writes.empty());
}

// On odds as the random selection reads them.
void FrequencyOddsTest::closeBoxKeepsWithoutStoring() {
    FrequencyOddsTable odds = DefaultFrequencyOdds;
    SettingsSpy settings;
    ScriptedPrompter prompter;
    prompter.Exec(
        [](QDialog& shown) {
            auto& dialog = dynamic_cast<TfrmFrequencyOdds&>(shown);
            dialog.lbFrequency->setCurrentRow(4);
            QCOMPARE(dialog.spnOdds->value(), 100);
            Type(dialog, QStringLiteral("50"));
            dialog.close();
        },
        false);
    ShowFrequencyOdds(odds, DefaultFrequencyOdds, settings.Writer(), SettingsPath, prompter,
                      nullptr);
    prompter.VerifyDone();
    QCOMPARE(EffectiveOdds(odds, FrequencyRestricted), 50);
    QCOMPARE(odds, (FrequencyOddsTable{50, 20, 10, 5, 1}));
    QVERIFY(settings.writes.empty());
}

void FrequencyOddsTest::failingWrite() {
    FrequencyOddsTable odds{11, 12, 13, 14, 15};
    SettingsSpy settings;
    settings.failAt = 2; // Restricted and Very Rare are written, Rare fails
    ScriptedPrompter prompter;
    prompter.Message(Answer::Ok);
    TfrmFrequencyOdds dialog(odds, Defaults, settings.Writer(), SettingsPath, prompter);
    QTest::mouseClick(dialog.bnOK, Qt::LeftButton);
    prompter.VerifyDone();
    QCOMPARE(prompter.Last().kind, BoxKind::Error);
    QCOMPARE(prompter.Last().buttons, BoxButtons::Ok);
    QCOMPARE(prompter.Last().text,
             QStringLiteral("Unable to write to /home/user/Vellumar/Vellumar.INI"));
    QCOMPARE(prompter.Last().informative, QStringLiteral("No space left on device"));
    QCOMPARE(settings.writes, (std::vector<Write>{{"SpellFrequencyOdds", "Restricted", 11},
                                                  {"SpellFrequencyOdds", "Very Rare", 12}}));
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(odds, (FrequencyOddsTable{11, 12, 13, 14, 15}));
}

void FrequencyOddsTest::oneRowAlwaysSelected() {
    FrequencyOddsTable odds = Defaults;
    SettingsSpy settings;
    ScriptedPrompter prompter;
    TfrmFrequencyOdds dialog(odds, Defaults, settings.Writer(), SettingsPath, prompter);
    dialog.lbFrequency->setCurrentRow(3);
    dialog.lbFrequency->clearSelection();
    QCOMPARE(dialog.lbFrequency->selectedItems().size(), 1);
    QCOMPARE(dialog.lbFrequency->selectedItems().first()->text(), QStringLiteral("Very Rare"));
    QCOMPARE(dialog.spnOdds->value(), 20);
}

// The arrows (and the arrow keys) step the field without a keystroke in it.
void FrequencyOddsTest::arrowStepsChangeTheOdds() {
    FrequencyOddsTable odds = Defaults;
    SettingsSpy settings;
    ScriptedPrompter prompter;
    TfrmFrequencyOdds dialog(odds, Defaults, settings.Writer(), SettingsPath, prompter);
    dialog.lbFrequency->setCurrentRow(4); // Restricted
    dialog.spnOdds->stepUp();
    QCOMPARE(odds[0], 101);
    QTest::keyClick(dialog.spnOdds, Qt::Key_Down);
    QTest::keyClick(dialog.spnOdds, Qt::Key_Down);
    QCOMPARE(odds[0], 99);
    dialog.lbFrequency->setCurrentRow(0); // Common, already at the lower bound
    dialog.spnOdds->stepDown();
    QCOMPARE(odds[4], 1);
    QTest::mouseClick(dialog.bnOK, Qt::LeftButton);
    QCOMPARE(settings.writes.front(), (Write{"SpellFrequencyOdds", "Restricted", 99}));
}

QTEST_MAIN(FrequencyOddsTest)
#include "frequency_odds_dialog_test.moc"
