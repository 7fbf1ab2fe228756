#pragma once

#include <QDialog>
#include <QString>

#include <string>

class QLineEdit;

namespace pigmora {
class CColorManager;
class Notifier;
} // namespace pigmora

namespace pigmora::ui {

// The fixed texts of a name dialog, each as the user reads it.
struct NameDialogTexts {
    QString title = {}; // "新建颜色盒", "色板改名", ...
    QString emptyName = {}; // "颜色盒名称不能为空!"
    QString nameTaken = {}; // "相同名称的颜色盒已经存在!"
    QString failed = {}; // "新建颜色盒失败!", "色板改名失败!"
    QString proposedPrefix = {}; // new names: "新建颜色盒" (then N)
    QString oldLabel = {}; // renames: "原颜色盒名称："
    QString newLabel = {}; // renames: "新颜色盒名称："
};

// The name of a new colour box or palette: the first free proposed name
// (prefix then N) is offered when the dialog is first shown, and OK checks
// the typed name before create() stores the entry. Subclasses lay out the
// fields.
class NewNameDialog : public QDialog
{
    Q_OBJECT

public:
    bool changed() const { return m_changed; }
    // The first free proposed name, as the dialog offers it on showing.
    QString proposedName() const;

public Q_SLOTS:
    void BitBtn_okClick();

protected:
    NewNameDialog(NameDialogTexts texts, const char *nameEdit, CColorManager &colors, Notifier *notifier,
                  QWidget *parent);
    void showEvent(QShowEvent *event) override;
    virtual bool taken(const std::string &name) const = 0;
    // Whatever else must be chosen is chosen; false after saying what is not.
    virtual bool readyToCreate() { return true; }
    // Stores the new entry; false when that failed.
    virtual bool create(const std::string &name) = 0;

    CColorManager &m_colors;
    Notifier *m_notifier;
    QLineEdit *m_name;

private:
    NameDialogTexts m_texts;
    bool m_changed = false;
    bool m_shownOnce = false;
};

// A new name for a colour box or palette; the old one is shown disabled
// above it.
class RenameDialog : public QDialog
{
    Q_OBJECT

public:
    void setOldName(const QString &name);
    bool changed() const { return m_changed; }

public Q_SLOTS:
    void BitBtn_okClick();

protected:
    RenameDialog(NameDialogTexts texts, const char *oldNameEdit, const char *newNameEdit, CColorManager &colors,
                 Notifier *notifier, QWidget *parent);
    virtual bool taken(const std::string &name) const = 0;
    // Stores the new name; false when that failed.
    virtual bool rename(const std::string &oldName, const std::string &newName) = 0;

    CColorManager &m_colors;

private:
    NameDialogTexts m_texts;
    Notifier *m_notifier;
    bool m_changed = false;
    QLineEdit *m_oldName;
    QLineEdit *m_newName;
};

} // namespace pigmora::ui
