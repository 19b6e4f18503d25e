#include "console/aboutbox.h"

#include "console/version.h"
#include "widgets/appearance.h"

#include <QDesktopServices>
#include <QFrame>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>

namespace {

// The program's picture: the test station with its antenna and display.
QPixmap stationPicture()
{
    QPixmap pixmap(115, 83);
    pixmap.fill(QColor(0, 64, 128));
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Qt::white, 2));
    p.setBrush(QColor(192, 192, 192));
    p.drawRoundedRect(QRectF(14, 36, 86, 38), 4, 4);
    p.setBrush(QColor(0, 0, 0));
    p.drawRect(QRectF(22, 44, 40, 14));
    p.setPen(QColor(0, 255, 0));
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(10);
    font.setBold(true);
    p.setFont(font);
    p.drawText(QRectF(22, 44, 40, 14), Qt::AlignCenter, QStringLiteral("ТЕЛВ-2"));
    p.setPen(QPen(Qt::white, 2));
    p.drawLine(QPointF(85, 36), QPointF(85, 14));
    p.setPen(QPen(QColor(255, 255, 0), 1.5));
    for (int r : { 5, 9, 13 }) {
        p.drawArc(QRectF(85 - r, 14 - r, 2 * r, 2 * r), 20 * 16, 50 * 16);
    }
    p.setBrush(QColor(255, 0, 0));
    p.setPen(Qt::NoPen);
    p.drawEllipse(QRectF(72, 48, 7, 7));
    p.setBrush(QColor(0, 200, 0));
    p.drawEllipse(QRectF(84, 48, 7, 7));
    return pixmap;
}

// A label that acts as a link: bold blue, hand cursor, clicked runs a handler.
class LinkLabel final : public QLabel
{
public:
    LinkLabel(const QString &text, std::function<void()> onClick, QWidget *parent)
        : QLabel(text, parent)
        , m_onClick(std::move(onClick))
    {
        QFont f = font();
        f.setBold(true);
        f.setPixelSize(16);
        setFont(f);
        QPalette palette = this->palette();
        palette.setColor(QPalette::WindowText, Qt::blue);
        setPalette(palette);
        setCursor(Qt::PointingHandCursor);
    }

protected:
    void mouseReleaseEvent(QMouseEvent *event) override
    {
        if (event->button() == Qt::LeftButton) {
            m_onClick();
        }
    }

private:
    std::function<void()> m_onClick;
};

QLabel *line(const QString &text, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setAlignment(Qt::AlignHCenter);
    label->setWordWrap(true);
    return label;
}

} // namespace

TAboutBox::TAboutBox(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("AboutBox"));
    setWindowTitle(QStringLiteral("Сведения о программе"));
    setFixedSize(324, 292);

    auto *panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("Panel1"));
    panel->setFrameShape(QFrame::Panel);
    panel->setFrameShadow(QFrame::Raised);
    panel->setGeometry(8, 8, 308, 240);

    auto *layout = new QVBoxLayout(panel);
    layout->setSpacing(1);
    auto *picture = new QLabel(panel);
    picture->setObjectName(QStringLiteral("ProgramIcon"));
    picture->setPixmap(stationPicture());
    picture->setFixedSize(115, 83);
    picture->setScaledContents(true);
    layout->addWidget(picture, 0, Qt::AlignHCenter);

    auto *product = line(QStringLiteral("Программа ТЕЛВ-2"), panel);
    product->setObjectName(QStringLiteral("ProductName"));
    QFont big = product->font();
    big.setBold(true);
    product->setFont(big);
    layout->addWidget(product);
    layout->addWidget(line(QStringLiteral("Версия ") + ProgramVersion(), panel));
    layout->addWidget(line(QStringLiteral("Разработчик: группа ПО ТЕЛВ-2"), panel));
    layout->addWidget(line(QStringLiteral("Адрес: 000000, Россия"), panel));
    layout->addWidget(
        line(QStringLiteral("Тел.: +7 (000) 000-00-00, факс: +7 (000) 000-00-01"), panel));

    m_mail = new LinkLabel(
        QStringLiteral("telv2@example.org"), [this] { Label2Click(); }, panel);
    m_mail->setObjectName(QStringLiteral("Label2"));
    m_mail->setFixedHeight(16);
    layout->addWidget(m_mail, 0, Qt::AlignHCenter);
    m_web = new LinkLabel(
        QStringLiteral("https://example.org/telv2"), [this] { Label3Click(); }, panel);
    m_web->setObjectName(QStringLiteral("Label3"));
    m_web->setFixedHeight(16);
    layout->addWidget(m_web, 0, Qt::AlignHCenter);

    m_tables = line(QString(), panel);
    m_tables->setObjectName(QStringLiteral("TablesDirectory"));
    m_tables->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(m_tables);

    auto *ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("OKButton"));
    ok->setGeometry(124, 256, 76, 26);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}

void TAboutBox::setDatabase(const QString &description)
{
    m_tables->setText(QStringLiteral("Таблицы: ") + description);
}

void TAboutBox::showEvent(QShowEvent *event)
{
    // In the middle of the screen, not of the main window, every time it opens.
    CentreOnScreen(*this, parentWidget());
    QDialog::showEvent(event);
}

void TAboutBox::Label2Click()
{
    QDesktopServices::openUrl(QUrl(QStringLiteral("mailto:") + m_mail->text()));
}

void TAboutBox::Label3Click()
{
    QDesktopServices::openUrl(QUrl(m_web->text()));
}
