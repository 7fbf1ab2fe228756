#include "support/uitestsupport.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>

namespace pigmora::test {

struct ModalAnswer::State {
    std::function<void(QWidget *)> action;
    std::chrono::milliseconds deadline;
    QElapsedTimer since;
    bool looking = true;
    bool answered = false;
};

namespace {

// One look per event-loop turn until a modal widget is active or the
// deadline has passed.
void look(const std::shared_ptr<ModalAnswer::State> &state)
{
    if (!state->looking)
        return;
    if (QWidget *modal = QApplication::activeModalWidget()) {
        state->looking = false;
        state->answered = true;
        state->action(modal);
        return;
    }
    if (state->since.elapsed() > state->deadline.count()) {
        state->looking = false;
        ADD_FAILURE() << "no modal dialog opened within " << state->deadline.count() << " ms";
        return;
    }
    QTimer::singleShot(10, [state]() { look(state); });
}

} // namespace

ModalAnswer::ModalAnswer(std::shared_ptr<State> state)
    : m_state(std::move(state))
{ }

ModalAnswer::~ModalAnswer()
{
    if (m_state && m_state->looking) {
        m_state->looking = false;
        ADD_FAILURE() << "the modal dialog to be answered never opened";
    }
}

bool ModalAnswer::answered() const
{
    return m_state && m_state->answered;
}

ModalAnswer whenModalShown(std::function<void(QWidget *)> action, std::chrono::milliseconds deadline)
{
    auto state = std::make_shared<ModalAnswer::State>();
    state->action = std::move(action);
    state->deadline = deadline;
    state->since.start();
    QTimer::singleShot(0, [state]() { look(state); });
    return ModalAnswer(state);
}

} // namespace pigmora::test
