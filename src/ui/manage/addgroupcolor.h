#pragma once

#include "data/color.h"
#include "data/records.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

namespace pigmora {
class CColorManager;
class CStandardColorCard;
class Notifier;
} // namespace pigmora

namespace pigmora::ui {

class ColorPreviewCard;

// The dialog in which one paint's colour and name are entered: adds a paint
// to a colour group, or (with a record) changes the colour of one.
class TForm_addGroupColor final : public QDialog
{
    Q_OBJECT

public:
    TForm_addGroupColor(CColorManager &colors, const CStandardColorCard *cards, Notifier *notifier,
                        QWidget *parent = nullptr);

    void setGroupName(const QString &groupName);
    // Switches to modify mode on the paint of a list entry.
    void setModifyRecord(const PaintColorRecord &record);

    bool changed() const { return m_changed; }
    RgbColor color() const { return m_color; }

    // Takes "#RRGGBB" (or "RRGGBB"); false, and no change, for anything else.
    bool setColorText(const QString &text);

public Q_SLOTS:
    void bbtn_okClick();
    void pickColor();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void channelChanged(QLineEdit *edit, std::int32_t RgbColor::*channel);
    void updatePantone();
    void formShow();

    CColorManager &m_colors;
    const CStandardColorCard *m_cards;
    Notifier *m_notifier;
    RgbColor m_color{179, 24, 28};
    bool m_modify = false;
    PaintColorRecord m_record;
    bool m_changed = false;
    bool m_shownOnce = false;

    ColorPreviewCard *m_preview;
    QLineEdit *m_red;
    QLineEdit *m_green;
    QLineEdit *m_blue;
    QLineEdit *m_hex;
    QLabel *m_colorType;
    QLineEdit *m_name;
    QLineEdit *m_pantone;
};

} // namespace pigmora::ui
