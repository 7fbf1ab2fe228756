#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>

namespace pigmora {

// Icon kinds of the program's message boxes. Every box carries the caption
// "提示"; the kind only chooses the icon.
enum class MessageIcon {
    Information,
    Warning,
    Error,
    Question,
};

// How the core talks to the person in front of the program. The core never
// shows anything itself: the desktop program answers with message boxes, the
// command-line companion with lines on stderr, the tests with a recorder.
// Texts are UTF-8.
class Notifier
{
public:
    virtual ~Notifier() = default;

    // A message box with an OK button.
    virtual void showMessage(std::string_view text, MessageIcon icon) = 0;

    // A question with Yes and No, No being the default. True means Yes.
    virtual bool askYesNo(std::string_view text) = 0;

    // A question with the given answers (button captions, UTF-8), the last
    // of which cancels it and is the default. Answers the index chosen; a
    // notifier that cannot ask answers the last.
    virtual std::size_t askChoice(std::string_view text, std::span<const std::string> answers)
    {
        (void)text;
        return answers.empty() ? 0 : answers.size() - 1;
    }
};

// Swallows messages and answers every question with No.
class SilentNotifier final : public Notifier
{
public:
    void showMessage(std::string_view, MessageIcon) override { }
    bool askYesNo(std::string_view) override { return false; }
};

} // namespace pigmora
