#include "main/magnifierwindow.h"

#include "main/viewgeometry.h"

#include <QPainter>
#include <QScreen>
#include <QVBoxLayout>

#include <cmath>

namespace pigmora::ui {

MagnifierBox::MagnifierBox(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("PaintBox_Magnifier"));
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void MagnifierBox::showArea(const ViewSource &source, const QRect &area)
{
    m_content = QImage(area.size(), QImage::Format_RGB32);
    m_content.fill(Qt::white);
    QPainter painter(&m_content);
    source.draw(painter, QPoint(0, 0), area);
    painter.end();
    update();
}

void MagnifierBox::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().window());
    if (m_content.isNull())
        return;
    // Device pixels one to one: the image carries the screen's pixel ratio.
    QImage shown = m_content;
    shown.setDevicePixelRatio(devicePixelRatioF());
    painter.drawImage(QPoint(0, 0), shown);
}

TForm_magnifier::TForm_magnifier(QWidget *owner)
    : QWidget(owner, Qt::Tool | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
    , m_box(new MagnifierBox(this))
{
    setObjectName(QStringLiteral("TForm_magnifier"));
    setWindowTitle(tr("放大镜"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_box);
    // 280 x 200 device pixels of magnified picture.
    const qreal ratio = devicePixelRatioF();
    setFixedSize(static_cast<int>(std::ceil(geometry::kMagnifierSize.width() / ratio)),
                 static_cast<int>(std::ceil(geometry::kMagnifierSize.height() / ratio)));
}

void TForm_magnifier::showCentredOnce()
{
    if (!m_placed && parentWidget()) {
        const QWidget *owner = parentWidget()->window();
        const QPoint centre = owner->mapToGlobal(owner->rect().center());
        move(centre - QPoint(width() / 2, height() / 2));
        m_placed = true;
    }
    show();
}

} // namespace pigmora::ui
