#include "ui/specialty_maintenance_dialog.h"

#include "files/specialty_file.h"
#include "model/specialty.h"
#include "platform/qt/command_table.h"
#include "platform/qt/file_problem.h"
#include "platform/qt/help_topics.h"
#include "platform/qt/prompter.h"
#include "platform/qt/text_conversion.h"
#include "ui/specialty_name_dialog.h"

#include <QComboBox>
#include <QEvent>
#include <QFileInfo>
#include <QLabel>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace vellumar {
namespace {

const char* const CloseQuestion = "You have made changes to the specialty definitions.\r\n"
                                  "Do you wish to save the changes?\r\n"
                                  "\r\n"
                                  "(if you do not save the changes, they will remain\r\n"
                                  "in effect until you restart the application)";

QFont Bold(QFont font) {
    font.setBold(true);
    return font;
}

void LoadMemo(QPlainTextEdit* memo, const tStringList* lines) {
    QStringList text;
    if (lines)
        for (const std::string& line : *lines) text << ToQString(line);
    memo->setPlainText(text.join(QLatin1Char('\n')));
    memo->document()->setModified(false);
}

// Every line as typed, empty ones and blanks included; a final line break
// does not make one more line.
tStringList MemoLines(const QPlainTextEdit* memo) {
    QStringList lines = memo->toPlainText().split(QLatin1Char('\n'));
    if (lines.last().isEmpty()) lines.removeLast();
    tStringList out;
    out.reserve(size_t(lines.size()));
    for (const QString& line : lines) out.push_back(FromQString(line));
    return out;
}

} // namespace

TfrmSpecialtyMaintenance::TfrmSpecialtyMaintenance(Prompter& prompter, tSpecialtyList& table,
                                                   std::string specialtyFilePath,
                                                   std::function<void()> refillNewBookDialog,
                                                   std::function<void()> refillSpellbookWindows,
                                                   QWidget* parent, Built built)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      prompter_(prompter), table_(table), specialtyFilePath_(std::move(specialtyFilePath)),
      refillNewBookDialog_(std::move(refillNewBookDialog)),
      refillSpellbookWindows_(std::move(refillSpellbookWindows)) {
    setObjectName(QStringLiteral("frmSpecialtyMaintenance"));
    setWindowTitle(QStringLiteral("Specialty Maintenance"));
    setProperty("helpTopic", int(TopicSpecialties));
    if (built == Built::Now) Build();
}

// The controls, their fonts and the entries: nearly all the cost of the window.
void TfrmSpecialtyMaintenance::Build() {
    if (cbSpecialty) return;
    auto* menuBar = new QMenuBar(this);
    QMenu* const file = menuBar->addMenu(QStringLiteral("&File"));
    QMenu* const edit = menuBar->addMenu(QStringLiteral("&Edit"));

    auto* client = new QWidget;
    client->setFixedSize(467, 328);
    const QFont bold = Bold(font());

    auto* specialtyLabel = new QLabel(QStringLiteral("Specialty"), client);
    specialtyLabel->setFont(bold);
    specialtyLabel->setGeometry(16, 14, 64, 20);
    cbSpecialty = new QComboBox(client);
    cbSpecialty->setObjectName(QStringLiteral("cbSpecialty"));
    cbSpecialty->setFont(bold);
    cbSpecialty->setEditable(false);
    cbSpecialty->setMaxVisibleItems(16);
    cbSpecialty->setGeometry(84, 12, 220, 24);
    specialtyLabel->setBuddy(cbSpecialty);

    // A memo with its caption above it, starting at `left`.
    auto memo = [&](const QString& caption, const char* name, int left) {
        auto* label = new QLabel(caption, client);
        label->setFont(bold);
        label->setGeometry(left, 46, 209, 18);
        auto* edit = new QPlainTextEdit(client);
        edit->setObjectName(QString::fromLatin1(name));
        edit->setGeometry(left, 66, 209, 217);
        label->setBuddy(edit);
        edit->setFont(bold);
        edit->setLineWrapMode(QPlainTextEdit::NoWrap);
        edit->setTabChangesFocus(true);
        edit->installEventFilter(this);
        return edit;
    };
    memPreferred = memo(QStringLiteral("Preferred Spell Categories"), "memPreferred", 16);
    memProhibited = memo(QStringLiteral("Prohibited Spell Categories"), "memProhibited", 242);

    bnOK = new QPushButton(client);
    bnOK->setObjectName(QStringLiteral("bnOK"));
    bnOK->setGeometry((467 - 75) / 2, 292, 75, 27);
    bnOK->setAutoDefault(false);

    using W = TfrmSpecialtyMaintenance;
    // clang-format off
    const CommandActions actions = AddCommands<W>(*this, {
        {.place = file, .text = "&Save Changes", .handler = &W::mnuSaveChangesClick, .id = "mnuSaveChanges"},
        {.place = file, .text = "E&xit", .handler = &W::reject, .id = "mnuClose"},
        {.place = edit, .text = "&Change Specialty Name", .handler = &W::mnuEditSpecialtyNameClick, .id = "mnuEditSpecialtyName"},
        {.place = edit, .text = "&Add New Specialty", .handler = &W::mnuAddNewSpecialtyClick, .id = "mnuAddNewSpecialty"},
        {.place = edit, .text = "&Delete Specialty", .handler = &W::mnuDeleteSpecialtyClick, .id = "mnuDeleteSpecialty"},
        {.place = bnOK, .text = "OK", .handler = &W::bnOKClick},
    });
    // clang-format on
    mnuSaveChanges = actions.At("mnuSaveChanges");
    mnuClose = actions.At("mnuClose");
    mnuEditSpecialtyName = actions.At("mnuEditSpecialtyName");
    mnuAddNewSpecialty = actions.At("mnuAddNewSpecialty");
    mnuDeleteSpecialty = actions.At("mnuDeleteSpecialty");

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setMenuBar(menuBar);
    layout->addWidget(client);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(cbSpecialty, &QComboBox::currentIndexChanged, this, [this] { cbSpecialtyChange(); });

    FormCreate();
}

