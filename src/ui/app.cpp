#include "ui/app.h"

#include "model/specialty.h"
#include "platform/qt/help_viewer.h"
#include "rules/odds.h"
#include "rules/random.h"
#include "ui/book_parm_dialog.h"
#include "ui/frame_window.h"
#include "ui/master_list_holder.h"
#include "ui/spell_edit_dialog.h"

#include <QApplication>
#include <QKeyEvent>

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
    FrequencyOdds = DefaultFrequencyOdds;
    context_.SetBuiltInSpecialties(BuiltInSpecialties());

    // The frame first: the windows after it use its settings, specialty table
    // and working box.
    frame_ = std::make_unique<TfrmMain>(context_);
    context_.SetBookParm(new TfrmBookParm(context_, frame_.get()));
    // The output format dialog is created here, before the master list.
    context_.SetMasterListHolder(std::make_unique<MasterListHolder>(context_));
    context_.MasterHolder().Load(frame_.get());
    context_.SetSpellEdit(new TfrmSpellEdit(frame_.get()));
    // The specialty maintenance window is created here, last.
    frame_->SetMasterListCloseQuery([this] { return context_.MasterHolder().CloseQuery(); });

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
    return QObject::eventFilter(watched, event);
}

} // namespace vellumar
