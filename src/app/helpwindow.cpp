#include "app/helpwindow.h"

#include "base/messageboxes.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHelpContentModel>
#include <QHelpContentWidget>
#include <QHelpEngine>
#include <QHelpIndexWidget>
#include <QHelpLink>
#include <QHelpSearchEngine>
#include <QHelpSearchQueryWidget>
#include <QHelpSearchResultWidget>
#include <QLineEdit>
#include <QShortcut>
#include <QSplitter>
#include <QTabWidget>
#include <QTextBrowser>
#include <QToolBar>
#include <QVBoxLayout>

namespace kav {

namespace {

const QString kDocumentRoot = QStringLiteral("qthelp://kav.dataviewer.help/doc/");

// A browser that takes its pages from the help collection.
class HelpBrowser : public QTextBrowser {
public:
    HelpBrowser(QHelpEngine& engine, QWidget* parent)
        : QTextBrowser(parent)
        , m_engine(engine)
    {
    }

protected:
    QVariant loadResource(int type, const QUrl& name) override
    {
        if (name.scheme() == QLatin1String("qthelp"))
            return m_engine.fileData(name);
        return QTextBrowser::loadResource(type, name);
    }

private:
    QHelpEngine& m_engine;
};

} // namespace

QString helpTopicOfContext(int context)
{
    switch (context) {
    case 1002: return QStringLiteral("copyright.html");
    case 1003: return QStringLiteral("radionuclides.html");
    case 1004: return QStringLiteral("materials.html");
    case 1005: return QStringLiteral("bioassay.html");
    case 1006: return QStringLiteral("key-terms.html");
    case 1008: return QStringLiteral("dose-per-intake.html");
    case 1009: return QStringLiteral("task-group.html");
    case 1010: return QStringLiteral("add-radionuclides.html");
    case 1011: return QStringLiteral("radon.html");
    case 1012: return QStringLiteral("assessment.html");
    case 1013: return QStringLiteral("decay.html");
    default: return HelpTopic::Contents; // 1007, the main window, and anything unknown
    }
}

HelpWindow::HelpWindow(QString collectionFile, MessageBoxes& boxes, QWidget* parent)
    : QWidget(parent, Qt::Window)
    , m_collectionFile(std::move(collectionFile))
    , m_boxes(boxes)
{
    setWindowTitle(QStringLiteral("KAV Data Viewer Help"));
    resize(900, 620);
    // Escape and the desktop's close keys (Ctrl+W) close it, as they close a help window anywhere.
    QList<QKeySequence> closeKeys = QKeySequence::keyBindings(QKeySequence::Close);
    // Each key once: two shortcuts on one key would both stay silent.
    for (const QKeySequence& key : {QKeySequence(Qt::Key_Escape), QKeySequence(Qt::CTRL | Qt::Key_W)})
        if (!closeKeys.contains(key))
            closeKeys << key;
    for (const QKeySequence& key : closeKeys) {
        auto* shortcut = new QShortcut(key, this);
        connect(shortcut, &QShortcut::activated, this, &QWidget::close);
    }
}

HelpWindow::~HelpWindow() = default;

namespace {

// Copies the collection and the pages' file it names beside it into the folder, unless copies
// as new are there; the copy's collection, or an empty text with the problem said.
QString workingCopy(const QString& collection, const QString& folder, QString& problem)
{
    if (!QDir().mkpath(folder)) {
        problem = QStringLiteral("%1: the folder cannot be made.").arg(folder);
        return {};
    }
    const QFileInfo carried(collection);
    for (const QString& name : {carried.fileName(), carried.completeBaseName() + QStringLiteral(".qch")}) {
        const QFileInfo from(carried.absoluteDir().filePath(name));
        const QFileInfo to(folder + u'/' + name);
        if (to.exists() && to.lastModified() >= from.lastModified() && to.size() == from.size())
            continue;
        QFile::remove(to.filePath());
        QFile source(from.filePath());
        if (!source.copy(to.filePath())) {
            problem
                = QStringLiteral("%1 cannot be copied to %2: %3").arg(from.filePath(), folder, source.errorString());
            return {};
        }
        QFile::setPermissions(to.filePath(), QFile::ReadOwner | QFile::WriteOwner);
    }
    return folder + u'/' + carried.fileName();
}

} // namespace

bool HelpWindow::openEngine()
{
    if (m_engine)
        return true;
    QString problem;
    QString collection = m_collectionFile;
    if (!QFileInfo(m_collectionFile).isFile())
        problem = QStringLiteral("%1 is missing.").arg(m_collectionFile);
    else if (!m_workingFolder.isEmpty())
        collection = workingCopy(m_collectionFile, m_workingFolder, problem);
    if (problem.isEmpty()) {
        auto* engine = new QHelpEngine(collection, this);
        engine->setReadOnly(true);
        if (!engine->setupData() || engine->registeredDocumentations().isEmpty()) {
            problem = collection + QStringLiteral(": ")
                + (engine->error().isEmpty() ? QStringLiteral("it holds no help pages.") : engine->error());
            delete engine;
        } else {
            m_engine = engine;
        }
    }
    if (!m_engine) {
        m_boxes.show(MessageKind::Warning, QStringLiteral("Help"),
                     QStringLiteral("The help cannot be shown: ") + problem, ButtonOk, ButtonOk);
        return false;
    }
    buildWindow();
    return true;
}

void HelpWindow::buildWindow()
{
    m_browser = new HelpBrowser(*m_engine, this);
    m_browser->setObjectName(QStringLiteral("helpBrowser"));

    m_places = new QTabWidget(this);
    QTabWidget* places = m_places;
    QHelpContentWidget* contents = m_engine->contentWidget();
    places->addTab(contents, QStringLiteral("Contents"));
    connect(contents, &QHelpContentWidget::linkActivated, m_browser,
            [this](const QUrl& url) { m_browser->setSource(url); });
    // The contents are read in the background: shown opened once they are there.
    connect(m_engine->contentModel(), &QHelpContentModel::contentsCreated, contents,
            [contents] { contents->expandToDepth(1); });

    auto* indexPage = new QWidget;
    auto* lookFor = new QLineEdit(indexPage);
    lookFor->setPlaceholderText(QStringLiteral("Look for"));
    QHelpIndexWidget* index = m_engine->indexWidget();
    connect(lookFor, &QLineEdit::textChanged, index, [index](const QString& text) { index->filterIndices(text); });
    connect(lookFor, &QLineEdit::returnPressed, index, &QHelpIndexWidget::activateCurrentItem);
    connect(index, &QHelpIndexWidget::documentActivated, m_browser,
            [this](const QHelpLink& document, const QString&) { m_browser->setSource(document.url); });
    connect(index, &QHelpIndexWidget::documentsActivated, m_browser,
            [this](const QList<QHelpLink>& documents, const QString&) {
                if (!documents.isEmpty())
                    m_browser->setSource(documents.front().url);
            });
    auto* indexLayout = new QVBoxLayout(indexPage);
    indexLayout->addWidget(lookFor);
    indexLayout->addWidget(index, 1);
    places->addTab(indexPage, QStringLiteral("Index"));

    QHelpSearchEngine* search = m_engine->searchEngine();
    auto* searchPage = new QWidget;
    auto* searchLayout = new QVBoxLayout(searchPage);
    searchLayout->addWidget(search->queryWidget());
    searchLayout->addWidget(search->resultWidget(), 1);
    connect(search->queryWidget(), &QHelpSearchQueryWidget::search, search,
            [search] { search->search(search->queryWidget()->searchInput()); });
    connect(search->resultWidget(), &QHelpSearchResultWidget::requestShowLink, m_browser,
            [this](const QUrl& url) { m_browser->setSource(url); });
    places->addTab(searchPage, QStringLiteral("Search"));
    search->reindexDocumentation();

    auto* tools = new QToolBar(this);
    QAction* back = tools->addAction(style()->standardIcon(QStyle::SP_ArrowBack), QStringLiteral("Back"));
    QAction* forward = tools->addAction(style()->standardIcon(QStyle::SP_ArrowForward), QStringLiteral("Forward"));
    QAction* home = tools->addAction(style()->standardIcon(QStyle::SP_DirHomeIcon), QStringLiteral("Contents"));
    back->setEnabled(false);
    forward->setEnabled(false);
    connect(back, &QAction::triggered, m_browser, &QTextBrowser::backward);
    connect(forward, &QAction::triggered, m_browser, &QTextBrowser::forward);
    connect(home, &QAction::triggered, this, [this] { showTopic(HelpTopic::Contents); });
    connect(m_browser, &QTextBrowser::backwardAvailable, back, &QAction::setEnabled);
    connect(m_browser, &QTextBrowser::forwardAvailable, forward, &QAction::setEnabled);

    auto* splitter = new QSplitter(this);
    splitter->addWidget(places);
    splitter->addWidget(m_browser);
    splitter->setStretchFactor(1, 3);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(tools);
    layout->addWidget(splitter, 1);
}

bool HelpWindow::showTopic(const QString& topic)
{
    if (!openEngine())
        return false;
    m_browser->setSource(QUrl(kDocumentRoot + topic));
    // Asked for the contents, the contents are beside them, whatever was looked at last.
    if (topic == HelpTopic::Contents)
        m_places->setCurrentIndex(0);
    show();
    raise();
    activateWindow();
    return true;
}

QUrl HelpWindow::currentUrl() const
{
    return m_browser ? m_browser->source() : QUrl();
}

} // namespace kav
