#include "ui/app.h"

#include "model/specialty.h"
#include "output/qt/print_format_dialog.h"
#include "platform/qt/help_viewer.h"
#include "platform/qt/text_conversion.h"
#include "rules/odds.h"
#include "rules/random.h"
#include "ui/book_parm_dialog.h"
#include "ui/frame_window.h"
#include "ui/master_list_window.h"
#include "ui/specialty_maintenance_dialog.h"
#include "ui/spell_book_window.h"
#include "ui/spell_edit_dialog.h"
#include "ui/spell_list.h"

#include <QApplication>
#include <QDropEvent>
#include <QKeyEvent>
#include <QMimeData>

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

void VellumarApp::Start(std::optional<uint32_t> seed) {
    // Program load, before any window exists.
    if (seed)
        SeedRandom(*seed);
    else
        SeedRandomFromClock();
    context_.Odds() = DefaultFrequencyOdds;
    context_.SetBuiltInSpecialties(BuiltInSpecialties());

    // The frame first: the windows after it use its settings, specialty table
    // and working box.
    frame_ = std::make_unique<TfrmMain>(context_);
    TfrmMain* frame = frame_.get();
    context_.SetBookParm(new TfrmBookParm(context_.SpecialtyTable(), frame));
    context_.SetPrintFormat(new TfrmPrintFormat(context_.Output(), frame));
    auto* masterList = new TfrmMasterList(context_, frame);
    context_.SetMasterListWindow(masterList);
    context_.SetSpellEdit(new TfrmSpellEdit(frame));
    context_.SetSpecialtyMaintenance(new TfrmSpecialtyMaintenance(
        context_.prompter(), context_.SpecialtyTable(),
        ToPath(context_.SettingsFolder() + QStringLiteral("Specialty.dat")),
        [this] { context_.BookParm().RebuildSpecialties(); },
        [frame] {
            for (TfrmSpellBook* window : frame->SpellBookWindows()) window->FillSpecialtyItems();
        },
        frame));
    frame_->SetMasterListCloseQuery([masterList] { return masterList->FormCloseQuery(); });

    qApp->installEventFilter(this);
    frame_->showMaximized();
}

// F1 opens the help topic of the window that has the focus.
bool VellumarApp::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_F1 &&
        watched->isWidgetType()) {
        for (auto* widget = static_cast<QWidget*>(watched); widget;
             widget = widget->parentWidget()) {
            const QVariant topic = widget->property("helpTopic");
            if (topic.isValid()) {
                context_.Help().ShowTopic(topic.toInt());
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