void TfrmSpecialtyMaintenance::bnOKClick() {
    // The button takes the focus first, so an edit in a text box is stored.
    bnOK->setFocus(Qt::MouseFocusReason);
    StoreEdits();
    accept();
}

int TfrmSpecialtyMaintenance::ShowModal() {
    Build();
    changedThisVisit_ = false;
    FormActivate();
    return prompter_.Exec(*this);
}

bool TfrmSpecialtyMaintenance::event(QEvent* e) {
    if (e->type() == QEvent::WindowActivate && cbSpecialty) FormActivate();
    return QDialog::event(e);
}

bool TfrmSpecialtyMaintenance::eventFilter(QObject* watched, QEvent* e) {
    if (e->type() == QEvent::FocusOut) {
        if (watched == memPreferred) memPreferredExit();
        if (watched == memProhibited) memProhibitedExit();
    }
    return QDialog::eventFilter(watched, e);
}

void TfrmSpecialtyMaintenance::FormCreate() {
    RefillDropDown();
    SelectEntry(0);
}

void TfrmSpecialtyMaintenance::FormActivate() {
    GoToShown();
}

void TfrmSpecialtyMaintenance::RefillDropDown() {
    const QSignalBlocker quiet(cbSpecialty);
    cbSpecialty->clear();
    for (const std::string& name : table_.SpecialtyNames()) cbSpecialty->addItem(ToQString(name));
}

void TfrmSpecialtyMaintenance::SelectEntry(int index) {
    {
        const QSignalBlocker quiet(cbSpecialty);
        cbSpecialty->setCurrentIndex(index < cbSpecialty->count() ? index : -1);
    }
    cbSpecialtyChange();
}

void TfrmSpecialtyMaintenance::GoToShown() {
    GoToEntry(cbSpecialty->currentIndex());
}

// The cursor is placed by position: names may repeat, and a search by name
// would land on the first of equal names.
void TfrmSpecialtyMaintenance::GoToEntry(int index) {
    table_.First();
    if (index < 0) {
        while (table_.HasCurrent()) table_.Next();
        return;
    }
    for (int i = 0; i < index && table_.HasCurrent(); ++i) table_.Next();
}

void TfrmSpecialtyMaintenance::cbSpecialtyChange() {
    // The selection can move without the focus leaving a text box (the mouse
    // wheel over the drop-down): keep the edit for the specialty it was made on.
    StoreEdits();
    loadedIndex_ = cbSpecialty->currentIndex();
    GoToShown();
    LoadMemo(memPreferred, table_.CurrentPreferred());
    LoadMemo(memProhibited, table_.CurrentProhibited());
    UpdateEnabled();
}

void TfrmSpecialtyMaintenance::UpdateEnabled() {
    const bool shown = cbSpecialty->currentIndex() >= 0 && table_.Count() > 0;
    cbSpecialty->setEnabled(table_.Count() > 0);
    memPreferred->setEnabled(shown);
    memProhibited->setEnabled(shown);
    mnuEditSpecialtyName->setEnabled(shown);
    mnuDeleteSpecialty->setEnabled(shown);
}

void TfrmSpecialtyMaintenance::memPreferredExit() {
    StoreMemo(memPreferred, &tSpecialtyList::CurrentPreferred);
}

void TfrmSpecialtyMaintenance::memProhibitedExit() {
    StoreMemo(memProhibited, &tSpecialtyList::CurrentProhibited);
}

void TfrmSpecialtyMaintenance::StoreMemo(QPlainTextEdit* memo,
                                         tStringList* (tSpecialtyList::*list)() const) {
    if (!memo->document()->isModified()) return;
    GoToEntry(loadedIndex_);
    if (tStringList* lines = (table_.*list)()) {
        *lines = MemoLines(memo);
        MarkChanged();
    }
    memo->document()->setModified(false);
}

