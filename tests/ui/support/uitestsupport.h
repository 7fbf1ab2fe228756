#pragma once

#include <QObject>
#include <QString>
#include <QWidget>

#include <chrono>
#include <functional>
#include <memory>

#include <gtest/gtest.h>

namespace pigmora::test {

// The child of parent with the object name and type; fails the test loudly
// (and returns null) when there is none.
template<typename T>
T *findControl(const QObject *parent, const char *objectName)
{
    T *child = parent->findChild<T *>(QString::fromLatin1(objectName));
    EXPECT_NE(child, nullptr) << "no control " << objectName;
    return child;
}

// A scheduled answer to a modal dialog (whenModalShown). The test fails when
// no modal dialog opened before the deadline, or by the time the answer goes
// out of scope; either way it stops looking, so a dialog of a later test is
// never answered by it.
class [[nodiscard]] ModalAnswer
{
public:
    struct State;
    explicit ModalAnswer(std::shared_ptr<State> state);
    ~ModalAnswer();
    ModalAnswer(ModalAnswer &&) = default;
    ModalAnswer(const ModalAnswer &) = delete;
    ModalAnswer &operator=(const ModalAnswer &) = delete;

    bool answered() const;

private:
    std::shared_ptr<State> m_state;
};

// Runs action once the next modal dialog is open (driven from the event
// loop, so exec() does not block the test). The action gets that dialog.
ModalAnswer whenModalShown(std::function<void(QWidget *)> action,
                           std::chrono::milliseconds deadline = std::chrono::seconds(10));

} // namespace pigmora::test
