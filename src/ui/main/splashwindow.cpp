#include "main/splashwindow.h"

#include <QLinearGradient>
#include <QPainter>
#include <QProgressBar>
#include <QScreen>
#include <QTimer>

namespace pigmora::ui {

TForm_colorCardFace::TForm_colorCardFace(QWidget *parent)
    : QDialog(parent, Qt::SplashScreen | Qt::FramelessWindowHint)
    , m_progress(new QProgressBar(this))
    , m_timer(new QTimer(this))
    , m_picture(picture())
{
    setObjectName(QStringLiteral("TForm_colorCardFace"));
    setFixedSize(m_picture.size());
    m_progress->setObjectName(QStringLiteral("ProgressBar1"));
    m_progress->setRange(0, 100);
    m_progress->setValue(0);
    m_progress->setTextVisible(false);
    m_progress->setGeometry(40, height() - 36, width() - 80, 10);
    m_progress->setStyleSheet(QStringLiteral("QProgressBar { border: 1px solid #222; background: #f4f1ea; }"
                                             "QProgressBar::chunk { background: black; }"));
    m_timer->setObjectName(QStringLiteral("Timer1"));
    m_timer->setInterval(100);
    connect(m_timer, &QTimer::timeout, this, &TForm_colorCardFace::tick);
    m_timer->start();
    if (const QScreen *screen = this->screen())
        move(screen->geometry().center() - rect().center());
}

void TForm_colorCardFace::tick()
{
    ++m_ticks;
    if (m_ticks > kLastTick) {
        m_timer->stop();
        accept();
        return;
    }
    if ((m_ticks & 3) == 1)
        m_progress->setValue((m_progress->value() + 10) % 110);
}

QImage TForm_colorCardFace::picture()
{
    QImage image(750, 450, QImage::Format_RGB32);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient paper(0, 0, 0, 450);
    paper.setColorAt(0, QColor(250, 247, 240));
    paper.setColorAt(1, QColor(232, 225, 210));
    painter.fillRect(image.rect(), paper);

    // A row of paint swatches, as on a colour card.
    const QColor paints[] = {{196, 30, 58},  {227, 100, 20}, {243, 200, 30}, {120, 170, 60},
                             {30, 120, 110}, {40, 80, 160},  {90, 50, 130},  {60, 45, 40}};
    const int count = static_cast<int>(std::size(paints));
    const int width = 70;
    const int left = (750 - count * (width + 12) + 12) / 2;
    for (int i = 0; i < count; ++i) {
        const QRectF swatch(left + i * (width + 12), 250, width, 110);
        painter.setPen(QPen(QColor(60, 50, 40), 1.5));
        painter.setBrush(paints[i]);
        painter.drawRoundedRect(swatch, 8, 8);
    }

    QFont title(QStringLiteral("Noto Serif CJK SC"));
    title.setPixelSize(72);
    title.setBold(true);
    painter.setFont(title);
    painter.setPen(QColor(50, 40, 35));
    painter.drawText(QRect(0, 70, 750, 100), Qt::AlignCenter, QStringLiteral("Pigmora"));
    QFont subtitle(QStringLiteral("Noto Sans CJK SC"));
    subtitle.setPixelSize(22);
    painter.setFont(subtitle);
    painter.setPen(QColor(90, 80, 70));
    painter.drawText(QRect(0, 170, 750, 40), Qt::AlignCenter, tr("照片取色 · 颜料调色"));
    return image;
}

void TForm_colorCardFace::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.drawImage(rect(), m_picture);
}

} // namespace pigmora::ui
