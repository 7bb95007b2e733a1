#include "ui/working_box.h"

#include "program_version.h"

#include <QAccessible>
#include <QApplication>
#include <QEventLoop>
#include <QLabel>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>

namespace vellumar {
namespace {

// How long Begin waits for the window system to show the box.
constexpr int MapWaitMs = 500;

} // namespace

TfrmWorking::TfrmWorking(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowStaysOnTopHint | Qt::MSWindowsFixedSizeDialogHint),
      task_(new QLabel(this)) {
    setObjectName(QStringLiteral("frmWorking"));
    setWindowTitle(QString::fromLatin1(ProductName));
    setAutoFillBackground(true);
    QPalette aqua = palette();
    aqua.setColor(QPalette::Window, QColor(0, 255, 255));
    aqua.setColor(QPalette::WindowText, Qt::black);
    setPalette(aqua);

    auto* working = new QLabel(QStringLiteral("Working..."), this);
    QFont serif(QStringLiteral("Times New Roman"));
    serif.setStyleHint(QFont::Serif);
    serif.setPixelSize(40);
    working->setFont(serif);
    working->setAlignment(Qt::AlignCenter);
    task_->setAlignment(Qt::AlignCenter);
    setAccessibleName(working->text());

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 16, 24, 20);
    layout->addWidget(working);
    layout->addWidget(task_);
    setFixedSize(340, 130);
}

void TfrmWorking::Begin(const QString& task) {
    task_->setText(task);
    // The task runs without an event loop a screen reader could wait on: the
    // box tells it at once what the program is busy with.
    setAccessibleDescription(task);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    const int before = paints_;
    show();
    raise();
    repaint();
    WaitForPaint(before);
    QAccessibleEvent alert(this, QAccessible::Alert);
    QAccessible::updateAccessibility(&alert);
    // Let the window system map and expose the box, but take no user input:
    // the task is about to run inside the current command.
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    ++tasksBegun_;
    lastShown_ = {task, paints_ > before};
}

void TfrmWorking::WaitForPaint(int paintsBefore) {
    if (paints_ > paintsBefore) return;
    // A window manager maps the box a moment after show(), and a repaint
    // before that paints nothing: the task would then run under an empty
    // frame. Wait for the first paint, a little while at most.
    QEventLoop loop;
    waiting_ = &loop;
    QTimer::singleShot(MapWaitMs, &loop, &QEventLoop::quit);
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    waiting_ = nullptr;
}

void TfrmWorking::End() {
    hide();
}

QString TfrmWorking::Task() const {
    return task_->text();
}

void TfrmWorking::paintEvent(QPaintEvent* event) {
    ++paints_;
    QDialog::paintEvent(event);
    if (waiting_) waiting_->quit();
}

} // namespace vellumar
