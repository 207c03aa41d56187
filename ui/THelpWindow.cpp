#include "ui/THelpWindow.h"

#include "ui/HelpContexts.h"

#include <QCoreApplication>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QPointer>
#include <QPushButton>
#include <QShortcut>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace {

QPointer<THelpWindow> g_instance;

const QString kCaption = QStringLiteral("Jukarium Help");

}  // namespace

THelpWindow::THelpWindow(const QString& helpDirectory, QWidget* owner)
    : QWidget(owner, Qt::Window)
    , m_directory(helpDirectory)
{
    setObjectName(QStringLiteral("HelpWindow"));
    setWindowTitle(kCaption);
    resize(560, 480);

    btnContents = new QPushButton(QStringLiteral("&Contents"), this);
    btnContents->setObjectName(QStringLiteral("btnContents"));
    btnBack = new QPushButton(QStringLiteral("&Back"), this);
    btnBack->setObjectName(QStringLiteral("btnBack"));
    btnBack->setEnabled(false);
    btnForward = new QPushButton(QStringLiteral("&Forward"), this);
    btnForward->setObjectName(QStringLiteral("btnForward"));
    btnForward->setEnabled(false);
    m_browser = new QTextBrowser(this);
    m_browser->setObjectName(QStringLiteral("Browser"));
    m_browser->setOpenLinks(true);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(btnContents);
    buttons->addWidget(btnBack);
    buttons->addWidget(btnForward);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(m_browser);

    connect(btnContents, &QPushButton::clicked, this, &THelpWindow::Contents);
    connect(btnBack, &QPushButton::clicked, this, &THelpWindow::Back);
    connect(btnForward, &QPushButton::clicked, this, &THelpWindow::Forward);
    connect(m_browser, &QTextBrowser::backwardAvailable, btnBack, &QWidget::setEnabled);
    connect(m_browser, &QTextBrowser::forwardAvailable, btnForward, &QWidget::setEnabled);
    connect(m_browser, &QTextBrowser::sourceChanged, this, [this] {
        const QString title = m_browser->documentTitle();
        setWindowTitle(title.isEmpty() ? kCaption : title + QStringLiteral(" - ") + kCaption);
    });
    auto* closeOnEscape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(closeOnEscape, &QShortcut::activated, this, &QWidget::close);
    if (owner)
        owner->installEventFilter(this);
}

void THelpWindow::ShowHelp(int context, QWidget* parent)
{
    ShowPage(HelpPage(context), parent);
}

void THelpWindow::ShowPage(const QString& page, QWidget* parent)
{
    if (!g_instance)
        g_instance = new THelpWindow(HelpDirectory(), parent ? parent->window() : nullptr);
    else
        g_instance->adoptOwner(parent);
    g_instance->Open(page);
    g_instance->show();
    g_instance->raise();
    g_instance->activateWindow();
}

THelpWindow* THelpWindow::Instance()
{
    return g_instance;
}

QStringList THelpWindow::HelpDirectoryCandidates()
{
    const QString programDir = QCoreApplication::applicationDirPath();
    return {QDir::cleanPath(programDir + QStringLiteral("/../share/jukarium/help")),
            programDir + QStringLiteral("/help"), QStringLiteral(JK_SOURCE_HELP_DIR)};
}

QString THelpWindow::FindHelpDirectory(const QStringList& candidates)
{
    for (const QString& candidate : candidates) {
        if (QFileInfo::exists(candidate + QStringLiteral("/") + HelpContexts::kContentsPage))
            return candidate;
    }
    return {};
}

QString THelpWindow::HelpDirectory()
{
    return FindHelpDirectory(HelpDirectoryCandidates());
}

void THelpWindow::Open(const QString& page)
{
    if (m_directory.isEmpty()) {
        showNote(QStringLiteral("The help pages are not installed."));
        return;
    }
    const QString fileName = page.section(QLatin1Char('#'), 0, 0);
    const QString anchor = page.section(QLatin1Char('#'), 1);
    const QString path = QDir(m_directory).filePath(fileName);
    if (!QFileInfo(path).isFile()) {
        showNote(QStringLiteral("The help page \"%1\" is missing.").arg(fileName));
        return;
    }
    QUrl url = QUrl::fromLocalFile(path);
    if (!anchor.isEmpty())
        url.setFragment(anchor);
    m_browser->setSource(url);
}

QString THelpWindow::CurrentPage() const
{
    const QUrl source = m_browser->source();
    if (!source.isLocalFile())
        return {};
    QString page = QDir(m_directory).relativeFilePath(source.toLocalFile());
    if (source.hasFragment())
        page += QStringLiteral("#") + source.fragment();
    return page;
}

void THelpWindow::Contents()
{
    Open(HelpContexts::kContentsPage);
}

void THelpWindow::Back()
{
    m_browser->backward();
}

void THelpWindow::Forward()
{
    m_browser->forward();
}

void THelpWindow::showNote(const QString& text)
{
    m_browser->setSource(QUrl());
    m_browser->setPlainText(text);
    setWindowTitle(kCaption);
}

void THelpWindow::adoptOwner(QWidget* requester)
{
    QWidget* owner = requester ? requester->window() : nullptr;
    if (owner == nullptr || owner == this || owner == parentWidget())
        return;
    const QRect place = geometry();
    const bool wasVisible = isVisible();
    if (parentWidget())
        parentWidget()->removeEventFilter(this);
    setParent(owner, windowFlags());  // setParent hides the window
    owner->installEventFilter(this);
    if (wasVisible) {
        setGeometry(place);
        show();
    }
}

bool THelpWindow::eventFilter(QObject* watched, QEvent* event)
{
    // The owner closing (not being minimised) hands the help on to the owner's own owner, so
    // help opened from a dialog stays open after the dialog. A window without an owner is never
    // made parentless: it would keep the program running after the main window closed.
    if (watched == parentWidget() && event->type() == QEvent::Hide && !event->spontaneous()) {
        QWidget* next = parentWidget()->parentWidget();
        if (next && isVisible())
            adoptOwner(next);
    }
    return QWidget::eventFilter(watched, event);
}
