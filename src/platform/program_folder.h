#pragma once
// Where the program finds its own files and where it keeps the user's.
//
// Two layouts are known. Beside the executable (a build tree, or a folder the
// user unpacked): the sample master list, the help file, the settings and the
// specialty file all sit in the executable's folder, as long as the user may
// write there. Installed (the executable in <prefix>/bin, its files in
// <prefix>/share/vellumar): the bundled files are read from share/vellumar,
// and the settings and the specialty file live in the user's configuration
// folder ($XDG_CONFIG_HOME/vellumar, by default ~/.config/vellumar).
// VELLUMAR_HOME names one folder for all of them (tests use it).

#include <functional>
#include <string>

namespace vellumar {

// What the folders depend on, gathered once so that the rules can be tested.
struct FolderEnvironment {
    std::string vellumarHome;     // VELLUMAR_HOME
    std::string xdgConfigHome;    // XDG_CONFIG_HOME
    std::string xdgStateHome;     // XDG_STATE_HOME
    std::string userHome;         // HOME
    std::string executableFolder; // the folder of the running program
    // Whether the user may create and replace files in a folder.
    std::function<bool(const std::string&)> isWritable;
};

FolderEnvironment CurrentFolderEnvironment();

// The running program's own executable, links resolved; empty when the system
// does not tell.
std::string ExecutablePath();

// The folder of the bundled files: the help file and the sample master list.
// Always ends in '/'.
std::string ProgramFolder(const FolderEnvironment& environment);
std::string ProgramFolder();

// The folder of the settings file and "Specialty.dat". Always ends in '/'.
std::string SettingsFolder(const FolderEnvironment& environment);
// As above for this process; creates the folder (for the user only) when it
// is missing, so that the first setting written can create its file.
std::string SettingsFolder();

// The folder of the user's state that outlives a run (the recovery files):
// $XDG_STATE_HOME/vellumar, by default ~/.local/state/vellumar; empty without
// any home folder. Always ends in '/' unless empty.
std::string StateFolder(const FolderEnvironment& environment);

// The folder file dialogs start in until the user sets one: the program's
// folder while the user may write there, else the documents folder (when it
// exists), else the home folder. Always ends in '/'.
std::string DefaultDataDirectory(const std::string& programFolder,
                                 const std::string& documentsFolder,
                                 const FolderEnvironment& environment);

} // namespace vellumar
