#pragma once

#include <QString>
#include <QStringList>

namespace kav {

// What the viewer is asked on its command line:
//   kav-data-viewer [--data FOLDER] [--maintenance] [--help] [--version]
// besides the toolkit's own options (-platform, -style, ...), which the application takes first.
struct ViewerCommandLine {
    bool help = false;
    bool version = false;
    bool maintenance = false;
    QString dataDir; // --data: the data folder of this run, absolute; empty when not given
    QString error; // what is wrong with the line; empty when nothing is

    // The arguments as the program got them, its own name first.
    static ViewerCommandLine parse(const QStringList& arguments);
    static QString helpText();
    static QString versionText();
};

} // namespace kav
