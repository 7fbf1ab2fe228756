#pragma once

#include <QDialog>

class QCheckBox;
class QLineEdit;
class QRadioButton;
class QSpinBox;
class QToolButton;

namespace pigmora::ui {

// An edit's up-down arrows (UpDown_row, UpDown_col): each click moves the
// position one step within 0..99 and writes it into the edit. A typed number
// the position starts from; the edit itself takes up to three digits.
class UpDown : public QWidget
{
    Q_OBJECT

public:
    UpDown(const QString &objectName, QLineEdit *buddy, QWidget *parent);

    static constexpr int kMinimum = 0;
    static constexpr int kMaximum = 99;

    int position() const { return m_position; }
    void setPosition(int position);
    void stepBy(int steps);

private:
    QLineEdit *m_buddy;
    int m_position = 0;
};

// The grid dialog "设置网格格数": rows and columns as typed digits, and
// whether the cells are square (of the smaller division).
class TForm_setGridCount : public QDialog
{
    Q_OBJECT

public:
    explicit TForm_setGridCount(QWidget *owner);

    void setCounts(int columns, int rows);
    // The typed counts; 8 columns and 6 rows for a text that is no number.
    int columns() const;
    int rows() const;
    void setSquareCells(bool square);
    bool squareCells() const;
    // Set only by the OK button.
    bool confirmed() const { return m_confirmed; }

private:
    QLineEdit *m_rows;
    QLineEdit *m_columns;
    UpDown *m_rowUpDown;
    UpDown *m_colUpDown;
    QCheckBox *m_square;
    bool m_confirmed = false;
};

// The mixing mode dialog "混色模式设置": 1 spatial, 0 subtractive, 2 pigment,
// one radio button each; below them the largest total of a whole-part recipe.
class TForm_setColorMixing : public QDialog
{
    Q_OBJECT

public:
    explicit TForm_setColorMixing(QWidget *owner);

    // Checks the button of the mode (an unknown mode counts as subtractive).
    void setMixingMode(int mode);
    int mixingMode() const;
    void setMaxParts(int maxParts);
    int maxParts() const;
    bool confirmed() const { return m_confirmed; }

private:
    struct Choice {
        QRadioButton *button;
        int mode;
    };
    std::vector<Choice> m_choices;
    QSpinBox *m_maxParts;
    bool m_confirmed = false;
};

} // namespace pigmora::ui
