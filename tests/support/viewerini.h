#pragma once

#include "base/messageboxes.h"
#include "data/applicationcontext.h"

#include <QFile>
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
    ApplicationContext& makeContext(IMessageBoxes& boxes)
    {
        m_context = std::make_unique<ApplicationContext>(executable(), boxes);
        return *m_context;
    }
    ApplicationContext& context() { return *m_context; }

private:
    QTemporaryDir m_dir;
    std::unique_ptr<ApplicationContext> m_context;
};

} // namespace kav
