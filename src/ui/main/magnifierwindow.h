#pragma once

#include "main/viewsource.h"

#include <QImage>
#include <QWidget>

namespace pigmora::ui {

// The content of PaintBox_Magnifier: the last 280 x 200 area copied into it,
// kept so that the window repaints it when uncovered. One magnified pixel is
// one device pixel.
class MagnifierBox : public QWidget
{
    Q_OBJECT

public:
    explicit MagnifierBox(QWidget *parent = nullptr);

    // Copies the source area of the picture; the part outside it is white.
    void showArea(const ViewSource &source, const QRect &area);
    const QImage &content() const { return m_content; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QImage m_content;
};

// The magnifier window "放大镜": always on top, without title-bar buttons
// (the toolbar button hides it), a 280 x 200 client area. Created on first
// use and then shown and hidden.
class TForm_magnifier : public QWidget
{
    Q_OBJECT

public:
    explicit TForm_magnifier(QWidget *owner);

    MagnifierBox *box() const { return m_box; }
    // Centres the window on the owner the first time it is shown.
    void showCentredOnce();

private:
    MagnifierBox *m_box;
    bool m_placed = false;
};

} // namespace pigmora::ui
