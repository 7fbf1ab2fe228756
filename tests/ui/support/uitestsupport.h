#pragma once

#include <QObject>
#include <QString>
#include <QWidget>

#include <functional>
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

// Runs action once the next modal dialog is open (driven from the event
// loop, so exec() does not block the test). The action gets that dialog.
void whenModalShown(std::function<void(QWidget *)> action);

} // namespace pigmora::test
