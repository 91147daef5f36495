#include "DialogService.h"
#include "ApplicationTitle.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

namespace {

QMessageBox::StandardButtons standardButtons(DialogButtons buttons)
{
    switch (buttons) {
    case DialogButtons::YesNo: return QMessageBox::Yes | QMessageBox::No;
    case DialogButtons::OkCancel: return QMessageBox::Ok | QMessageBox::Cancel;
    case DialogButtons::YesNoCancel: return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case DialogButtons::Ok: break;
    }
    return QMessageBox::Ok;
}

}  // namespace

QWidget* QtDialogService::ownerFor(QWidget* parent)
{
    if (QWidget* active = QApplication::activeWindow())
        return active;
    return parent ? parent->window() : nullptr;
}

std::unique_ptr<QMessageBox> QtDialogService::createMessageBox(QWidget* owner, const QString& caption,
                                                               const QString& text, DialogButtons buttons,
                                                               DialogIcon icon)
{
    // Without a caption the frame would show the program file's name.
    auto box = std::make_unique<QMessageBox>(
        icon == DialogIcon::Error ? QMessageBox::Critical : QMessageBox::NoIcon,
        caption.isEmpty() ? applicationTitle() : caption, text, standardButtons(buttons), owner);
    // Every other window of the program is disabled while a box shows.
    box->setWindowModality(Qt::ApplicationModal);
    return box;
}

DialogButton QtDialogService::answerOf(int standardButton, DialogButtons buttons)
{
    switch (buttons) {
    case DialogButtons::YesNo:
        return standardButton == QMessageBox::Yes ? DialogButton::Yes : DialogButton::No;
    case DialogButtons::OkCancel:
        return standardButton == QMessageBox::Ok ? DialogButton::Ok : DialogButton::Cancel;
    case DialogButtons::YesNoCancel:
        return standardButton == QMessageBox::Yes  ? DialogButton::Yes
               : standardButton == QMessageBox::No ? DialogButton::No
                                                   : DialogButton::Cancel;
    case DialogButtons::Ok: break;
    }
    return DialogButton::Ok;
}

DialogButton QtDialogService::messageBox(QWidget* parent, const QString& caption, const QString& text,
                                         DialogButtons buttons, DialogIcon icon)
{
    const auto box = createMessageBox(ownerFor(parent), caption, text, buttons, icon);
    return answerOf(box->exec(), buttons);
}

void QtDialogService::showSimpleMessage(QWidget* parent, const QString& text)
{
    const auto box =
        createMessageBox(ownerFor(parent), applicationTitle(), text, DialogButtons::Ok, DialogIcon::None);
    box->exec();
}

std::unique_ptr<QFileDialog> QtDialogService::createFileDialog(QWidget* owner, const QString& lastFileName,
                                                               const OpenDialogSettings& settings)
{
    auto dialog = std::make_unique<QFileDialog>(owner, settings.title);
    dialog->setAcceptMode(QFileDialog::AcceptOpen);
    // AnyFile takes a typed name as it is; ExistingFile has the dialog check it.
    dialog->setFileMode(settings.checkExistence ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    if (!settings.filter.isEmpty())
        dialog->setNameFilter(settings.filter);
    dialog->setSizeGripEnabled(settings.resizable);
    if (!lastFileName.isEmpty()) {
        // A native dialog may not move to the selected name's folder by itself.
        dialog->setDirectory(QFileInfo(lastFileName).absolutePath());
        dialog->selectFile(lastFileName);
    } else if (const QDir korvat(QDir::homePath() + QStringLiteral("/Korvat")); korvat.exists()) {
        // Where the program keeps its databases.
        dialog->setDirectory(korvat.path());
    }
    dialog->setWindowModality(Qt::ApplicationModal);
    return dialog;
}

std::optional<QString> QtDialogService::openFile(QWidget* parent, const QString& lastFileName,
                                                 const OpenDialogSettings& settings)
{
    const auto dialog = createFileDialog(ownerFor(parent), lastFileName, settings);
    if (dialog->exec() != QDialog::Accepted || dialog->selectedFiles().isEmpty())
        return std::nullopt;
    // The path goes to the database server, which expects the platform's separators.
    return QDir::toNativeSeparators(dialog->selectedFiles().constFirst());
}
