#pragma once

#include "base/messageboxes.h"
#include "data/applicationcontext.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

namespace kav {

// A viewer of its own for one test: a folder standing for the executable's, with the
// preferences file "kav-data-viewer.ini" there, and the shared state made for that viewer.
// Tests that each have one can run at the same time.
class ViewerHome {
public:
    QString executable() const { return m_dir.filePath(QStringLiteral("kav-data-viewer")); }
    QString iniPath() const { return m_dir.filePath(QStringLiteral("kav-data-viewer.ini")); }

    // Writes the preferences file: the [General] lines given, and the data folder.
    void writeIni(const QByteArray& general, const QString& dataFolder) const
    {
        QFile ini(iniPath());
        ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
        ini.write("[General]\n" + general + "[Directories]\nQVD=" + dataFolder.toUtf8() + "\n");
    }
    QByteArray ini() const
    {
        QFile f(iniPath());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    // The shared state of the viewer, reading the preferences file as it stands now.
    ApplicationContext& makeContext(MessageBoxes& boxes)
    {
        m_context = std::make_unique<ApplicationContext>(executable(), boxes);
        return *m_context;
    }
    ApplicationContext& context() { return *m_context; }

    // Runs the command-line tool (the one the build made, copied beside this viewer so that it
    // reads the same preferences) and waits for it to end.
    struct ToolRun {
        bool finished = false;
        int exitCode = -1;
        QString out;
        QString err;
    };
    ToolRun runToolBeside(const QString& builtTool, const QStringList& arguments) const
    {
        const QString tool = QFileInfo(executable()).dir().filePath(QStringLiteral("kav"));
        if (!QFile::exists(tool))
            QFile::copy(builtTool, tool);
        QProcess kav;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("ASAN_OPTIONS"), QStringLiteral("detect_leaks=0"));
        kav.setProcessEnvironment(env);
        kav.start(tool, arguments);
        ToolRun run;
        run.finished = kav.waitForFinished(60000);
        run.exitCode = kav.exitCode();
        run.out = QString::fromUtf8(kav.readAllStandardOutput());
        run.err = QString::fromUtf8(kav.readAllStandardError());
        return run;
    }

private:
    QTemporaryDir m_dir;
    std::unique_ptr<ApplicationContext> m_context;
};

} // namespace kav
