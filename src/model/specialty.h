#pragma once

#include "model/my_list.h"
#include "model/spell.h"

#include <memory>
#include <string>
#include <vector>

namespace vellumar {

using tStringList = std::vector<std::string>;

enum SpecialtyStanding : int32_t {
    StandingPreferred = 0,
    StandingNeutral = 1,
    StandingProhibited = 2
};

class tSpecialty {
public:
    explicit tSpecialty(std::string name = {}) : Name(std::move(name)) {}
    // 0 preferred, 1 neutral, 2 prohibited; prohibited entries are tested first.
    int32_t Classify(const tSpell* spell) const;

    std::string Name;
    tStringList Preferred;
    tStringList Prohibited;
};

// The specialty table, in the order the specialties were appended; owns them.
class tSpecialtyList : public tMyList<tSpecialty> {
public:
    tSpecialtyList() = default;
    ~tSpecialtyList() override;

    void Append(std::unique_ptr<tSpecialty> specialty) { tMyList::Append(specialty.release()); }
    void DeleteCurrent() override;

    tSpecialty* FindByName(const std::string& name);
    tSpecialty* CurrentSpecialty() const { return CurrentItem(); }
    std::string CurrentName() const { return Current ? Current->Data->Name : std::string(); }
    tStringList* CurrentPreferred() const { return Current ? &Current->Data->Preferred : nullptr; }
    tStringList* CurrentProhibited() const {
        return Current ? &Current->Data->Prohibited : nullptr;
    }
    int32_t Classify(const std::string& specialtyName, const tSpell* spell);
    tStringList SpecialtyNames() const;
    // What a specialty choice offers: "Generalist", then the table's names.
    tStringList OfferedSpecialties() const;

private:
    using tMyList::Append;
};

// The eight specialties the program knows without a specialty file.
std::unique_ptr<tSpecialtyList> BuiltInSpecialties();

} // namespace vellumar
