#include "base/readfile.h"
#include "base/savefile.h"
#include "filesizelimit.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace kav {
namespace {

QByteArray read(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(missing)");
}

// A write that the system cuts short (here by a file-size limit, as a full disk would) fails
// with the system's reason and leaves the old file, or none, in place, whatever the size: a
// small file is where a buffered write used to fail only in the final flush, unnoticed.
TEST(saveFileAtomically, AShortWriteFailsWithItsReasonAndLeavesTheOldFile)
{
    struct Case {
        const char* what;
        qsizetype size;
        bool oldFile;
    };
    const Case cases[] = {
        {"small new file", 6000, false},
        {"small file replacing one", 6000, true},
        {"large new file", 100000, false},
        {"large file replacing one", 100000, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        QTemporaryDir dir;
        const QString path = dir.filePath("out.txt");
        if (c.oldFile) {
            ASSERT_TRUE(saveFileAtomically(path, "old"));
        }
        QString error;
        bool saved = true;
        {
            const FileSizeLimit limit(4096);
            saved = saveFileAtomically(path, QByteArray(c.size, 'x'), &error);
        }
        EXPECT_FALSE(saved);
        EXPECT_EQ(error, QString::fromLatin1(FileSizeLimit::Reason));
        EXPECT_EQ(read(path), c.oldFile ? QByteArray("old") : QByteArray("(missing)"));
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
                  c.oldFile ? QStringList{"out.txt"} : QStringList{})
            << "no partial file is left behind";
    }
}

TEST(saveFileAtomically, WritesTheWholeFileAndSaysWhyAFolderCannotTakeIt)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("out.txt");
    const QByteArray bytes(70000, 'y');
    {
        const FileSizeLimit limit(70000);
        ASSERT_TRUE(saveFileAtomically(path, bytes));
    }
    EXPECT_EQ(read(path), bytes);
    ASSERT_TRUE(saveFileAtomically(path, {}));
    EXPECT_EQ(read(path), QByteArray());

    QString error;
    EXPECT_FALSE(saveFileAtomically(dir.filePath("no-such-folder/out.txt"), "x", &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_NE(error, QStringLiteral("Unknown error"));
}

// A file read up to a limit: whole when smaller, cut at the limit when larger (so that a reader
// asking for limit + 1 bytes tells a file too large).
TEST(readAtMost, ReadsUpToTheLimitWhateverTheFileSize)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("in");
    QByteArray bytes;
    for (int i = 0; i < 200000; ++i)
        bytes += static_cast<char>(i % 251);
    ASSERT_TRUE(saveFileAtomically(path, bytes));
    const std::pair<qint64, qsizetype> cases[]
        = {{1 << 30, 200000}, {200001, 200000}, {200000, 200000}, {65537, 65537}, {10, 10}, {0, 0}};
    for (const auto& [limit, expected] : cases) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_EQ(readAtMost(file, limit), bytes.left(expected)) << limit;
    }
}

} // namespace
} // namespace kav
