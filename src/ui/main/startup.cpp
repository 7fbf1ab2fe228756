#include "main/startup.h"

#include "data/colormanager.h"
#include "data/platform.h"
#include "main/application.h"
#include "main/messageboxnotifier.h"
#include "main/messagetext.h"
#include "store/configmanager.h"
#include "store/datafolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QStandardPaths>
#include <QStringList>
#include <QTemporaryFile>

namespace pigmora::ui {

bool folderWritable(const std::filesystem::path &folder)
{
    QTemporaryFile probe(QDir(pathText(folder)).filePath(QStringLiteral(".pigmora-XXXXXX")));
    return probe.open();
}

DataLocation chooseDataFolder(const std::filesystem::path &programFolder, const std::filesystem::path &installBinFolder)
{
    if (!isInstalledCopy(programFolder, installBinFolder) && folderWritable(programFolder))
        return {programFolder, false, false};
    const QString perUser = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    if (!perUser.isEmpty() && QDir().mkpath(perUser)) {
        const std::filesystem::path folder = pathOf(perUser);
        if (folderWritable(folder))
            return {folder, true, false};
    }
    return {programFolder, false, true};
}

DataLocation dataLocationFor(const std::optional<std::filesystem::path> &named)
{
    if (named)
        return {*named, false, !folderWritable(*named)};
    return chooseDataFolder(platform::programFolder());
}

namespace {

// The context lupdate gives a plain tr() in this namespace.
QString tr(const char *text)
{
    return QCoreApplication::translate("pigmora::ui", text);
}

QString whatIsWrong(DataFolder::FileProblem::Kind kind)
{
    using Kind = DataFolder::FileProblem::Kind;
    switch (kind) {
    case Kind::Missing:
        return tr("文件不存在, 也无法创建");
    case Kind::MissingWithBackup:
        return tr("文件不存在, 它的备份保存着最后的版本");
    case Kind::Folder:
        return tr("在它的位置上是一个文件夹");
    case Kind::DanglingLink:
        return tr("它是指向不存在的文件的符号链接");
    case Kind::Special:
        return tr("在它的位置上是一个特殊文件 (管道、套接字或设备)");
    case Kind::Unreadable:
        return tr("程序没有读取它的权限");
    case Kind::Busy:
        return tr("另一个程序占用数据文件夹太久");
    case Kind::Damaged:
        return tr("文件已损坏");
    }
    return {};
}

QString whatToDo(const DataFolder::FileProblem &problem, const QString &name)
{
    using Remedy = DataFolder::FileProblem::Remedy;
    const QString restore = tr("用备份恢复它: pigmora-cli restore %1 (损坏的文件会被保留)").arg(name);
    switch (problem.remedy) {
    case Remedy::Restore:
        return restore;
    case Remedy::MoveAway:
        return (problem.backupUsable ? restore + tr("; 或者") : QString())
            + tr("把它移到别处 (保留它), 下次启动时以默认内容重新创建");
    case Remedy::FixLink:
        return tr("让链接指向数据文件或删除链接, 然后重新启动");
    case Remedy::AllowAccess:
        return tr("给本程序读写它的权限, 然后重新启动");
    case Remedy::MakeFolderWritable:
        return tr("数据文件夹必须允许创建文件 (或用 --data-dir 指定另一个文件夹)");
    case Remedy::TryAgain:
        return tr("关闭另一个程序或稍等, 然后重新启动");
    }
    return {};
}

// The problems nobody was asked about: a damaged file whose backup was
// offered for restoring has had its say.
void showFileProblems(const DataFolder &folder, bool restoreOffered, Notifier *notifier)
{
    QStringList texts;
    for (const DataFolder::FileProblem &problem : folder.problems()) {
        if (restoreOffered && problem.remedy == DataFolder::FileProblem::Remedy::Restore)
            continue;
        texts << fileProblemText(problem);
    }
    if (!texts.isEmpty())
        notifier->showMessage(texts.join(QStringLiteral("\n\n")).toStdString(), MessageIcon::Warning);
}

} // namespace

QString fileProblemText(const DataFolder::FileProblem &problem)
{
    const QString name = pathText(problem.path.filename());
    QString text = tr("%1: %2").arg(name, whatIsWrong(problem.kind));
    if (!problem.reason.empty())
        text += QStringLiteral(" (") + coreText(problem.reason) + QStringLiteral(")");
    return text + QStringLiteral("\n") + tr("可以这样做: %1").arg(whatToDo(problem, name));
}

StartupData startWithDataFolder(const DataLocation &location, GatedNotifier &storeMessages, Notifier *notifier)
{
    StartupData data;
    data.location = location;
    const bool readOnly = location.readOnly;
    // An unusable folder is said once, not once per data file. Otherwise the
    // stores' start-up messages wait until a damaged file whose backup opens
    // has been offered for restoring: what the user restores is not reported.
    storeMessages.setMode(readOnly ? GatedNotifier::Mode::Drop : GatedNotifier::Mode::Hold);
    DataFolder folder(location.folder, &storeMessages);
    Status prepared = folder.prepare();
    const bool restoreOffered = !readOnly && !folder.damagedFiles().empty();
    if (restoreOffered) {
        storeMessages.setMode(GatedNotifier::Mode::Pass);
        if (folder.offerRestore()) {
            storeMessages.dropHeld();
            storeMessages.setMode(GatedNotifier::Mode::Hold);
            prepared = folder.prepare();
        }
    }
    storeMessages.showHeld();
    storeMessages.setMode(GatedNotifier::Mode::Pass);
    if (!readOnly)
        showFileProblems(folder, restoreOffered, notifier);
    data.config = folder.releaseConfig();
    data.settings = folder.settings();
    data.colors = folder.releaseColors();
    if (!data.colors) {
        data.colors = std::make_unique<CColorManager>(location.folder, notifier);
        data.colors->buildBuiltInCatalogue();
    }
    if (readOnly) {
        notifier->showMessage("数据文件夹不能写入，程序以只读方式运行: " + location.folder.string()
                                  + (prepared ? std::string() : "\n" + prepared.message()),
                              MessageIcon::Error);
    }
    return data;
}

} // namespace pigmora::ui