// Menu commands and closing do not take the focus; without this an edit in
// progress would be lost when a command reloads the text boxes.
void TfrmSpecialtyMaintenance::StoreEdits() {
    memPreferredExit();
    memProhibitedExit();
}

bool TfrmSpecialtyMaintenance::mnuSaveChangesClick() {
    StoreEdits();
    // A file that is there but cannot be read (the built-in table stood in for
    // it) is the user's: writing the table over it asks first.
    if (const auto current = ReadSpecialtyFile(specialtyFilePath_);
        !current && QFileInfo(FromPath(specialtyFilePath_)).isFile() &&
        prompter_.Message(this, BoxKind::Confirmation, BoxButtons::YesNoDefaultNo,
                          QStringLiteral("The Specialty File\r\n") + FromPath(specialtyFilePath_) +
                              QStringLiteral("\r\ncould not be read. Do you wish to replace it?"),
                          QString(), FileProblemText(current.Status())) != Answer::Yes)
        return false;
    const FileStatus written = WriteSpecialtyFile(table_, specialtyFilePath_);
    GoToShown();
    if (!written) {
        prompter_.Message(this, BoxKind::Error, BoxButtons::Ok,
                          QStringLiteral("Unable to write to %1").arg(FromPath(specialtyFilePath_)),
                          QString(), FileProblemText(written));
        return false;
    }
    ReportSavedWithWarnings(prompter_, this, FromPath(specialtyFilePath_), written);
    table_.Modified = false;
    return true;
}

void TfrmSpecialtyMaintenance::mnuEditSpecialtyNameClick() {
    StoreEdits();
    GoToShown();
    tSpecialty* specialty = table_.CurrentSpecialty();
    if (!specialty) return;
    const int index = cbSpecialty->currentIndex();
    const auto name =
        AskSpecialtyName(prompter_, this, QStringLiteral("Change Specialty Name"),
                         QStringLiteral("Change the name of the specialty to..."), specialty->Name);
    if (!name) return;
    specialty->Name = *name; // as typed: empty, blank or repeated names are all accepted
    MarkChanged();
    RefillDropDown();
    SelectEntry(index);
}

void TfrmSpecialtyMaintenance::mnuAddNewSpecialtyClick() {
    StoreEdits();
    // "Specailty" is intended: the classic caption, kept letter for letter.
    const auto name =
        AskSpecialtyName(prompter_, this, QStringLiteral("Add Specailty"),
                         QStringLiteral("Enter the name of the new specialty..."), " ");
    // Nothing typed, or the preset blank left alone.
    if (!name || !(*name > std::string(" "))) return;
    table_.Append(std::make_unique<tSpecialty>(*name));
    MarkChanged();
    RefillDropDown();
    SelectEntry(cbSpecialty->count() - 1);
}

void TfrmSpecialtyMaintenance::mnuDeleteSpecialtyClick() {
    StoreEdits();
    GoToShown();
    if (!table_.HasCurrent()) return;
    const Answer answer =
        prompter_.Message(this, BoxKind::Confirmation, BoxButtons::OkCancel,
                          QStringLiteral("Are you sure you want to delete the %1 specialty?")
                              .arg(ToQString(table_.CurrentName())));
    if (answer != Answer::Ok) return;
    GoToShown();
    table_.DeleteCurrent();
    table_.First();
    MarkChanged();
    RefillDropDown();
    SelectEntry(0);
}

void TfrmSpecialtyMaintenance::MarkChanged() {
    table_.Modified = true;
    changedThisVisit_ = true;
}

bool TfrmSpecialtyMaintenance::FormCloseQuery() {
    // A change saved during this visit leaves the table unmodified, yet the
    // New Spellbook dialog must not go on offering what is gone.
    if ((table_.Modified || changedThisVisit_) && refillNewBookDialog_) refillNewBookDialog_();
    if (!table_.Modified) return true;
    switch (prompter_.Message(this, BoxKind::Confirmation, BoxButtons::YesNoCancel,
                              QString::fromLatin1(CloseQuestion))) {
    case Answer::Yes:
        // A save that failed keeps the window open, the changes still unsaved.
        return mnuSaveChangesClick();
    case Answer::No:
        return true; // the changes stay in effect until the program ends
    default:
        return false;
    }
}

void TfrmSpecialtyMaintenance::FormClose() {
    if (refillSpellbookWindows_) refillSpellbookWindows_();
}

void TfrmSpecialtyMaintenance::done(int result) {
    if (!cbSpecialty) { // never built, so nothing changed
        QDialog::done(result);
        return;
    }
    StoreEdits();
    if (!FormCloseQuery()) return;
    QDialog::done(result);
    FormClose();
}

} // namespace vellumar
