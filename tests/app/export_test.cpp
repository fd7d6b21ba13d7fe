#include "app/mainwindow.h"
#include "data/doseexport.h"
#include "dosefixture.h"
#include "recordingmessageboxes.h"
#include "viewerini.h"

#include <QAction>
#include <QDesktopServices>
#include <QMenu>
#include <QTest>
#include <QUrl>

#include <gtest/gtest.h>

namespace kav {
namespace {

QByteArray read(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The viewer's "Export Doses" on a data folder of two cobalt nuclides and Sr-90, and the
// command-line tool beside it doing the same.
TEST(Export, TheViewerAndTheToolWriteTheSameFiles)
{
    QTemporaryDir data;
    writeTypicalFile(data.path(), ChemicalElement::Co, "60");
    writeTypicalFile(data.path(), ChemicalElement::Co, "58");
    writeTwoGroupFile(data.path(), ChemicalElement::Sr, "90");
    RecordingMessageBoxes messages;
    ViewerHome home;
    home.writeIni("Initialized=1\n", data.path());
    auto form = std::make_unique<MainWindow>(home.makeContext(messages));
    form->setMaintenance(true);
    for (QAction* a : form->helpMenu()->actions())
        if (a->text() == QStringLiteral("Export Doses"))
            a->trigger();
    ASSERT_EQ(messages.boxes.size(), 1u);
    const QDir exported(QFileInfo(home.executable()).dir().filePath(QStringLiteral("Export")));
    EXPECT_EQ(messages.boxes[0].text,
              QStringLiteral("Export done: 2 files written to %1\n\nOpen the folder?").arg(exported.path()));
    EXPECT_EQ(exported.entryList(QDir::Files), (QStringList{"Co.csv", "Sr.csv"}));
    const QByteArray cobalt = read(exported.filePath(QStringLiteral("Co.csv")));
    // Two head lines, then for each cobalt nuclide (58 before 60) 14 pairs of lines.
    EXPECT_EQ(cobalt.count("\r\n"), 2 + 2 * 28);
    EXPECT_LT(cobalt.indexOf("\r\nCo-58;"), cobalt.indexOf("\r\nCo-60;"));

    QTemporaryDir out;
    const ViewerHome::ToolRun kav = home.runToolBeside(QStringLiteral(KAV_CLI), {"export", "--out", out.path()});
    ASSERT_TRUE(kav.finished);
    EXPECT_EQ(kav.exitCode, 0) << kav.err.toStdString();
    EXPECT_EQ(kav.out.split(u'\n', Qt::SkipEmptyParts).size(), 2);
    for (const char* file : {"Co.csv", "Sr.csv"})
        EXPECT_EQ(read(QDir(out.path()).filePath(QString::fromLatin1(file))),
                  read(exported.filePath(QString::fromLatin1(file))))
            << file;
}

// Stands in for the desktop's file manager: takes the folders the viewer asks to show.
class FolderShower : public QObject {
    Q_OBJECT
public:
    QList<QUrl> shown;
public slots:
    void show(const QUrl& url) { shown << url; }
};

// The box that ends an export offers to show the folder, and shows it only when asked; an export
// that wrote nothing has nothing to show.
TEST(Export, TheFinalBoxOffersToShowTheFolder)
{
    QTemporaryDir data;
    writeTypicalFile(data.path(), ChemicalElement::Co, "60");
    ViewerHome home;
    home.writeIni("Initialized=1\n", data.path());
    FolderShower shower;
    QDesktopServices::setUrlHandler(QStringLiteral("file"), &shower, "show");
    const QString folder = QFileInfo(home.executable()).dir().filePath(QStringLiteral("Export"));
    for (const MessageButton answer : {ButtonNo, ButtonYes}) {
        SCOPED_TRACE(answer);
        RecordingMessageBoxes messages;
        messages.answer = answer;
        auto form = std::make_unique<MainWindow>(home.makeContext(messages));
        form->setMaintenance(true);
        shower.shown.clear();
        for (QAction* a : form->helpMenu()->actions())
            if (a->text() == QStringLiteral("Export Doses"))
                a->trigger();
        ASSERT_EQ(messages.boxes.size(), 1u);
        EXPECT_EQ(messages.boxes[0].buttons, ButtonYes | ButtonNo);
        EXPECT_EQ(shower.shown, answer == ButtonYes ? QList<QUrl>{QUrl::fromLocalFile(folder)} : QList<QUrl>{});
    }
    QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
}

} // namespace
} // namespace kav

#include "export_test.moc"
