#pragma once
// The desktop program: start-up in its fixed order, the program-wide state,
// and the help key of every window.

#include "ui/app_context.h"

#include <QObject>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

namespace vellumar {

class Prompter;
struct RecoveryEntry;
class TfrmMain;
class TfrmSpellBook;

// Whether start-up opens the books of the last clean exit again, when the
// settings ask for it; an unattended run never does.
enum class LastSession { Ignore, Reopen };

class VellumarApp : public QObject {
    Q_OBJECT
public:
    explicit VellumarApp(Prompter& prompter);
    ~VellumarApp() override;

    // Seeds the random generator (from the clock unless a seed is given), sets
    // the odds and the built-in specialties, opens the settings and reads the
    // odds and the specialty file, creates the frame and the hidden windows,
    // loads the master list and shows the frame, then reopens the last books.
    void Start(std::optional<uint32_t> seed = std::nullopt, LastSession last = LastSession::Ignore);

    AppContext& Context() { return context_; }
    TfrmMain& Frame() { return *frame_; }
    // The frame's spellbook windows, oldest first, and the active one (or none).
    std::vector<TfrmSpellBook*> SpellBookWindows() const;
    TfrmSpellBook* ActiveSpellBook() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ReadSettings();
    // Offers the unsaved work of sessions that did not end cleanly.
    void OfferRecovery();
    bool Recover(const RecoveryEntry& entry);
    // The master list's texts, read after start-up and drawn in every card.
    void ShowPutOffTexts();

    AppContext context_;
    std::unique_ptr<TfrmMain> frame_;
    bool textsShown_ = false;
};

} // namespace vellumar
