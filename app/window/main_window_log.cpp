// The call log and the phonebook: tracking, the shared row steps, "Wis Log...", the phonebook
// buttons and the loading and saving of both files.

#include "app/window/main_window.h"

#include "app/window/dialog_service.h"

#include "app/core/call_log_model.h"
#include "app/core/data_folder.h"
#include "app/core/log_autosave.h"
#include "app/core/phonebook_model.h"
#include "app/core/unreadable_file.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QTableView>
#include <QTime>
#include <QTimer>

void TForm1::TrackCalls() {
    std::array<QString, 8> descriptions;
    for (std::size_t i = 0; i < descriptions.size(); ++i)
        descriptions.at(i) = m_lineEdits.at(i)->text();
    const std::vector<LogRow> rows = CallTracker::TrackCalls(
        m_state, phoneType(), enabledLines(), descriptions, QTime::currentTime(),
        [this](const QString& number) { return LookupName(number); });
    for (const LogRow& row : rows)
        addLogRow(row);
}

int TForm1::addLogRow(const LogRow& row) {
    LogRow filled = row;
    if (filled.name.isEmpty()) {
        if (std::optional<QString> name = LookupName(filled.number))
            filled.name = *name;
    }
    const int at = m_log->appendRow(filled);
    const QModelIndex index = m_log->index(at, 0);
    DGrid->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect |
                                                        QItemSelectionModel::Rows);
    DGrid->scrollTo(index);
    bringToFront();
    Q_EMIT logRowAdded(at);
    return at;
}

void TForm1::UpdateLineColumn() {
    DGrid->setColumnWidth(CallLogModel::ColLine, RzCheckBox1->isChecked() ? 100 : 0);
}

bool TForm1::LoadLog(QString* error) {
    const QString path = logFilePath();
    if (!QFileInfo::exists(path))
        return true;
    if (m_log->load(path, error))
        return true;
    // The autosave would overwrite it with this run's rows only.
    setAsideUnreadableFile(path);
    return false;
}

bool TForm1::SaveLog(QString* error) {
    return m_log->save(logFilePath(), error);
}

void TForm1::BtnDeleteClick() {
    Timer1->stop();
    if (m_log->rowCount() > 0 && DGrid->currentIndex().isValid() &&
        m_dialogs->question(this, QStringLiteral("Confirm"),
                            QStringLiteral("Delete log entries to selected?"))) {
        // The current row as it is after the answer: rows may have been added meanwhile.
        const QModelIndex current = DGrid->currentIndex();
        if (current.isValid()) {
            m_log->deleteThrough(current.row());
        }
    }
    resumePolling();
}

bool TForm1::LoadPhonebook(QString* error) {
    const QString path = RzButtonEdit1->text();
    if (m_phonebook->load(path, PhonebookModel::Sorting::ByNumber, error))
        return true;
    // Saving at the end would overwrite it with the empty grid.
    setAsideUnreadableFile(path);
    return false;
}

bool TForm1::SavePhonebook(QString* error) {
    return m_phonebook->save(RzButtonEdit1->text(), error);
}

std::optional<QString> TForm1::LookupName(const QString& number) const {
    return m_phonebook->LookupName(number);
}

void TForm1::BtnInsertRecordClick() {
    const int row = m_phonebook->appendEntry(m_log->lastNumber());
    const QModelIndex nameCell = m_phonebook->index(row, PhonebookModel::ColName);
    PGrid->setCurrentIndex(nameCell);
    PGrid->scrollTo(nameCell);
    PGrid->setFocus();
}

void TForm1::BtnDeleteRecordClick() {
    if (!PGrid->currentIndex().isValid())
        return;
    if (!m_dialogs->question(this, QStringLiteral("Confirm"), QStringLiteral("Delete entry?")))
        return;
    const QModelIndex current = PGrid->currentIndex();
    if (current.isValid())
        m_phonebook->removeRows(current.row(), 1);
}

void TForm1::RzButtonEdit1ButtonClick() {
    const QString start = RzButtonEdit1->text().isEmpty()
                              ? QString()
                              : QFileInfo(RzButtonEdit1->text()).absolutePath();
    const QString path = m_dialogs->getOpenFileName(
        this, QStringLiteral("Open"), start, QStringLiteral("csv-files (*.csv);;any file (*.*)"),
        QStringLiteral("CSV"));
    if (path.isEmpty())
        return;
    RzButtonEdit1->setText(path);
    QString error;
    if (!m_phonebook->load(path, PhonebookModel::Sorting::None, &error)) {
        setAsideUnreadableFile(path); // the save at the end would overwrite it
        m_dialogs->error(this, QStringLiteral("Error"), QStringLiteral("Error:\n\r") + error);
    }
}
