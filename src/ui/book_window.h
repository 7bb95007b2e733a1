#pragma once
// What the frame and the application ask of a spellbook window, so that the
// frame holds its children without knowing their class.

#include <functional>
#include <memory>
#include <vector>

class QMenu;
class QString;
class QWidget;

namespace vellumar {

struct NewBookChoices;
class TSpellBook;
class tSpell;

class BookWindow {
public:
    virtual QWidget& Widget() = 0;
    // The file's full path, or "untitled".
    virtual const QString& Caption() const = 0;
    virtual TSpellBook& Book() const = 0;
    // Menus merged into the frame's menu bar while the window is active.
    virtual QMenu* FileMenu() const = 0;
    virtual QMenu* EditMenu() const = 0;
    // The window's own tool bar, which nothing opened beside it may cover.
    virtual const QWidget& ToolBar() const = 0;
    // The spell level shown (1 to 9), and showing another, as its button does.
    virtual int SpellLevel() const = 0;
    virtual void ShowSpellLevel(int level) = 0;

    // Puts a book read from a file (with its path as the caption) or made by
    // the program (a scroll: no caption, so "untitled" stays) into the window,
    // showing its first level and starting its Undo history anew.
    virtual void PutBook(std::unique_ptr<TSpellBook> book, const QString& caption,
                         bool modified) = 0;
    // Gives the empty book of a new window the caster chosen for it, fills it
    // at random and shows it, marked modified.
    virtual void StartNewBook(const NewBookChoices& choices) = 0;
    // Spells chosen in the master list, offered as spells put in by hand.
    virtual void AddFromMasterList(const std::vector<tSpell*>& spells) = 0;
    // Rebuilds the specialty items from the specialty table; the text stays.
    virtual void FillSpecialtyItems() = 0;

    // The save question; true when the window may close.
    virtual bool FormCloseQuery() = 0;
    // Lets the window close without asking again (the frame's shutdown has asked).
    virtual void ApproveClose() = 0;
    // Called once the window agreed to close; it is destroyed soon after.
    virtual void WhenClosed(std::function<void()> closed) = 0;

protected:
    ~BookWindow() = default;
};

} // namespace vellumar
