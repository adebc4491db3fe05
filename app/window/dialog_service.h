#pragma once

// Every modal box and file dialog of the window goes through this interface, so that tests can
// answer in advance instead of blocking on a dialog.

#include <QString>

class QWidget;

class DialogService {
public:
    virtual ~DialogService() = default;

    // A confirmation with the buttons Yes and No; true for Yes.
    virtual bool question(QWidget* parent, const QString& title, const QString& text) = 0;
    // A message with an OK button.
    virtual void information(QWidget* parent, const QString& title, const QString& text) = 0;
    virtual void error(QWidget* parent, const QString& title, const QString& text) = 0;
    // The chosen file, or an empty text when the user cancels. filter uses the ";;" separated
    // form "csv-files (*.csv);;any file (*.*)"; defaultSuffix is added to a name typed without
    // one.
    virtual QString getOpenFileName(QWidget* parent, const QString& title, const QString& dir,
                                    const QString& filter, const QString& defaultSuffix) = 0;
};

// The real dialogs: QMessageBox and QFileDialog.
class WidgetDialogService final : public DialogService {
public:
    bool question(QWidget* parent, const QString& title, const QString& text) override;
    void information(QWidget* parent, const QString& title, const QString& text) override;
    void error(QWidget* parent, const QString& title, const QString& text) override;
    QString getOpenFileName(QWidget* parent, const QString& title, const QString& dir,
                            const QString& filter, const QString& defaultSuffix) override;
};
