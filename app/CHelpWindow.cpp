#include "app/CHelpWindow.h"

#include <QAction>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QRegularExpression>
#include <QSplitter>
#include <QStatusBar>
#include <QTextBrowser>
#include <QTextCursor>
#include <QTextDocument>
#include <QToolBar>

namespace {

constexpr int kPageRole = Qt::UserRole;

// The text of a piece of markup without its tags and entities.
QString PlainText(const QString& markup)
{
    QTextDocument document;
    document.setHtml(markup);
    return document.toPlainText().simplified();
}

}  // namespace

CHelpWindow::CHelpWindow(const QString& helpDirectory, QWidget* parent)
    : QMainWindow(parent), directory_(helpDirectory), browser_(new QTextBrowser),
      contents_(new QListWidget), search_(new QLineEdit)
{
    setWindowFlag(Qt::Window);
    setAttribute(Qt::WA_DeleteOnClose, false);
    setWindowTitle(tr("Quillet Help"));
    setAccessibleName(windowTitle());
    resize(860, 620);

    browser_->setSearchPaths({directory_});
    browser_->setOpenExternalLinks(true);
    browser_->setAccessibleName(tr("Help page"));
    contents_->setAccessibleName(tr("Contents"));
    search_->setAccessibleName(tr("Search in page"));
    search_->setPlaceholderText(tr("Search in page"));
    search_->setClearButtonEnabled(true);

    auto* splitter = new QSplitter;
    splitter->addWidget(contents_);
    splitter->addWidget(browser_);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({200, 660});
    setCentralWidget(splitter);

    // Escape and Ctrl+W close the help, as they close other viewers; in the
    // search box Escape first clears the search.
    auto* closeHelp = new QAction(tr("Close"), this);
    closeHelp->setShortcuts({QKeySequence(Qt::Key_Escape), QKeySequence(Qt::CTRL | Qt::Key_W)});
    closeHelp->setShortcutContext(Qt::WindowShortcut);
    connect(closeHelp, &QAction::triggered, this, [this] {
        if (search_->hasFocus() && !search_->text().isEmpty())
            search_->clear();
        else
            close();
    });
    addAction(closeHelp);

    auto* toolbar = addToolBar(tr("Navigation"));
    toolbar->setObjectName(QStringLiteral("HelpNavigation"));
    toolbar->setMovable(false);
    QAction* back = toolbar->addAction(QIcon::fromTheme(QStringLiteral("go-previous")), tr("&Back"),
                                       browser_, &QTextBrowser::backward);
    QAction* forward = toolbar->addAction(QIcon::fromTheme(QStringLiteral("go-next")), tr("&Forward"),
                                          browser_, &QTextBrowser::forward);
    QAction* home = toolbar->addAction(QIcon::fromTheme(QStringLiteral("go-home")), tr("&Contents"), this,
                                       [this] { ShowPage(QString::fromLatin1(kWelcomePage)); });
    back->setShortcut(QKeySequence::Back);
    forward->setShortcut(QKeySequence::Forward);
    back->setEnabled(false);
    forward->setEnabled(false);
    connect(browser_, &QTextBrowser::backwardAvailable, back, &QAction::setEnabled);
    connect(browser_, &QTextBrowser::forwardAvailable, forward, &QAction::setEnabled);
    toolbar->addSeparator();
    toolbar->addWidget(search_);
    QAction* previous = toolbar->addAction(QIcon::fromTheme(QStringLiteral("go-up")), tr("Find &Previous"),
                                           this, [this] { FindInPage(search_->text(), true); });
    QAction* next = toolbar->addAction(QIcon::fromTheme(QStringLiteral("go-down")), tr("Find &Next"), this,
                                       [this] { FindInPage(search_->text()); });
    for (QAction* action : {back, forward, home, previous, next}) {
        if (QWidget* button = toolbar->widgetForAction(action))
            button->setAccessibleName(QString(action->text()).remove(QLatin1Char('&')));
    }
    connect(search_, &QLineEdit::returnPressed, this, [this] { FindInPage(search_->text()); });
    auto* find = new QAction(this);
    find->setShortcut(QKeySequence::Find);
    connect(find, &QAction::triggered, this, [this] {
        search_->setFocus();
        search_->selectAll();
    });
    addAction(find);

    connect(browser_, &QTextBrowser::sourceChanged, this, &CHelpWindow::OnSourceChanged);
    connect(contents_, &QListWidget::itemActivated, this,
            [this](QListWidgetItem* item) { ShowPage(item->data(kPageRole).toString()); });
    connect(contents_, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { ShowPage(item->data(kPageRole).toString()); });
    FillContents();
}

void CHelpWindow::FillContents()
{
    const QString welcome = QString::fromLatin1(kWelcomePage);
    QFile file(directory_ + welcome);
    if (!file.open(QIODevice::ReadOnly))
        return;
    const QString markup = QString::fromUtf8(file.readAll());
    auto* first = new QListWidgetItem(tr("Welcome"), contents_);
    first->setData(kPageRole, welcome);
    static const QRegularExpression link(QStringLiteral(R"re(<a\s+href="([^"#:]+\.htm)"[^>]*>(.*?)</a>)re"),
                                         QRegularExpression::CaseInsensitiveOption |
                                             QRegularExpression::DotMatchesEverythingOption);
    QStringList listed{welcome};
    for (auto it = link.globalMatch(markup); it.hasNext();) {
        const QRegularExpressionMatch match = it.next();
        if (listed.contains(match.captured(1), Qt::CaseInsensitive))
            continue;
        listed << match.captured(1);
        auto* item = new QListWidgetItem(PlainText(match.captured(2)), contents_);
        item->setData(kPageRole, match.captured(1));
    }
}

bool CHelpWindow::ShowPage(const QString& fileName)
{
    const QString path = directory_ + fileName;
    if (!QFileInfo::exists(path))
        return false;
    browser_->setSource(QUrl::fromLocalFile(path));
    return true;
}

void CHelpWindow::OnSourceChanged(const QUrl& source)
{
    // The browser tells before it takes the page into its history, so its
    // own source() still names the page before.
    const QString page = source.fileName();
    // The welcome page's own title is the window's.
    const QString help = tr("Quillet Help");
    const QString title = browser_->documentTitle();
    setWindowTitle(title.isEmpty() || title == help ? help : tr("Quillet Help - %1").arg(title));
    for (int row = 0; row < contents_->count(); ++row) {
        if (contents_->item(row)->data(kPageRole).toString().compare(page, Qt::CaseInsensitive) == 0) {
            const QSignalBlocker quiet(contents_);
            contents_->setCurrentRow(row);
        }
    }
}

bool CHelpWindow::FindInPage(const QString& text, bool backward)
{
    if (text.isEmpty())
        return false;
    const QTextDocument::FindFlags flags = backward ? QTextDocument::FindBackward : QTextDocument::FindFlags();
    if (browser_->find(text, flags)) {
        statusBar()->clearMessage();
        return true;
    }
    // Wrap around: start again from the other end of the page.
    const QTextCursor before = browser_->textCursor();
    QTextCursor cursor(browser_->document());
    cursor.movePosition(backward ? QTextCursor::End : QTextCursor::Start);
    browser_->setTextCursor(cursor);
    if (browser_->find(text, flags)) {
        statusBar()->showMessage(tr("Search wrapped around the page"), 3000);
        return true;
    }
    browser_->setTextCursor(before);
    statusBar()->showMessage(tr("\"%1\" is not on this page").arg(text));
    return false;
}
