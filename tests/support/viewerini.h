#pragma once

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

namespace kav {

// The preferences file of the program under test, beside it and named after it, as the
// viewer's is.
inline QString viewerIniPath()
{
    return QCoreApplication::applicationDirPath() + QStringLiteral("/")
        + QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName() + QStringLiteral(".ini");
}

// Writes that file: the [General] lines given, and the data folder.
inline void writeViewerIni(const QByteArray& general, const QString& dataFolder)
{
    QFile ini(viewerIniPath());
    ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
    ini.write("[General]\n" + general + "[Directories]\nQVD=" + dataFolder.toUtf8() + "\n");
}

} // namespace kav
