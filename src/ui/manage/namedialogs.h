#pragma once

#include <QDialog>

#include <string>

class QLineEdit;

namespace pigmora {
class CColorManager;
class Notifier;
} // namespace pigmora

namespace pigmora::ui {

// The name of a new colour box or palette (the kind, e.g. "色板"): the first
// free "新建<kind>N" is proposed when the dialog is first shown, and OK checks
// the typed name before create() stores the entry. Subclasses lay out the
// fields.
class NewNameDialog : public QDialog
{
    Q_OBJECT

public:
    bool changed() const { return m_changed; }
    // The first free "新建<kind>N", as the dialog proposes it on showing.
    QString proposedName() const;

public Q_SLOTS:
    void BitBtn_okClick();

protected:
    NewNameDialog(const QString &kind, const char *nameEdit, CColorManager &colors, Notifier *notifier,
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
    QString m_kind;
    bool m_changed = false;
    bool m_shownOnce = false;
};

// A new name for a colour box or palette (the kind); the old one is shown
// disabled above it.
class RenameDialog : public QDialog
{
    Q_OBJECT

public:
    void setOldName(const QString &name);
    bool changed() const { return m_changed; }

public Q_SLOTS:
    void BitBtn_okClick();

protected:
    RenameDialog(const QString &kind, const char *oldNameEdit, const char *newNameEdit, CColorManager &colors,
                 Notifier *notifier, QWidget *parent);
    virtual bool taken(const std::string &name) const = 0;
    // Stores the new name; false when that failed.
    virtual bool rename(const std::string &oldName, const std::string &newName) = 0;

    CColorManager &m_colors;

private:
    QString m_kind;
    Notifier *m_notifier;
    bool m_changed = false;
    QLineEdit *m_oldName;
    QLineEdit *m_newName;
};

} // namespace pigmora::ui
