#pragma once
// Edits a master list spell's rules text: the short fields, the components,
// the ritual and concentration marks, and the paragraphs as plain text. Opened
// by "Details..." in the spell edit dialog; it edits a copy, read back on OK.

#include "model/spell_text.h"

#include <QDialog>
#include <QString>
#include <string>
#include <vector>

class QCheckBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace vellumar {

// Paragraphs as one plain text: a blank line between paragraphs, the rows of
// a table ("|" paragraphs in a row) one a line.
QString ParagraphsText(const std::vector<std::string>& paragraphs);
// And back: each run of lines is a paragraph, a line starting with "|" a
// paragraph (a table row) of its own.
std::vector<std::string> TextParagraphs(const QString& text);

class TfrmSpellDetails : public QDialog {
    Q_OBJECT
public:
    explicit TfrmSpellDetails(QWidget* parent = nullptr);

    // The title names the spell, as the spell edit dialog shows its name.
    void SetSpellName(const QString& name);
    void LoadTextIntoDialog(const SpellText& text);
    // The loaded text with the fields as the dialog holds them; a field left
    // as it was loaded gives back the loaded value unchanged.
    SpellText ReadTextFromDialog() const;

    QLineEdit* ebSchool;
    QLineEdit* ebCastingTime;
    QLineEdit* ebRange;
    QCheckBox* cbVerbal;
    QCheckBox* cbSomatic;
    QCheckBox* cbMaterial;
    QLineEdit* ebMaterial;
    QLineEdit* ebDuration;
    QCheckBox* cbRitual;
    QCheckBox* cbConcentration;
    QPlainTextEdit* memDescription;
    QPlainTextEdit* memHigherLevels;
    QPushButton* bnOK = nullptr;
    QPushButton* bnCancel = nullptr;

private:
    // "At Higher Levels" as tall as its text, within a few lines; the
    // description takes the rest.
    void FitHigherLevels();

    SpellText loaded_;
};

} // namespace vellumar
