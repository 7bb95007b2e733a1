#pragma once
// What every window test needs: a temporary program folder and working folder,
// and a guard against real modal windows that would wait for a person.

#include <QObject>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QTimer>

namespace vellumar::test {

// VELLUMAR_HOME names a fresh program folder; the working folder is another
// fresh folder, and so is XDG_STATE_HOME (recovery files). All are removed
// and the old values restored afterwards.
class TempHome {
public:
    TempHome();
    ~TempHome();
    TempHome(const TempHome&) = delete;
    TempHome& operator=(const TempHome&) = delete;

    QString Home() const;    // with a trailing '/'
    QString Working() const; // with a trailing '/'
    QString State() const;   // XDG_STATE_HOME, with a trailing '/'
    // Writes a file; a relative name lands in the program folder.
    QString Write(const QString& name, const QByteArray& content) const;
    // Copies a file of the source tree's resources/ folder into a folder.
    QString CopyResource(const QString& name, const QString& folder) const;

private:
    QTemporaryDir dir_;
    QByteArray oldHome_;
    bool hadHome_;
    QByteArray oldState_;
    bool hadState_;
    QString oldWorking_;
};

// Fails the test when a modal window appears that no Prompter answered (it
// would wait for a person), and closes it so that the test can go on.
class ModalGuard : public QObject {
    Q_OBJECT
public:
    ModalGuard();
    const QStringList& Seen() const { return seen_; }

private:
    void Check();
    QTimer timer_;
    QStringList seen_;
};

// Reads a file back; fails the test when it cannot be read.
QByteArray ReadBack(const QString& path);

// A spellbook file in the version 4 format.
QByteArray SpellbookV4(int casterLevel, int intelligence, const QByteArray& specialty,
                       char frequency, const QList<QByteArray>& spellLines);

} // namespace vellumar::test
