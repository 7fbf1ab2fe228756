#pragma once

#include "manage/namedialogs.h"

class QComboBox;

namespace pigmora::ui {

// Name and colour group of a new, empty colour box.
class TForm_createColorBox final : public NewNameDialog
{
    Q_OBJECT

public:
    TForm_createColorBox(CColorManager &colors, Notifier *notifier, QWidget *parent = nullptr);

private:
    bool taken(const std::string &name) const override;
    bool readyToCreate() override;
    bool create(const std::string &name) override;

    QComboBox *m_groups;
};

// A new name for a colour box; the old one is shown disabled.
class TForm_colorBoxRename final : public RenameDialog
{
    Q_OBJECT

public:
    TForm_colorBoxRename(CColorManager &colors, Notifier *notifier, QWidget *parent = nullptr);

private:
    bool taken(const std::string &name) const override;
    bool rename(const std::string &oldName, const std::string &newName) override;
};

} // namespace pigmora::ui
