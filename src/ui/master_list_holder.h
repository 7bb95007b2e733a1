#pragma once
// Holds the master spell list for the run. The master list window builds on it later.

#include <memory>
#include <string>

class QWidget;

namespace vellumar {

class AppContext;
class TSpellBook;

class MasterListHolder {
public:
    explicit MasterListHolder(AppContext& context);
    ~MasterListHolder();

    // Reads the file named by "MasterFile" while the working box shows. A file
    // that cannot be opened leaves no list; a failure part-way is reported.
    void Load(QWidget* parent);
    TSpellBook* MasterList() const { return list_.get(); }

    // The file "MasterFile" names now. A bare name belongs to the folder found
    // at the first load: the working folder, or the program's folder when only
    // that one holds the file.
    std::string MasterFilePath() const;

    // Whether the program may end as far as the master list is concerned.
    bool CloseQuery() { return true; }

private:
    AppContext& context_;
    std::unique_ptr<TSpellBook> list_;
    mutable std::string bareFolder_;
};

} // namespace vellumar
