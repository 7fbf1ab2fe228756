#pragma once

#include "data/notifier.h"

class QWidget;

namespace pigmora::ui {

// The program's message boxes: caption "提示", the icon by kind, questions
// with Yes and No where No is the default button.
class MessageBoxNotifier final : public Notifier
{
public:
    // Boxes are centred on the parent (may be null, then on the screen).
    explicit MessageBoxNotifier(QWidget *parent = nullptr)
        : m_parent(parent)
    { }

    void setParent(QWidget *parent) { m_parent = parent; }

    void showMessage(std::string_view text, MessageIcon icon) override;
    bool askYesNo(std::string_view text) override;

private:
    QWidget *m_parent;
};

} // namespace pigmora::ui
