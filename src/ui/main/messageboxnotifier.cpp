#include "main/messageboxnotifier.h"

#include "main/messagetext.h"
#include "main/uitext.h"

#include <QCoreApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QString>

#include <algorithm>
#include <vector>

namespace pigmora::ui {

namespace {

QString caption()
{
    return QCoreApplication::translate("MessageBoxNotifier", "提示");
}

QMessageBox::Icon boxIcon(MessageIcon icon)
{
    switch (icon) {
    case MessageIcon::Information:
        return QMessageBox::Information;
    case MessageIcon::Warning:
        return QMessageBox::Warning;
    case MessageIcon::Error:
        return QMessageBox::Critical;
    case MessageIcon::Question:
        return QMessageBox::Question;
    }
    return QMessageBox::NoIcon;
}

} // namespace

void MessageBoxNotifier::showMessage(std::string_view text, MessageIcon icon)
{
    QMessageBox box(boxIcon(icon), caption(), coreText(text), QMessageBox::Ok, m_parent);
    box.button(QMessageBox::Ok)->setText(QCoreApplication::translate("MessageBoxNotifier", "确定"));
    box.exec();
}

bool MessageBoxNotifier::askYesNo(std::string_view text)
{
    QMessageBox box(QMessageBox::Question, caption(), coreText(text), QMessageBox::Yes | QMessageBox::No, m_parent);
    box.button(QMessageBox::Yes)->setText(QCoreApplication::translate("MessageBoxNotifier", "是(&Y)"));
    box.button(QMessageBox::No)->setText(QCoreApplication::translate("MessageBoxNotifier", "否(&N)"));
    box.setDefaultButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

std::size_t MessageBoxNotifier::askChoice(std::string_view text, std::span<const std::string> answers)
{
    QMessageBox box(QMessageBox::Question, caption(), coreText(text), QMessageBox::NoButton, m_parent);
    std::vector<QAbstractButton *> buttons;
    for (std::size_t i = 0; i < answers.size(); ++i) {
        const bool last = i + 1 == answers.size();
        QPushButton *button
            = box.addButton(fromUtf8(answers[i]), last ? QMessageBox::RejectRole : QMessageBox::AcceptRole);
        buttons.push_back(button);
        if (last) {
            box.setDefaultButton(button);
            box.setEscapeButton(button);
        }
    }
    box.exec();
    const auto chosen = std::find(buttons.begin(), buttons.end(), box.clickedButton());
    return chosen == buttons.end() ? (answers.empty() ? 0 : answers.size() - 1)
                                   : static_cast<std::size_t>(chosen - buttons.begin());
}

void GatedNotifier::showHeld()
{
    std::vector<std::pair<std::string, MessageIcon>> held = std::move(m_held);
    m_held.clear();
    for (const auto &[text, icon] : held)
        m_target->showMessage(text, icon);
}

void GatedNotifier::showMessage(std::string_view text, MessageIcon icon)
{
    switch (m_mode) {
    case Mode::Pass:
        m_target->showMessage(text, icon);
        break;
    case Mode::Hold:
        m_held.emplace_back(text, icon);
        break;
    case Mode::Drop:
        break;
    }
}

bool GatedNotifier::askYesNo(std::string_view text)
{
    return m_mode != Mode::Drop && m_target->askYesNo(text);
}

std::size_t GatedNotifier::askChoice(std::string_view text, std::span<const std::string> answers)
{
    if (m_mode == Mode::Drop)
        return Notifier::askChoice(text, answers);
    return m_target->askChoice(text, answers);
}

} // namespace pigmora::ui
