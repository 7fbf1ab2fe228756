#pragma once

#include <QDialog>

class QLineEdit;
class QListWidget;

namespace pigmora {
class CColorManager;
class Notifier;
} // namespace pigmora

namespace pigmora::ui {

// The list of all palettes with create, delete and rename; every change goes
// to the palette file at once.
class TForm_colorPanelManager final : public QDialog
{
    Q_OBJECT

public:
    TForm_colorPanelManager(CColorManager &colors, Notifier *notifier, QWidget *parent = nullptr);

    // Refills the list and selects the first palette.
    void refreshPaletteList();
    bool changed() const { return m_changed; }

public Q_SLOTS:
    void BitBtn_createPanelClick();
    void BitBtn_deletePanelClick();
    void BitBtn_renamePanelClick();

private:
    QString selectedName() const;

    CColorManager &m_colors;
    Notifier *m_notifier;
    bool m_changed = false;
    QListWidget *m_list;
};

// The name of a new palette.
class TForm_createColorPanel final : public QDialog
{
    Q_OBJECT

public:
    TForm_createColorPanel(CColorManager &colors, Notifier *notifier, QWidget *parent = nullptr);
    bool changed() const { return m_changed; }
    // The first free "新建色板N", as the dialog proposes it on showing.
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
    QLineEdit *m_name;
};

// A new name for a palette; the old one is shown disabled.
class TForm_colorPanelRename final : public QDialog
{
    Q_OBJECT

public:
    TForm_colorPanelRename(CColorManager &colors, Notifier *notifier, QWidget *parent = nullptr);
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
