#pragma once

#include <QString>

namespace kav {

// Where the program finds what it carries and keeps what it writes. A copy installed under a
// prefix (its executable in bin/, beside share/kav-data-viewer/) takes the help and the sample
// data from that share folder and keeps the settings in the user's configuration folder; a copy
// run from its own folder keeps them beside the executable while that folder can be written to.
struct ProgramLocations {
    QString programDir; // the executable's folder
    QString exeName; // the executable's file name
    QString sharedDir; // the help collection and the sample data folder
    QString settingsDir; // the preferences and the kept list of radionuclides
    QString userDataDir; // what the user asks the program to write (the dose export)
    // Where the help is opened from when the program's folder cannot keep its search index;
    // empty otherwise.
    QString helpCacheDir;
    bool installed = false;

    static ProgramLocations forExecutable(const QString& executablePath);
    // The user's own folders of the program: $XDG_CONFIG_HOME/kav-data-viewer and
    // $XDG_DATA_HOME/kav-data-viewer (by default under ~/.config and ~/.local/share).
    static QString userConfigDir();
    static QString userDataHome();
};

// Whether the path names a folder.
bool isFolder(const QString& path);
// Whether files can be made in the folder: a file is made there and removed again, which is
// what counts (permissions, a file system mounted read-only, a folder that is not there).
bool canMakeFilesIn(const QString& folder);

} // namespace kav
