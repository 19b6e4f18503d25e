#include "widgets/help.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QTextBrowser>

namespace {

const char *const TopicProperty = "helpTopic";

} // namespace

void Help::setTopic(QObject *object, int topic)
{
    object->setProperty(TopicProperty, topic);
}

int Help::topicOf(const QObject *object)
{
    for (; object != nullptr; object = object->parent()) {
        const int topic = object->property(TopicProperty).toInt();
        if (topic > 0) {
            return topic;
        }
    }
    return 0;
}

Help::Viewer::Viewer(QObject *parent)
    : QObject(parent)
{
    qApp->installEventFilter(this);
}

Help::Viewer::~Viewer()
{
    delete m_browser;
}

void Help::Viewer::showContents()
{
    m_shownTopic = 0;
    show(QStringLiteral("contents"));
}

void Help::Viewer::showTopic(int topic)
{
    m_shownTopic = topic;
    show(QStringLiteral("topic%1").arg(topic));
}

QWidget *Help::Viewer::window() const
{
    return m_browser;
}

void Help::Viewer::show(const QString &anchor)
{
    if (!m_browser) {
        m_browser = new QTextBrowser;
        m_browser->setObjectName(QStringLiteral("HelpViewer"));
        m_browser->setWindowTitle(QStringLiteral("ТЕЛВ-2: справка"));
        m_browser->setOpenExternalLinks(false);
        m_browser->resize(640, 520);
        m_browser->setSource(QUrl(QStringLiteral("qrc:/help/telv_help.html")));
    }
    // A modal window blocks every window but its own children.
    setOwner(QApplication::activeModalWidget());
    m_browser->scrollToAnchor(anchor);
    m_browser->show();
    m_browser->raise();
    m_browser->activateWindow();
}

void Help::Viewer::setOwner(QWidget *owner)
{
    if (owner == m_owner || owner == m_browser) {
        return;
    }
    m_owner = owner;
    const bool shown = m_browser->isVisible();
    const QRect geometry = m_browser->geometry();
    m_browser->setParent(owner, Qt::Window); // hides it
    if (shown) {
        m_browser->setGeometry(geometry);
        m_browser->show();
    }
}

bool Help::Viewer::eventFilter(QObject *watched, QEvent *event)
{
    // Closed modal windows give the help back to the desktop; a message box is
    // deleted after closing and would take the help with it.
    if (event->type() == QEvent::Hide && watched == m_owner && m_browser
        && !event->spontaneous()) {
        setOwner(nullptr);
        return false;
    }
    if (event->type() != QEvent::KeyPress || static_cast<QKeyEvent *>(event)->key() != Qt::Key_F1
        || !watched->isWidgetType()) {
        return false;
    }
    int topic = 0;
    if (auto *menu = qobject_cast<QMenu *>(watched)) {
        topic = menu->activeAction() ? topicOf(menu->activeAction()) : 0;
        if (topic == 0) {
            topic = topicOf(menu);
        }
    } else {
        topic = topicOf(QApplication::focusWidget() ? QApplication::focusWidget() : watched);
    }
    if (topic > 0) {
        showTopic(topic);
    } else {
        showContents();
    }
    return true;
}
