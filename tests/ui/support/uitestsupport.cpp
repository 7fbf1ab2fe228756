#include "support/uitestsupport.h"

#include <QApplication>
#include <QTimer>

namespace pigmora::test {

void whenModalShown(std::function<void(QWidget *)> action)
{
    // Polls until a modal widget is active; each poll is one event-loop turn.
    auto poll = std::make_shared<std::function<void()>>();
    *poll = [action = std::move(action), poll]() {
        if (QWidget *modal = QApplication::activeModalWidget()) {
            action(modal);
            *poll = nullptr;
            return;
        }
        QTimer::singleShot(10, [poll]() {
            if (*poll)
                (*poll)();
        });
    };
    QTimer::singleShot(0, [poll]() { (*poll)(); });
}

} // namespace pigmora::test
