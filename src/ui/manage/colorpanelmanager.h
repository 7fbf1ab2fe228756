#pragma once

#include "manage/namedialogs.h"

#include <QDialog>

class QListWidget;

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
    // Asks for a GIMP palette file and the new palette's name, then imports.
    void BitBtn_importPanelClick();

public:
    // Imports the GIMP palette file as a new palette of that name, all or
    // nothing; says what was imported or why nothing was.
    bool importPalette(const QString &path, const QString &name);

private:
    QString selectedName() const;

    CColorManager &m_colors;
    Notifier *m_notifier;
    bool m_changed = false;
    QListWidget *m_list;
};

// The name of a new palette.
class TForm_createColorPanel final : public NewNameDialog
{
    Q_OBJECT

public:
    TForm_createColorPanel(CColorManager &colors, Notifier *notifier, QWidget *parent = nullptr);

private:
    bool taken(const std::string &name) const override;
    bool create(const std::string &name) override;
};

// A new name for a palette; the old one is shown disabled.
class TForm_colorPanelRename final : public RenameDialog
{
    Q_OBJECT

public:
    TForm_colorPanelRename(CColorManager &colors, Notifier *notifier, QWidget *parent = nullptr);

private:
    bool taken(const std::string &name) const override;
    bool rename(const std::string &oldName, const std::string &newName) override;
};

} // namespace pigmora::ui
