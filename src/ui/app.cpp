#include "ui/app.h"

#include "files/specialty_file.h"
#include "model/specialty.h"
#include "output/qt/print_format_dialog.h"
#include "platform/program_settings.h"
#include "platform/qt/help_viewer.h"
#include "platform/qt/text_conversion.h"
#include "rules/odds.h"
#include "rules/random.h"
#include "ui/book_parm_dialog.h"
#include "ui/frame_window.h"
#include "ui/last_session.h"
#include "ui/master_list_window.h"
#include "ui/specialty_maintenance_dialog.h"
#include "ui/spell_book_window.h"
#include "ui/spell_edit_dialog.h"
#include "ui/spell_list.h"
#include "ui/working_box.h"

#include <QApplication>
#include <QDropEvent>
#include <QKeyEvent>
#include <QMimeData>

#include <cstdio>

static void InitResources() {
    Q_INIT_RESOURCE(vellumar);
}

namespace vellumar {

VellumarApp::VellumarApp(Prompter& prompter) : context_(prompter) {
    InitResources();
}

VellumarApp::~VellumarApp() {
    qApp->removeEventFilter(this);
    frame_.reset();
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
        frame));

    qApp->installEventFilter(this);
    frame_->showMaximized();
    if (last == LastSession::Reopen && context_.Settings().ReopenBooks(false))
        ReopenBooks(*frame, context_.Settings());
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
