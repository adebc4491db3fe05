#include "app/window/dialog_service.h"

#include <QFileDialog>
#include <QMessageBox>

bool WidgetDialogService::question(QWidget* parent, const QString& title, const QString& text) {
    return QMessageBox::question(parent, title, text, QMessageBox::Yes | QMessageBox::No,
                                 QMessageBox::No) == QMessageBox::Yes;
}

void WidgetDialogService::information(QWidget* parent, const QString& title, const QString& text) {
    QMessageBox::information(parent, title, text, QMessageBox::Ok);
}

void WidgetDialogService::error(QWidget* parent, const QString& title, const QString& text) {
    QMessageBox::critical(parent, title, text, QMessageBox::Ok);
}

QString WidgetDialogService::getOpenFileName(QWidget* parent, const QString& title,
                                             const QString& dir, const QString& filter,
                                             const QString& defaultSuffix) {
    QFileDialog dialog(parent, title, dir, filter);
    dialog.setObjectName(QStringLiteral("RzOpenDialog1"));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setDefaultSuffix(defaultSuffix);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}
