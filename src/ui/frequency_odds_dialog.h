#pragma once
// The Spell Frequency Odds dialog: edits the program's selection odds in place
// and stores them in the settings file on OK.

#include "rules/odds.h"

#include <QDialog>
#include <array>
#include <cstdint>
#include <functional>
#include <string>

class QListWidget;
class QPushButton;
class QSpinBox;

namespace vellumar {

class Prompter;

class FileStatus;

// Stores the odds of one entry: whether the settings file was written, and if not why.
using WriteOddsSetting = std::function<FileStatus(size_t entry, int32_t value)>;

class TfrmFrequencyOdds : public QDialog {
    Q_OBJECT
public:
    TfrmFrequencyOdds(FrequencyOddsTable& odds, const FrequencyOddsTable& defaults,
                      WriteOddsSetting writeOdds, QString settingsPath, Prompter& prompter,
                      QWidget* parent = nullptr);

    QListWidget* lbFrequency = nullptr;
    QSpinBox* spnOdds = nullptr;
    QPushButton* bnDefault = nullptr;
    QPushButton* bnOK = nullptr;

private:
    int SelectedEntry() const;
    void lbFrequencyClick();
    void spnOddsChange(const QString& text);
    void bnDefaultClick();
    void bnOKClick();

    FrequencyOddsTable& odds_;
    const FrequencyOddsTable defaults_;
    WriteOddsSetting writeOdds_;
    QString settingsPath_;
    Prompter& prompter_;
};

// Creates the dialog for one use and shows it modally.
void ShowFrequencyOdds(FrequencyOddsTable& odds, const FrequencyOddsTable& defaults,
                       WriteOddsSetting writeOdds, const QString& settingsPath, Prompter& prompter,
                       QWidget* parent);

} // namespace vellumar
