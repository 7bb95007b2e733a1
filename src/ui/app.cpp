#include "ui/app.h"

#include "files/recovery_file.h"
#include "files/specialty_file.h"
#include "files/spell_file.h"
#include "library/spell_library.h"
#include "model/specialty.h"
#include "output/qt/print_format_dialog.h"
#include "platform/program_settings.h"
#include "platform/qt/file_problem.h"
#include "platform/qt/focus_ring.h"
#include "platform/qt/help_viewer.h"
#include "platform/qt/prompter.h"
#include "platform/qt/text_conversion.h"
#include "rules/odds.h"
#include "rules/random.h"
#include "ui/book_parm_dialog.h"
#include "ui/frame_window.h"
#include "ui/last_session.h"
#include "ui/master_list_window.h"
#include "ui/recovery_dialog.h"
#include "ui/recovery_keeper.h"
#include "ui/specialty_maintenance_dialog.h"
#include "ui/spell_book_window.h"
#include "ui/spell_edit_dialog.h"
#include "ui/spell_list.h"
#include "ui/window_placement.h"
#include "ui/working_box.h"

#include <QApplication>
#include <QDropEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <utility>

static void InitResources() {
    Q_INIT_RESOURCE(vellumar);
}

namespace vellumar {

VellumarApp::VellumarApp(Prompter& prompter) : context_(prompter) {
    InitResources();
    RingFocusedViews(*this);
}

VellumarApp::~VellumarApp() {
    qApp->removeEventFilter(this);
    frame_.reset();
    // A clean exit: whatever was not saved was not wanted.
    if (context_.Recovery()) context_.RecoveryFiles().RemoveAll();
}

void VellumarApp::Start(std::optional<uint32_t> seed, LastSession last) {
    // Program load, before any window exists.
    SeedRandom(seed);
    context_.Odds() = DefaultFrequencyOdds;
    context_.SetBuiltInSpecialties(BuiltInSpecialties());
    ReadSettings();

    // The frame first: the windows after it are its children and use its
    // working box.
    frame_ = std::make_unique<TfrmMain>(context_);
    TfrmMain* frame = frame_.get();
    context_.SetFrame(frame);
    context_.SetWorking(new TfrmWorking(frame));
    context_.SetBookParm(new TfrmBookParm(context_.SpecialtyTable(), frame));
    context_.SetPrintFormat(new TfrmPrintFormat(context_.Output(), frame));
    context_.SetMasterListWindow(new TfrmMasterList(context_, frame));
    context_.SetSpellEdit(new TfrmSpellEdit(frame));
    context_.SetSpecialtyMaintenance(new TfrmSpecialtyMaintenance(
        context_.Prompts(), context_.SpecialtyTable(),
        ToPath(context_.SettingsFolder() + QStringLiteral("Specialty.dat")),
        [this] { context_.BookParm().RebuildSpecialties(); },
        [this] {
            for (TfrmSpellBook* window : SpellBookWindows()) window->FillSpecialtyItems();
        },
        frame, TfrmSpecialtyMaintenance::Built::WhenFirstShown));

    qApp->installEventFilter(this);
    frame_->showMaximized();
    if (last == LastSession::Reopen && context_.Settings().ReopenBooks(false))
        ReopenBooks(*frame, context_.Settings());
    OfferRecovery();
    // A frame that is never painted still gets them.
    QTimer::singleShot(2000, this, &VellumarApp::ShowPutOffTexts);
}

// Start-up is quicker without the master list's texts: they are read when
// first needed, or once the frame has been painted, and shown then.
void VellumarApp::ShowPutOffTexts() {
    if (std::exchange(textsShown_, true)) return;
    context_.MasterLibrary().ShowPutOffTexts();
    for (TfrmSpellBook* window : SpellBookWindows()) window->ShowSpellText();
}

// The unsaved work of sessions that did not end cleanly; with none, start-up
// only looked into one folder.
void VellumarApp::OfferRecovery() {
    if (!context_.RecoveryTrusted(frame_.get())) return;
    RecoverySession& session = context_.RecoveryFiles();
    const std::vector<RecoveryEntry> entries = session.Orphans();
    if (!entries.empty()) {
        RecoveryDialog dialog(entries, frame_.get());
        dialog.adjustSize();
        CentreOnParent(dialog);
        // Lists first: their question must not come between the books' windows
        // and the frame, which would leave no window active.
        if (context_.Prompts().Exec(dialog) == QDialog::Accepted)
            for (const bool lists : {true, false})
                for (size_t k = 0; k < entries.size(); ++k) {
                    if ((entries[k].info.kind == RecoveryKind::List) != lists) continue;
                    const RecoveryDialog::Choice choice = dialog.ChoiceOf(k);
                    // A recovered entry is kept in this session first.
                    if (choice == RecoveryDialog::Discard ||
                        (choice == RecoveryDialog::Recover && Recover(entries[k])))
                        RecoverySession::Discard(entries[k]);
                }
    }
    session.ReleaseOrphans();
}

// The entry in a window of this run, marked modified and kept at once in
// this session's recovery files; false when it stays where it was.
bool VellumarApp::Recover(const RecoveryEntry& entry) {
    const bool list = entry.info.kind == RecoveryKind::List;
    RecoveredList recovered =
        list ? SpellLibrary::ReadRecovered(entry.bodyPath, entry.textsPath)
             : RecoveredList{ReadSpellbookFile(entry.bodyPath), FileResult<SpellTexts>(nullptr)};
    FileResult<TSpellBook>& read = recovered.list;
    FileResult<SpellTexts>& texts = recovered.texts;
    const QString name = FromPath(entry.info.path);
    for (const FileStatus* failed : {&read.Status(), &texts.Status()}) {
        if (*failed) continue;
        context_.Prompts().Message(frame_.get(), BoxKind::Error, BoxButtons::Ok,
                                   QStringLiteral("Error Reading Recovered Work\r\n") +
                                       RecoveryDialog::EntryText(entry),
                                   QString(), FileProblemText(*failed));
        return false;
    }
    if (list) {
        TfrmMasterList* window = context_.MasterListWindow();
        const QString question =
            QStringLiteral("Replace the loaded Master Spell List with the recovered one?\r\n") +
            RecoveryDialog::EntryText(entry);
        if (context_.Prompts().Message(frame_.get(), BoxKind::Confirmation, BoxButtons::YesNo,
                                       question) != Answer::Yes)
            return false;
        window->PutRecoveredList(read.Take(), texts.Take(), entry.info.path);
        window->Recovery().WriteNow();
        return true;
    }
    // A book reopened at start from its file takes its unsaved work there: in a
    // second window beside it, a later Save of the older one would undo that work.
    const auto windows = SpellBookWindows();
    const auto reopened = std::find_if(windows.begin(), windows.end(), [&](TfrmSpellBook* open) {
        return open->Caption() == name && !open->IsModified();
    });
    auto& window = reopened != windows.end()
                       ? **reopened
                       : static_cast<TfrmSpellBook&>(*frame_->CreateSpellBookWindow());
    const int level = window.SpellLevel();
    window.PutBook(read.Take(), name, true);
    window.ShowSpellLevel(level);
    window.Recovery().WriteNow();
    return true;
}

void VellumarApp::ReadSettings() {
    const QString settingsFolder = context_.SettingsFolder();
    context_.OpenSettings(ToPath(settingsFolder + QString::fromLatin1(ProgramSettings::FileName)));
    const ProgramSettings& settings = context_.Settings();
    // Said once, without a box: the program may have been started unattended.
    if (const std::string warning = settings.NotReadWarning(); !warning.empty())
        std::fprintf(stderr, "vellumar: warning: %s\n", warning.c_str());
    for (size_t k = 0; k < context_.Odds().size(); ++k)
        context_.Odds()[k] = ClampedOdds(settings.Odds(k, DefaultFrequencyOdds[k]));
    context_.SetHelpFile(context_.ProgramFolder() + QStringLiteral("Vellumar.HLP"));
    context_.StartRecovery();
    // A missing or unreadable file gives the built-in table, without a word.
    context_.SetLoadedSpecialties(
        ReadSpecialtyFile(ToPath(settingsFolder + QStringLiteral("Specialty.dat"))).Take());
}

std::vector<TfrmSpellBook*> VellumarApp::SpellBookWindows() const {
    std::vector<TfrmSpellBook*> windows;
    for (BookWindow* window : frame_->SpellBookWindows())
        windows.push_back(static_cast<TfrmSpellBook*>(window));
    return windows;
}

TfrmSpellBook* VellumarApp::ActiveSpellBook() const {
    return static_cast<TfrmSpellBook*>(frame_->ActiveSpellBook());
}

// F1 opens the help topic of the window that has the focus.
bool VellumarApp::eventFilter(QObject* watched, QEvent* event) {
    if (!textsShown_ && event->type() == QEvent::Paint && watched == frame_.get())
        // A moment later, so that the painted frame reaches the screen first.
        QTimer::singleShot(50, this, &VellumarApp::ShowPutOffTexts);
    if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_F1 &&
        watched->isWidgetType()) {
        for (auto* widget = static_cast<QWidget*>(watched); widget;
             widget = widget->parentWidget()) {
            const QVariant topic = widget->property("helpTopic");
            if (topic.isValid()) {
                context_.ShowHelpTopic(topic.toInt());
                return true;
            }
        }
    }
    // Spell rows carry their text for other programs; inside this one only the
    // spell lists take them, never a text field.
    // (Widgets only: the window gets the drag first and hands it to them.)
    if (watched->isWidgetType() &&
        (event->type() == QEvent::DragEnter || event->type() == QEvent::DragMove ||
         event->type() == QEvent::Drop) &&
        static_cast<QDropEvent*>(event)->mimeData()->hasFormat(SpellList::MimeType)) {
        for (QObject* object = watched; object; object = object->parent())
            if (qobject_cast<SpellList*>(object)) return QObject::eventFilter(watched, event);
        event->ignore();
        return true;
    }
    return QObject::eventFilter(watched, event);
}

} // namespace vellumar
