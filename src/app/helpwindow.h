#pragma once

#include <QUrl>
#include <QWidget>

class QHelpEngine;
class QTabWidget;
class QTextBrowser;

namespace kav {

class MessageBoxes;

// Topics of the help, as pages of the help collection with an anchor where one is meant.
namespace HelpTopic {
inline const QString Contents = QStringLiteral("index.html");
inline const QString AMAD = QStringLiteral("key-terms.html#b_AMAD");
inline const QString DisplayedData = QStringLiteral("bioassay.html#b_DispData");
inline const QString PredictedContent = QStringLiteral("key-terms.html#b_predcontent");
} // namespace HelpTopic

// The topic of a context number of the windows and menus (1002 to 1013); the contents for any
// other number.
QString helpTopicOfContext(int context);

// The program's help: the topics of the help collection beside the executable, in a window of
// their own with the contents, the index and a search beside the page, and back and forward.
// The collection is opened on first use; when it cannot be, the request is answered with a
// message saying so.
class HelpWindow : public QWidget {
public:
    // The collection file and the boxes outlive the window.
    HelpWindow(QString collectionFile, MessageBoxes& boxes, QWidget* parent = nullptr);
    ~HelpWindow() override;
    // The help engine keeps its search index beside the collection: a collection in a folder
    // the user cannot write to (an installed one) is opened from a copy in this folder, made
    // again whenever the carried one is newer.
    void setWorkingFolder(const QString& folder) { m_workingFolder = folder; }

    // Shows a topic ("key-terms.html#b_AMAD"); false, after saying why, when there is no help.
    bool showTopic(const QString& topic);
    bool showContext(int context) { return showTopic(helpTopicOfContext(context)); }
    // The page shown, as the help engine names it.
    QUrl currentUrl() const;
    QTextBrowser* browser() const { return m_browser; }
    QHelpEngine* engine() const { return m_engine; }

private:
    bool openEngine();
    void buildWindow();

    QString m_collectionFile;
    QString m_workingFolder;
    MessageBoxes& m_boxes;
    QHelpEngine* m_engine = nullptr;
    QTextBrowser* m_browser = nullptr;
    // Contents, index and search.
    QTabWidget* m_places = nullptr;
};

} // namespace kav
