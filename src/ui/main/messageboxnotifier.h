#pragma once

#include "data/notifier.h"

#include <string>
#include <utility>
#include <vector>

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
    std::size_t askChoice(std::string_view text, std::span<const std::string> answers) override;

private:
    QWidget *m_parent;
};

// Passes messages on to another notifier, holds them back until it is known
// whether they still apply, or drops them. Questions are always passed on
// (answered No while dropping). The stores keep a pointer to it for the
// whole run, so start-up can hold their messages and pass later ones.
class GatedNotifier final : public Notifier
{
public:
    enum class Mode { Pass, Hold, Drop };

    explicit GatedNotifier(Notifier *target)
        : m_target(target)
    { }

    void setMode(Mode mode) { m_mode = mode; }
    // Passes the held messages on, in order, and forgets them.
    void showHeld();
    void dropHeld() { m_held.clear(); }

    void showMessage(std::string_view text, MessageIcon icon) override;
    bool askYesNo(std::string_view text) override;
    std::size_t askChoice(std::string_view text, std::span<const std::string> answers) override;

private:
    Notifier *m_target;
    Mode m_mode = Mode::Pass;
    std::vector<std::pair<std::string, MessageIcon>> m_held;
};

} // namespace pigmora::ui
