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

    TempHome home;
    ScriptedPrompter prompter;
    ModalGuard guard;
    std::unique_ptr<VellumarApp> app;
};

} // namespace vellumar::test
