#include "model/specialty.h"

#include "model/generalist.h"
#include "model/text.h"

namespace vellumar {
namespace {

bool AnyEntryIn(const tStringList& entries, const std::string& upperCategory) {
    bool found = false;
    for (const std::string& entry : entries)
        if (!entry.empty() && upperCategory.find(UpperAscii(entry)) != std::string::npos)
            found = true;
    return found;
}

} // namespace

int32_t tSpecialty::Classify(const tSpell* spell) const {
    if (!spell) return StandingNeutral;
    const std::string category = UpperAscii(spell->Category);
    if (!Prohibited.empty() && AnyEntryIn(Prohibited, category)) return StandingProhibited;
    if (!Preferred.empty() && AnyEntryIn(Preferred, category)) return StandingPreferred;
    return StandingNeutral;
}

tSpecialtyList::~tSpecialtyList() {
    for (TNode<tSpecialty>* node = Head.Next; node != &Tail; node = node->Next) delete node->Data;
}

void tSpecialtyList::DeleteCurrent() {
    delete Unlink();
}

tSpecialty* tSpecialtyList::FindByName(const std::string& name) {
    for (First(); Current; Next())
        if (Current->Data->Name == name) return Current->Data;
    return nullptr;
}

int32_t tSpecialtyList::Classify(const std::string& specialtyName, const tSpell* spell) {
    const tSpecialty* specialty = FindByName(specialtyName);
    return specialty ? specialty->Classify(spell) : StandingNeutral;
}

tStringList tSpecialtyList::SpecialtyNames() const {
    tStringList names;
    names.reserve(static_cast<size_t>(Count()));
    for (const TNode<tSpecialty>* node = Head.Next; node != &Tail; node = node->Next)
        names.push_back(node->Data->Name);
    return names;
}

tStringList tSpecialtyList::OfferedSpecialties() const {
    tStringList names = SpecialtyNames();
    names.insert(names.begin(), Generalist);
    return names;
}

std::unique_ptr<tSpecialtyList> BuiltInSpecialties() {
    struct Row {
        const char* name;
        tStringList preferred, prohibited;
    };
    const Row rows[] = {
        {"Abjurer", {"abj"}, {"alt", "ill"}},
        {"Conjurer", {"c/s"}, {"div", "i/e"}},
        {"Diviner", {"div"}, {"c/s"}},
        {"Enchanter", {"e/c"}, {"nec", "i/e"}},
        {"Illusionist", {"ill"}, {"nec", "i/e", "abj"}},
        {"Invoker", {"i/e"}, {"e/c", "c/s"}},
        {"Necromancer", {"nec"}, {"ill", "e/c"}},
        {"Transmuter", {"alt"}, {"nec", "abj"}},
    };
    auto list = std::make_unique<tSpecialtyList>();
    for (const Row& row : rows) {
        auto specialty = std::make_unique<tSpecialty>(row.name);
        specialty->Preferred = row.preferred;
        specialty->Prohibited = row.prohibited;
        list->Append(std::move(specialty));
    }
    return list;
}

} // namespace vellumar
