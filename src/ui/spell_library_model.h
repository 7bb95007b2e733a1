#pragma once
// The program's master list for the windows: a SpellLibrary whose changes are
// announced. What replaces the list, reads its put-off texts or marks it
// changed goes through here, so that every window showing them follows.

#include "library/spell_library.h"

#include <QObject>
#include <memory>
#include <string>

namespace vellumar {

class SpellLibraryModel : public QObject {
    Q_OBJECT
public:
    explicit SpellLibraryModel(QObject* parent = nullptr) : QObject(parent) {}

    SpellLibrary& Core() { return library_; }
    const SpellLibrary& Core() const { return library_; }
    TSpellBook* List() const { return library_.List(); }
    // Read quietly when put off: whoever needs them first reads them.
    SpellTexts& Texts() { return library_.Texts(); }

    // Each of these replaces the list (SpellLibrary).
    LibraryLoad Load(TextsRead when);
    LibraryRecovery PutRecovered(std::unique_ptr<TSpellBook> list,
                                 std::unique_ptr<SpellTexts> texts, const std::string& path);
    void SetList(std::unique_ptr<TSpellBook> list);
    // Reads the texts if their reading was put off, and announces them.
    void ShowPutOffTexts();
    // Marks the list changed or as saved, and announces it.
    void SetModified(bool modified);

signals:
    // Before the list goes: nothing may show its spells any more.
    void ListAboutToBeReplaced();
    void ListReplaced();
    void PutOffTextsRead();
    // The list was changed, saved or loaded: whether it has unsaved changes.
    void Modified(bool unsaved);

private:
    SpellLibrary library_;
};

} // namespace vellumar
