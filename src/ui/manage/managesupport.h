#pragma once

#include "data/notifier.h"
#include "main/uitext.h"

#include <QString>

#include <functional>

class QDialog;
class QLayout;
class QLineEdit;
class QListWidget;
class QPushButton;
class QWidget;

#include <cstddef>
#include <initializer_list>
#include <optional>
#include <string>
#include <utility>

namespace pigmora::ui {

// Stored field widths of the names the management windows write: paint names
// in their records, box and palette names in the table files' directories.
inline constexpr std::size_t kPaintNameBytes = 20;
inline constexpr std::size_t kEntryNameBytes = 31;

// The refusal for a name GBK cannot hold (an emoji, say): storing it would
// mangle it.
inline constexpr const char *kNameNotStorable = "名称中含有不能保存的字符!";

// A typed name without leading and trailing blanks and control characters.
QString trimmedName(const QString &text);

// The name as the data file will keep it (UTF-8): cut to maxBytes of GBK at a
// whole character. Nothing when GBK cannot hold the name.
std::optional<std::string> storedName(const QString &name, std::size_t maxBytes);

// "名称超过 N 个字节，将保存为 "…"。是否继续?": asked before a name is stored
// cut to its field of maxBytes.
QString cutNameQuestion(std::size_t maxBytes, const QString &stored);
// True when the name is stored as typed, or the user agreed to storing it
// cut (stored); otherwise the edit has the focus again.
bool acceptStoredName(QLineEdit *edit, Notifier *notifier, const QString &typed, const std::string &stored,
                      std::size_t maxBytes);

// The management windows' messages: a stop message (error icon), an info
// message, a Yes/No question with No as the default.
inline void stopMessage(Notifier *notifier, const QString &text)
{
    notifier->showMessage(text.toStdString(), MessageIcon::Error);
}
inline void infoMessage(Notifier *notifier, const QString &text)
{
    notifier->showMessage(text.toStdString(), MessageIcon::Information);
}
inline bool askQuestion(Notifier *notifier, const QString &text)
{
    return notifier->askYesNo(text.toStdString());
}

// What to do with a palette or box another program saved since this window
// loaded it, asked when a save finds it so: keep mine (overwrite theirs),
// take theirs (show the stored one, drop the edits), or cancel (the edits
// stay unsaved). what names it, e.g. "色板“春”".
enum class ChangedElsewhere { KeepMine, TakeTheirs, Cancel };
ChangedElsewhere askChangedElsewhere(Notifier *notifier, const QString &what);

// "是否删除… " + the name in double quotes + " 吗?".
QString deleteQuestion(const QString &what, const QString &name);

// Gives a dialog a fixed size of at least the client area it is designed
// for, larger only where the fonts need it, and centres it on its owner.
void fixDialogSize(QDialog *dialog, int width, int height);

// Checks a name typed for a new or renamed box or palette, in this order:
// blank (emptyMessage), not storable in GBK, already taken as stored
// (existsMessage; a name is taken as the file keeps it, cut to its field),
// and a name to be cut is stored cut only when the user agrees
// (acceptStoredName). Answers the name to store, or nothing after focusing
// the edit and showing the refusal as an info message.
std::optional<std::string> checkEntryName(QLineEdit *edit, Notifier *notifier, const QString &emptyMessage,
                                          const QString &existsMessage,
                                          const std::function<bool(const std::string &)> &exists);

// A line edit with its object name; a row of "确认" (BitBtn_ok) and "取消"
// (BitBtn_cancel, rejects) whose OK runs onOk.
QLineEdit *namedEdit(const char *objectName);
// A push button that Enter does not press unless it is made the default:
// no window should delete something because Enter was hit.
QPushButton *namedButton(const char *objectName, const QString &caption, const QString &hint = QString());
QLayout *okCancelRow(QDialog *dialog, const std::function<void()> &onOk);
// A name dialog's layout: labelled fields above the okCancelRow.
void fieldsAndOkCancel(QDialog *dialog, std::initializer_list<std::pair<QString, QWidget *>> fields,
                       const std::function<void()> &onOk);
// A manager window's layout: the list in a titled frame beside a column of
// buttons, close at its foot.
void listBesideButtons(QDialog *dialog, const QString &title, QListWidget *list,
                       std::initializer_list<QPushButton *> buttons, QPushButton *close);
// The text of the list's first selected item; empty when none is selected.
QString selectedText(const QListWidget *list);
// The first of prefix1, prefix2, ... that is not taken, as a new entry's
// proposed name.
QString firstFreeName(const QString &prefix, const std::function<bool(const std::string &)> &taken);

} // namespace pigmora::ui
