#pragma once

#include <QDialog>

class QProgressBar;
class QTimer;

namespace pigmora::ui {

// The splash window shown modally at start: the program's picture and a
// progress bar that steps every fourth tick of a 100 ms timer; it closes on
// the 31st tick (about 3.1 s).
class TForm_colorCardFace : public QDialog
{
    Q_OBJECT

public:
    explicit TForm_colorCardFace(QWidget *parent = nullptr);

    static constexpr int kLastTick = 30;

    int tickCount() const { return m_ticks; }
    QProgressBar *progressBar() const { return m_progress; }
    QTimer *timer() const { return m_timer; }

    // One timer tick (Timer1Timer).
    void tick();

    // The splash picture, 750 x 450: the program's name over colour swatches.
    static QImage picture();

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QProgressBar *m_progress;
    QTimer *m_timer;
    QImage m_picture;
    int m_ticks = 0;
};

} // namespace pigmora::ui
