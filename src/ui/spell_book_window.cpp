#include "ui/spell_book_window.h"

#include "files/spell_file.h"
#include "model/specialty.h"
#include "model/spell_book.h"
#include "output/item_text.h"
#include "platform/qt/prompter.h"
#include "platform/qt/text_conversion.h"
#include "rules/caster_tables.h"
#include "rules/fill.h"
#include "ui/app_context.h"
#include "ui/frame_window.h"
#include "ui/frequency_names.h"
#include "ui/spin_edit.h"
#include "ui/working_box.h"

#include <QAction>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QComboBox>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QRadioButton>
#include <QToolBar>

namespace vellumar {
namespace {

const QString Untitled = QStringLiteral("untitled");
const QString Generalist = QStringLiteral("Generalist");
constexpr int ListTop = 160;

QFont PixelFont(const QFont& base, int pixels) {
    QFont font(base);
    font.setPixelSize(pixels);
    return font;
}

QLabel* Label(QWidget* parent, const QString& text, const QRect& frame, Qt::Alignment align) {
    auto* label = new QLabel(text, parent);
    label->setGeometry(frame);
    label->setAlignment(align | Qt::AlignVCenter);
    return label;
}

} // namespace

int SpellsPerDayFigure(const TSpellBook& book, int spellLevel) {
    const int value = SpellsPerDay(book.CasterLevel, spellLevel);
    return value != 0 && book.Specialty != "Generalist" ? value + 1 : value;
}

TfrmSpellBook::TfrmSpellBook(AppContext& context, QWidget* parent)
    : QWidget(parent), context_(context),
      book_(std::make_unique<TSpellBook>(MinCasterLevel, MinIntelligence, FrequencyCommon,
                                         "Generalist")) {
    setAttribute(Qt::WA_DeleteOnClose);
    setObjectName(QStringLiteral("frmSpellBook"));
    setProperty("helpTopic", int(TopicSpellBook));
    setFont(PixelFont(font(), 14));
    BuildControls();
    BuildCommands();
    SetCaption(Untitled);

    FillSpecialtyItems();
    cbWizardSpecialty->setEditText(Generalist);
    for (const char* name : FrequencyNamesCommonFirst()) cbSpellFrequency->addItem(name);
    cbSpellFrequency->setCurrentIndex(0);
    SetSpellLevel(1);
    grpSpellLevelClick();

    // Connected after the controls are filled, so that a new book starts unchanged.
    connect(spnWizardLevel, &SpinEdit::Changed, this, &TfrmSpellBook::spnWizardLevelChange);
    connect(spnWizardIntelligence, &SpinEdit::Changed, this,
            &TfrmSpellBook::spnWizardIntelligenceChange);
    connect(cbWizardSpecialty, &QComboBox::editTextChanged, this,
            &TfrmSpellBook::cbWizardSpecialtyChange);
    connect(cbSpellFrequency, &QComboBox::currentIndexChanged, this,
            &TfrmSpellBook::cbSpellFrequencyChange);
    connect(grpSpellLevel, &QButtonGroup::idClicked, this, &TfrmSpellBook::grpSpellLevelClick);
    cbWizardSpecialty->installEventFilter(this);
    resize(550, 539);
}

TfrmSpellBook::~TfrmSpellBook() = default;

void TfrmSpellBook::BuildControls() {
    const QFont small = PixelFont(font(), 12);
    tbSpellBook = new QToolBar(this);
    tbSpellBook->setObjectName(QStringLiteral("tbSpellBook"));
    tbSpellBook->setIconSize(QSize(28, 28));
    tbSpellBook->setMovable(false);
    tbSpellBook->setFloatable(false);

    Label(this, QStringLiteral("Wizard Level:"), {6, 55, 92, 20}, Qt::AlignRight)->setFont(small);
    spnWizardLevel = new SpinEdit(MinCasterLevel, MaxCasterLevel, this);
    spnWizardLevel->setGeometry(102, 51, 40, 26);

    Label(this, QStringLiteral("Intelligence:"), {171, 55, 81, 20}, Qt::AlignRight)->setFont(small);
    spnWizardIntelligence = new SpinEdit(MinIntelligence, MaxIntelligence, this);
    spnWizardIntelligence->setGeometry(256, 51, 39, 26);

    Label(this, QStringLiteral("Specialty:"), {7, 87, 66, 20}, Qt::AlignLeft)->setFont(small);
    cbWizardSpecialty = new QComboBox(this);
    cbWizardSpecialty->setEditable(true);
    cbWizardSpecialty->setInsertPolicy(QComboBox::NoInsert);
    cbWizardSpecialty->setMaxVisibleItems(9);
    cbWizardSpecialty->setGeometry(77, 83, 196, 26);

    // This label and its box keep the window's larger font.
    Label(this, QStringLiteral("Spell Frequency: "), {285, 87, 113, 20}, Qt::AlignLeft);
    cbSpellFrequency = new QComboBox(this);
    cbSpellFrequency->setGeometry(400, 83, 105, 26);

    auto* levels = new QGroupBox(QStringLiteral("Spell Level"), this);
    levels->setGeometry(6, 115, 334, 40);
    grpSpellLevel = new QButtonGroup(this);
    for (int level = MinSpellLevel; level <= MaxSpellLevel; ++level) {
        auto* button = new QRadioButton(QString::number(level), levels);
        button->setGeometry(8 + (level - 1) * 36, 16, 34, 20);
        grpSpellLevel->addButton(button, level);
    }

    Label(this, QStringLiteral("# per day:"), {370, 128, 72, 20}, Qt::AlignLeft)->setFont(small);
    ebSpellsPerDay = new QLineEdit(this);
    ebSpellsPerDay->setGeometry(445, 126, 26, 24);
    ebSpellsPerDay->setReadOnly(true);
    ebSpellsPerDay->setFocusPolicy(Qt::NoFocus);
    ebSpellsPerDay->setAlignment(Qt::AlignCenter);
    QFont bold = small;
    bold.setBold(true);
    ebSpellsPerDay->setFont(bold);
    QPalette grey = ebSpellsPerDay->palette();
    grey.setColor(QPalette::Base, QColor(0xC0, 0xC0, 0xC0));
    ebSpellsPerDay->setPalette(grey);

    lbSpells = new QListWidget(this);
    lbSpells->setSelectionMode(QAbstractItemView::ExtendedSelection);
    lbSpells->setGeometry(6, ListTop, 499, 241);

    for (QWidget* control : std::initializer_list<QWidget*>{spnWizardLevel, spnWizardIntelligence,
                                                            cbWizardSpecialty, levels, lbSpells})
        control->setFont(small);
    setTabOrder(spnWizardLevel, spnWizardIntelligence);
    setTabOrder(spnWizardIntelligence, cbWizardSpecialty);
    setTabOrder(cbWizardSpecialty, cbSpellFrequency);
    setTabOrder(cbSpellFrequency, grpSpellLevel->button(1));
    setTabOrder(grpSpellLevel->button(1), lbSpells);
}

void TfrmSpellBook::BuildCommands() {
    struct Command {
        QString text;
        QKeySequence key;
        void (TfrmSpellBook::*handler)();
        QString hint;
    };
    auto makeAction = [this](QObject* owner, const Command& command) {
        auto* action = new QAction(command.text, owner);
        action->setShortcut(command.key);
        if (!command.hint.isEmpty()) action->setStatusTip(command.hint);
        connect(action, &QAction::triggered, this, command.handler);
        return action;
    };

    mnuFile_ = new QMenu(QStringLiteral("&File"), this);
    const Command fileCommands[] = {
        {QStringLiteral("&New"), Qt::Key_F4, &TfrmSpellBook::mnuNewClick, {}},
        {QStringLiteral("&Open"), {}, &TfrmSpellBook::mnuOpenClick, {}},
        {QStringLiteral("&Save"), Qt::Key_F2, &TfrmSpellBook::mnuSaveClick, {}},
        {QStringLiteral("Save &As"), {}, &TfrmSpellBook::mnuSaveAsClick, {}},
        {QStringLiteral("&Close"),
         QKeySequence(Qt::CTRL | Qt::Key_F4),
         &TfrmSpellBook::mnuCloseClick,
         {}},
    };
    for (const Command& command : fileCommands) mnuFile_->addAction(makeAction(mnuFile_, command));
    mnuFile_->addSeparator();
    auto* printerSetup = new QAction(QStringLiteral("Printer Setup..."), mnuFile_);
    printerSetup->setStatusTip(QStringLiteral("Select and Configure Printer"));
    connect(printerSetup, &QAction::triggered, this,
            [this] { context_.Frame().mnuPrinterSetupClick(); });
    mnuFile_->addAction(printerSetup);
    mnuFile_->addSeparator();
    mnuFile_->addAction(
        makeAction(mnuFile_, {QStringLiteral("E&xit"), {}, &TfrmSpellBook::mnuExitClick, {}}));

    mnuEdit_ = new QMenu(QStringLiteral("&Edit"), this);
    mnuEdit_->addAction(makeAction(
        mnuEdit_, {QStringLiteral("&Fill Book"), {}, &TfrmSpellBook::mnuFillBookClick, {}}));

    pmnu_ = new QMenu(this);
    pmnu_->addAction(makeAction(
        pmnu_, {QStringLiteral("Save Spellbook"), {}, &TfrmSpellBook::mnuSaveClick, {}}));

    struct Button {
        const char* name;
        const char* icon;
        const char* hint;
        void (TfrmSpellBook::*handler)();
    };
    const Button buttons[] = {
        {"bnNew", ":/icons/new.svg", "New Spellbook", &TfrmSpellBook::mnuNewClick},
        {"bnOpen", ":/icons/open.svg", "Open Spellbook", &TfrmSpellBook::mnuOpenClick},
        {"bnSave", ":/icons/save.svg", "Save Spellbook", &TfrmSpellBook::mnuSaveClick},
        {nullptr, nullptr, nullptr, nullptr},
        {"bnBookFill", ":/icons/fill.svg", "Fill Spellbook", &TfrmSpellBook::mnuFillBookClick},
    };
    for (const Button& button : buttons) {
        if (!button.name) {
            tbSpellBook->addSeparator();
            continue;
        }
        QAction* action = tbSpellBook->addAction(QIcon(QString::fromLatin1(button.icon)),
                                                 QString::fromLatin1(button.hint));
        action->setObjectName(QString::fromLatin1(button.name));
        action->setToolTip(QString::fromLatin1(button.hint));
        connect(action, &QAction::triggered, this, button.handler);
    }
}

void TfrmSpellBook::FillSpecialtyItems() {
    const QSignalBlocker blocker(cbWizardSpecialty);
    const QString text = cbWizardSpecialty->currentText();
    cbWizardSpecialty->clear();
    cbWizardSpecialty->addItem(Generalist);
    for (const std::string& name : context_.SpecialtyTable().SpecialtyNames())
        cbWizardSpecialty->addItem(ToQString(name));
    cbWizardSpecialty->setEditText(text);
}

void TfrmSpellBook::ReplaceBook(std::unique_ptr<TSpellBook> book) {
    if (book) book_ = std::move(book);
}

void TfrmSpellBook::ShowBookParameters() {
    spnWizardLevel->setValue(book_->CasterLevel);
    spnWizardIntelligence->setValue(book_->Intelligence);
    // The book holds what the window shows, also where a file held a value
    // outside the fields' limits.
    book_->CasterLevel = spnWizardLevel->value();
    book_->Intelligence = spnWizardIntelligence->value();
    cbWizardSpecialty->setEditText(ToQString(book_->Specialty));
    cbSpellFrequency->setCurrentIndex(std::clamp(-book_->SpellFrequency, 0, FrequencyCount - 1));
    SetSpellLevel(1);
    grpSpellLevelClick();
}

void TfrmSpellBook::SetCaption(const QString& caption) {
    caption_ = caption;
    setWindowTitle(caption + QStringLiteral("[*]"));
}

void TfrmSpellBook::SetModified(bool modified) {
    book_->Modified = modified;
    setWindowModified(modified);
}

bool TfrmSpellBook::IsModified() const {
    return book_->Modified;
}

int TfrmSpellBook::SpellLevel() const {
    return std::max(grpSpellLevel->checkedId(), 1);
}

void TfrmSpellBook::SetSpellLevel(int level) {
    if (QAbstractButton* button = grpSpellLevel->button(level)) button->setChecked(true);
}

void TfrmSpellBook::grpSpellLevelClick() {
    const int level = SpellLevel();
    lbSpells->clear();
    const int count = book_->CountOfLevel(level);
    for (int k = 0; k < count; ++k)
        if (const tSpell* spell = book_->SpellAt(level, k))
            lbSpells->addItem(ToQString(SpellItemRow(*spell)));
    lbSpells->clearSelection();
    ebSpellsPerDay->setText(QString::number(SpellsPerDayFigure(*book_, level)));
    setWindowModified(book_->Modified);
}

void TfrmSpellBook::spnWizardLevelChange() {
    SetModified(true);
    book_->CasterLevel = spnWizardLevel->TypedValue(1);
    grpSpellLevelClick();
}

void TfrmSpellBook::spnWizardIntelligenceChange() {
    SetModified(true);
    book_->Intelligence = spnWizardIntelligence->TypedValue(9);
}

void TfrmSpellBook::cbWizardSpecialtyChange() {
    SetModified(true);
    book_->Specialty = FromQString(cbWizardSpecialty->currentText());
    grpSpellLevelClick();
}

void TfrmSpellBook::cbWizardSpecialtyExit() {
    const QString text = cbWizardSpecialty->currentText();
    if (text == Generalist || context_.SpecialtyTable().FindByName(FromQString(text))) return;
    const QString question = QStringLiteral("The specialty \"") + text +
                             QStringLiteral("\" does not exist on the current specialty list.") +
                             QStringLiteral("\r\nWould you like modify the specialty list?");
    if (context_.prompter().Message(this, BoxKind::Confirmation, BoxButtons::YesNo, question) ==
        Answer::Yes)
        context_.Frame().mnuSetSpecialtiesClick();
}

void TfrmSpellBook::cbSpellFrequencyChange() {
    book_->SpellFrequency = -std::max(cbSpellFrequency->currentIndex(), 0);
    SetModified(true);
}

void TfrmSpellBook::mnuFillBookClick() {
    WorkingScope working(context_.Working(), QStringLiteral("Filling Spellbook"));
    FillSpellbook(book_.get(), context_.MasterList(), &context_.SpecialtyTable());
    SetModified(true);
    grpSpellLevelClick();
}

void TfrmSpellBook::mnuNewClick() {
    context_.Frame().NewChild();
}

void TfrmSpellBook::mnuOpenClick() {
    context_.Frame().mnuOpenSpellbookClick();
}

bool TfrmSpellBook::WriteTo(const QString& path) {
    if (!WriteSpellbookFile(*book_, ToPath(path))) {
        // The old file is untouched and the changes are still only here.
        context_.prompter().Message(this, BoxKind::Error, BoxButtons::Ok,
                                    QStringLiteral("Error Writing Spellbook File\r\n") + path);
        return false;
    }
    SetModified(false);
    return true;
}

void TfrmSpellBook::mnuSaveClick() {
    if (caption_ != Untitled)
        WriteTo(caption_);
    else
        mnuSaveAsClick();
}

void TfrmSpellBook::mnuSaveAsClick() {
    FileDialogSpec spec;
    spec.title = QStringLiteral("Save Spellbook");
    spec.filter = QStringLiteral("*.SPB (Spellbook Files)|*.spb|*.* (All Files)|*.*");
    spec.defaultSuffix = QStringLiteral("spb");
    if (caption_ != Untitled) {
        const QFileInfo file(caption_);
        spec.directory = file.absolutePath();
        spec.fileName = file.fileName();
    } else {
        spec.directory = context_.Frame().DataDirectory();
    }
    const QString path = context_.prompter().SaveFile(this, spec);
    if (path.isEmpty()) return;
    if (WriteTo(path)) SetCaption(QFileInfo(path).absoluteFilePath());
}

void TfrmSpellBook::mnuCloseClick() {
    // Closing the frame's child window closes this one through it.
    if (QWidget* frame = parentWidget())
        frame->close();
    else
        close();
}

void TfrmSpellBook::mnuExitClick() {
    context_.Frame().mnuExitClick();
}

bool TfrmSpellBook::FormCloseQuery() {
    if (!book_->Modified) return true;
    const QString question = QStringLiteral("Spellbook:\r\n") + caption_ +
                             QStringLiteral("\r\nhas not been saved. Do you wish to save it now?");
    switch (context_.prompter().Message(this, BoxKind::Confirmation, BoxButtons::YesNoCancel,
                                        question)) {
    case Answer::Yes:
        mnuSaveClick();
        return !book_->Modified;
    case Answer::No:
        return true;
    default:
        return false;
    }
}

void TfrmSpellBook::closeEvent(QCloseEvent* event) {
    if (closeApproved_ || FormCloseQuery()) {
        event->accept();
        emit Closed(this);
    } else
        event->ignore();
}

void TfrmSpellBook::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    FormResize();
}

void TfrmSpellBook::FormResize() {
    tbSpellBook->setGeometry(0, 0, width(), 45);
    setMinimumSize(tbSpellBook->sizeHint().width(), 275);
    lbSpells->setGeometry(6, ListTop, std::max(width() - 20, 0), std::max(height() - ListTop, 0));
}

void TfrmSpellBook::contextMenuEvent(QContextMenuEvent* event) {
    pmnu_->exec(event->globalPos());
}

bool TfrmSpellBook::eventFilter(QObject* watched, QEvent* event) {
    if (watched == cbWizardSpecialty && event->type() == QEvent::FocusOut &&
        static_cast<QFocusEvent*>(event)->reason() != Qt::PopupFocusReason)
        cbWizardSpecialtyExit();
    return QWidget::eventFilter(watched, event);
}

} // namespace vellumar
