#include "ui/spell_library_model.h"

#include <utility>

namespace vellumar {

LibraryLoad SpellLibraryModel::Load(TextsRead when) {
    emit ListAboutToBeReplaced();
    LibraryLoad loaded = library_.Load(when);
    emit ListReplaced();
    return loaded;
}

LibraryRecovery SpellLibraryModel::PutRecovered(std::unique_ptr<TSpellBook> list,
                                                std::unique_ptr<SpellTexts> texts,
                                                const std::string& path) {
    emit ListAboutToBeReplaced();
    LibraryRecovery recovery = library_.PutRecovered(std::move(list), std::move(texts), path);
    emit ListReplaced();
    return recovery;
}

void SpellLibraryModel::SetList(std::unique_ptr<TSpellBook> list) {
    emit ListAboutToBeReplaced();
    library_.SetList(std::move(list));
    emit ListReplaced();
}

void SpellLibraryModel::ShowPutOffTexts() {
    library_.ReadPutOffTexts();
    emit PutOffTextsRead();
}

void SpellLibraryModel::SetModified(bool modified) {
    TSpellBook* list = library_.List();
    if (list) list->Modified = modified;
    emit Modified(list && list->Modified);
}

} // namespace vellumar
