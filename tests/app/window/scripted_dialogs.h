#pragma once

// Dialogs answered in advance: every call is recorded, and a call without a prepared answer
// gets "No" / "cancel" so a test can never block on a modal box.

#include "app/window/dialog_service.h"

#include <QQueue>
#include <QStringList>

class ScriptedDialogs final : public DialogService {
public:
    QQueue<bool> answers;      // for question()
    QQueue<QString> fileNames; // for getOpenFileName()
    QStringList asked;         // question texts
    QStringList errors;        // error texts
    QStringList informations;  // information texts
    QStringList fileDialogFilters;
    int unanswered = 0;

    bool question(QWidget*, const QString&, const QString& text) override {
        asked.append(text);
        if (answers.isEmpty()) {
            ++unanswered;
            return false;
        }
        return answers.dequeue();
    }
    void information(QWidget*, const QString&, const QString& text) override {
        informations.append(text);
    }
    void error(QWidget*, const QString&, const QString& text) override { errors.append(text); }
    QString getOpenFileName(QWidget*, const QString&, const QString&, const QString& filter,
                            const QString&) override {
        fileDialogFilters.append(filter);
        if (fileNames.isEmpty()) {
            ++unanswered;
            return {};
        }
        return fileNames.dequeue();
    }
};
