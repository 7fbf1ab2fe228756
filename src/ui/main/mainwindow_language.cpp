// The main window's language menu (设置 → 语言 / Language): the choice is
// stored in the settings and applies at the next start.
#include "main/mainwindow.h"

#include "main/language.h"
#include "main/uitext.h"
#include "data/notifier.h"
#include "store/settings.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>

namespace pigmora::ui {

void TForm_TintoraMain::buildLanguageMenu(QMenu *settings)
{
    // The menu's own name stays readable in both languages.
    QMenu *menu = settings->addMenu(tr("语言 / Language"));
    menu->setObjectName(QStringLiteral("mi_language"));
    auto *group = new QActionGroup(menu);
    const struct {
        const char *name;
        const char *caption;
        LanguageChoice choice;
    } choices[] = {
        {"mi_languageSystem", QT_TR_NOOP("跟随系统"), LanguageChoice::System},
        {"mi_languageChinese", "中文", LanguageChoice::Chinese},
        {"mi_languageEnglish", "English", LanguageChoice::English},
    };
    for (const auto &choice : choices) {
        // A language's own name is not translated: a reader finds it either way.
        QAction *action = menu->addAction(choice.choice == LanguageChoice::System ? tr(choice.caption)
                                                                                 : fromUtf8(choice.caption));
        action->setObjectName(QString::fromLatin1(choice.name));
        action->setCheckable(true);
        action->setData(static_cast<int>(choice.choice));
        group->addAction(action);
        connect(action, &QAction::triggered, this, [this, choice = choice.choice] { chooseLanguageSetting(choice); });
    }
    connect(menu, &QMenu::aboutToShow, this, [this, group] {
        const LanguageChoice stored = m_config ? languageChoiceOf(storedText(*m_config, settingkeys::kLanguage))
                                               : LanguageChoice::System;
        for (QAction *action : group->actions())
            action->setChecked(action->data().toInt() == static_cast<int>(stored));
    });
}

void TForm_TintoraMain::chooseLanguageSetting(LanguageChoice choice)
{
    if (!m_config || !saveText(*m_config, settingkeys::kLanguage, languageSettingText(choice))) {
        m_notifier->showMessage(toUtf8(tr("语言设置未能保存!")), MessageIcon::Error);
        return;
    }
    m_notifier->showMessage(toUtf8(tr("语言将在下次启动程序时生效。\nThe language applies when the program starts next.")),
                            MessageIcon::Information);
}

} // namespace pigmora::ui
