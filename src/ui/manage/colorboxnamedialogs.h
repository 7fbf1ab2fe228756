#pragma once

#include <QDialog>

class QComboBox;
class QLineEdit;

namespace pigmora {
class CColorManager;
class Notifier;
} // namespace pigmora

namespace pigmora::ui {

// Name and colour group of a new, empty colour box.
class TForm_createColorBox final : public QDialog
{
    Q_OBJECT

public:
    TForm_createColorBox(CColorManager &colors, Notifier *notifier, QWidget *parent = nullptr);
    bool changed() const { return m_changed; }
    // The first free "新建颜色盒N", as the dialog proposes it on showing.
    QString proposedName() const;

public Q_SLOTS:
    void BitBtn_okClick();

protected:
    void showEvent(QShowEvent *event) override;

private:
    CColorManager &m_colors;
    Notifier *m_notifier;
    bool m_changed = false;
    bool m_shownOnce = false;
    QComboBox *m_groups;
    QLineEdit *m_name;
};

// A new name for a colour box; the old one is shown disabled.
class TForm_colorBoxRename final : public QDialog
{
    Q_OBJECT

public:
    TForm_colorBoxRename(CColorManager &colors, Notifier *notifier, QWidget *parent = nullptr);
    void setOldName(const QString &name);
    bool changed() const { return m_changed; }

public Q_SLOTS:
    void BitBtn_okClick();

private:
    CColorManager &m_colors;
    Notifier *m_notifier;
    bool m_changed = false;
    QLineEdit *m_oldName;
    QLineEdit *m_newName;
};

} // namespace pigmora::ui
