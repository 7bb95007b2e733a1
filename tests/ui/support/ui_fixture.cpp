#include "support/ui_fixture.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QTest>
#include <QWidget>
#include <cstdlib>

namespace vellumar::test {

TempHome::TempHome()
    : oldHome_(qgetenv("VELLUMAR_HOME")), hadHome_(qEnvironmentVariableIsSet("VELLUMAR_HOME")),
      oldState_(qgetenv("XDG_STATE_HOME")), hadState_(qEnvironmentVariableIsSet("XDG_STATE_HOME")) {
    QDir(dir_.path()).mkpath(QStringLiteral("home"));
    QDir(dir_.path()).mkpath(QStringLiteral("work"));
    qputenv("VELLUMAR_HOME", Home().toLocal8Bit());
    qputenv("XDG_STATE_HOME", State().toLocal8Bit());
    oldWorking_ = QDir::currentPath();
    QDir::setCurrent(Working());
}

TempHome::~TempHome() {
    QDir::setCurrent(oldWorking_);
    if (hadHome_)
        qputenv("VELLUMAR_HOME", oldHome_);
    else
        qunsetenv("VELLUMAR_HOME");
    if (hadState_)
        qputenv("XDG_STATE_HOME", oldState_);
    else
        qunsetenv("XDG_STATE_HOME");
}

QString TempHome::Home() const {
    return dir_.path() + QStringLiteral("/home/");
}

QString TempHome::State() const {
    return dir_.path() + QStringLiteral("/state/");
}

QString TempHome::Working() const {
    return dir_.path() + QStringLiteral("/work/");
}

QString TempHome::Write(const QString& name, const QByteArray& content) const {
    const QString path = QDir::isAbsolutePath(name) ? name : Home() + name;
    QFile file(path);
    if (file.open(QIODevice::WriteOnly)) file.write(content);
    return path;
}

QString TempHome::CopyResource(const QString& name, const QString& folder) const {
    const QString target = folder + name;
    QFile::remove(target);
    QFile::copy(QStringLiteral(VELLUMAR_SOURCE_DIR "/resources/") + name, target);
    return target;
}

ModalGuard::ModalGuard() {
    timer_.setInterval(50);
    connect(&timer_, &QTimer::timeout, this, &ModalGuard::Check);
    timer_.start();
}

void ModalGuard::Check() {
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal) return;
    seen_ << modal->windowTitle();
    if (auto* dialog = qobject_cast<QDialog*>(modal))
        dialog->reject();
    else
        modal->close();
}

QByteArray ReadBack(const QString& path) {
    QFile file(path);
    if (file.open(QIODevice::ReadOnly)) return file.readAll();
    QTest::qFail(qPrintable(QStringLiteral("cannot read ") + path), __FILE__, __LINE__);
    return {};
}

QByteArray SpellbookV4(int casterLevel, int intelligence, const QByteArray& specialty,
                       char frequency, const QList<QByteArray>& spellLines) {
    QByteArray out = "4\r\n" + QByteArray::number(casterLevel) + "\r\n" +
                     QByteArray::number(intelligence) + "\r\n" + specialty + "\r\n" +
                     QByteArray(1, frequency) + "\r\n";
    for (const QByteArray& line : spellLines) out += line + "\r\n";
    return out + " \r\n";
}

} // namespace vellumar::test
