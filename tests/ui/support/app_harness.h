#pragma once
// A started program for one window test: temporary folders, scripted answers,
// the modal guard, and the application itself.

#include "support/scripted_prompter.h"
#include "support/ui_fixture.h"
#include "ui/app.h"

#include <memory>
#include <vector>

namespace vellumar {
class TfrmMain;
class TfrmSpellBook;
} // namespace vellumar

namespace vellumar::test {

class AppHarness {
public:
    AppHarness();
    ~AppHarness();

    // Runs the program's start-up with a fixed seed.
    void Start(uint32_t seed = 1);
    // Fails the test on unused answers or a modal window nobody answered.
    void Verify();

    TfrmMain& Frame() { return app->Frame(); }
    // The frame's spellbook windows, oldest first, and the active one (or none).
    std::vector<TfrmSpellBook*> SpellBookWindows() const { return app->SpellBookWindows(); }
    TfrmSpellBook* ActiveSpellBook() const { return app->ActiveSpellBook(); }
    AppContext& Context() { return app->Context(); }
    // Copies the sample master list into the working folder.
    void UseSampleMasterList();
    // Writes MASTER.DAT into the working folder, and its spell texts beside it
    // when there are any; returns the list's path.
    QString UseMasterList(const QByteArray& list, const QByteArray& texts = {});

    TempHome home;
    ScriptedPrompter prompter;
    ModalGuard guard;
    std::unique_ptr<VellumarApp> app;
};

// The base of a window test: each test function gets a fresh harness `h`,
// verified and ended after it. A test that needs more before or after each
// function declares its own init() or cleanup() slot and calls these.
class HarnessTest : public QObject {
    Q_OBJECT
protected:
    std::unique_ptr<AppHarness> h;
protected slots:
    void init() { h = std::make_unique<AppHarness>(); }
    void cleanup() {
        h->Verify();
        h.reset();
    }
};

} // namespace vellumar::test
