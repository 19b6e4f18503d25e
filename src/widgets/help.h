#pragma once

#include <QObject>
#include <QPointer>

class QTextBrowser;
class QWidget;

// The program's help: a Russian document shipped inside the program, with a contents
// page and numbered topics. F1 opens the topic of the focused control, of the menu
// item under the mouse, or of the nearest container that has one.
namespace Help {

void setTopic(QObject *object, int topic);

// The topic of object or of its nearest parent that has one; 0 when none has.
int topicOf(const QObject *object);

class Viewer final : public QObject
{
    Q_OBJECT
public:
    explicit Viewer(QObject *parent = nullptr);
    ~Viewer() override;

    void showContents();
    void showTopic(int topic);

    // The topic last shown; 0 for the contents.
    int shownTopic() const { return m_shownTopic; }

    // The help window once it has been shown; null before.
    QWidget *window() const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void show(const QString &anchor);
    void setOwner(QWidget *owner);

    QPointer<QTextBrowser> m_browser;
    // The modal window the help was opened over: the help is its child window, so
    // that the modal window does not block it.
    QPointer<QWidget> m_owner;
    int m_shownTopic = -1;
};

} // namespace Help
