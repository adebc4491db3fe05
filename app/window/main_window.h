#pragma once

// The program's single window: toolbar, the tabs "Log", "Telefoonlijst", "Opties" and "Help",
// the poll trace list and the status bar. It owns the poll timer, the page fetcher, the call log
// and the phonebook, and writes config.cfg, log2.csv and the phonebook when it is destroyed.
// Every widget's objectName is its declared name, so tests and tools can find it.

#include "app/core/call_tracker.h"
#include "app/core/line_state_table.h"

#include <QMainWindow>
#include <QStringList>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

class CallLogModel;
class DialogService;
class LogAutosave;
class PageFetcher;
class PhonebookModel;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QSpinBox;
class QStatusBar;
class QTabWidget;
class QTableView;
class QTimer;
class QToolBar;
class QToolButton;
class TFormDlgLineSelection;
class TetLine;
class TetSharedControl;

class TForm1 : public QMainWindow {
    Q_OBJECT
public:
    // args are the command-line parameters after the program name. dialogs shows every modal
    // box and file dialog; the real QMessageBox/QFileDialog ones when null.
    explicit TForm1(std::shared_ptr<DialogService> dialogs = nullptr,
                    std::optional<QStringList> args = std::nullopt, QWidget* parent = nullptr);
    ~TForm1() override;

    TForm1(const TForm1&) = delete;
    TForm1& operator=(const TForm1&) = delete;

    void setDialogService(std::shared_ptr<DialogService> dialogs);

    CallLogModel* logModel() const { return m_log; }
    PhonebookModel* phonebookModel() const { return m_phonebook; }
    PageFetcher* pageFetcher() const { return m_fetcher; }
    const LineStateTable& lineState() const { return m_state; }
    int pollCount() const { return PollCount; }
    bool isPolling() const { return m_polling; }
    bool isTestMode() const { return m_testMode; }
    bool isReplayMode() const { return m_replayMode; }
    // Where the replay mode reads its sample pages.
    QString samplesFolder() const { return m_samplesFolder; }
    void setSamplesFolder(const QString& folder) { m_samplesFolder = folder; }

    // The row steps shared by the call sources: append, select, show the name, restore the
    // window. Returns the new row.
    int addLogRow(const LogRow& row);
    // Restores the window from the minimised state and brings it to the front.
    void bringToFront();

    // Window reactions.
    void FormCreate();
    void FormShow();
    void FormClose();
    void FormDestroy();
    void RzPageControl1Change();
    void RzComboBox2Change();
    void RzToolButton1Click();
    // True: the wheel never changes the phone type.
    bool RzComboBox1MouseWheel();

    // Poller.
    void Timer1Timer();
    void RzCheckBox1Click();
    void PollPhone(int sampleNumber);

    // Call log.
    void TrackCalls();
    bool LoadLog(QString* error = nullptr);
    bool SaveLog(QString* error = nullptr);
    void UpdateLineColumn();
    void BtnDeleteClick();

    // Phonebook.
    bool LoadPhonebook(QString* error = nullptr);
    bool SavePhonebook(QString* error = nullptr);
    std::optional<QString> LookupName(const QString& number) const;
    void BtnInsertRecordClick();
    void BtnDeleteRecordClick();
    void RzButtonEdit1ButtonClick();

    // Settings.
    void LoadSettings();
    bool SaveSettings(QString* error = nullptr);

    // TAPI source.
    TetLine* lineComponent() const;
    void OpenTapiDevice();
    void RzCheckBox10Click();
    void Label9Click();
    // Runs the line selection dialog in place of its exec(), answering its result; for tests.
    void setLineSelectionRunner(std::function<int(TFormDlgLineSelection&)> runner);
    void etLine1Busy(TetSharedControl* Sender, int32_t CallHandle);
    void etLine1CallBegin(TetSharedControl* Sender, int32_t CallHandle);
    void etLine1CallEnd(TetSharedControl* Sender, int32_t CallHandle);
    void etLine1CallerID(TetSharedControl* Sender, int32_t CallHandle);
    void etLine1Connected(TetSharedControl* Sender, int32_t CallHandle);
    void etLine1Disconnected(TetSharedControl* Sender, int32_t CallHandle);
    void etLine1Error(TetSharedControl* Sender);
    void etLine1Idle(TetSharedControl* Sender, int32_t CallHandle);
    void etLine1LineState(TetSharedControl* Sender, uint32_t State, uint32_t Param2,
                          uint32_t Param3);
    void etLine1Offering(TetSharedControl* Sender, int32_t CallHandle);
    void etLine1Ring(TetSharedControl* Sender, uint32_t Count, uint32_t RingMode);

Q_SIGNALS:
    // After every tick of the poll timer, good or failed.
    void pollFinished();
    void logRowAdded(int row);

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildLayout();
    QWidget* buildLogTab();
    QWidget* buildPhonebookTab();
    QWidget* buildOptionsTab();
    QWidget* buildXmlPage();
    QWidget* buildTapiPage();
    QWidget* buildHelpTab();
    void buildStatusBar();
    void connectHandlers();
    // Creates etLine1 with its stored settings and connects the Tapi tab's controls.
    void SetupTapiSource();

    std::array<bool, 8> enabledLines() const;
    int phoneType() const;
    void appendTrace(const QStringList& lines);
    // Re-arms the poll timer after a pause, unless closing has begun or a poll is waiting.
    void resumePolling();

    std::shared_ptr<DialogService> m_dialogs;
    QStringList m_args;
    bool m_testMode = false;
    bool m_replayMode = false;
    QString m_samplesFolder;

    // Per-line state of the IP phone's lines and the replay sample counter.
    LineStateTable m_state;
    qint32 PollCount = 0;

    bool m_polling = false;
    bool m_closing = false;
    bool m_destroyed = false;
    bool m_shown = false;

    CallLogModel* m_log = nullptr;
    PhonebookModel* m_phonebook = nullptr;
    PageFetcher* m_fetcher = nullptr;
    LogAutosave* m_autosave = nullptr;

    QTimer* Timer1 = nullptr;
    QToolBar* RzToolbar1 = nullptr;
    QToolButton* BtnDelete = nullptr;
    QToolButton* BtnInsertRecord = nullptr;
    QToolButton* BtnDeleteRecord = nullptr;
    QToolButton* RzToolButton1 = nullptr;
    QTabWidget* RzPageControl1 = nullptr;
    QWidget* TabSheet1 = nullptr;
    QWidget* TabSheet2 = nullptr;
    QWidget* TabSheet3 = nullptr;
    QWidget* TabSheet4 = nullptr;
    QTableView* DGrid = nullptr;
    QTableView* PGrid = nullptr;
    QLineEdit* RzButtonEdit1 = nullptr;
    QPushButton* RzBitBtn2 = nullptr;
    QTabWidget* RzPageControl2 = nullptr;
    QCheckBox* RzCheckBox1 = nullptr;
    QComboBox* RzComboBox1 = nullptr;
    QSpinBox* RzSpinEdit1 = nullptr;
    QLineEdit* RzEdit1 = nullptr;
    QComboBox* RzComboBox2 = nullptr;
    std::array<QCheckBox*, 8> m_lineBoxes{}; // RzCheckBox2 .. RzCheckBox9
    std::array<QLineEdit*, 8> m_lineEdits{}; // RzEdit2 .. RzEdit9
    QCheckBox* RzCheckBox10 = nullptr;
    QLabel* Label9 = nullptr;
    QPlainTextEdit* RzMemo1 = nullptr;
    QListWidget* RzTabbedListBox1 = nullptr;
    QStatusBar* RzStatusBar1 = nullptr;
    QLabel* RzStatusPane1 = nullptr;
    QLabel* RzStatusPane2 = nullptr;
    QLabel* RzVersionInfoStatus1 = nullptr;

    std::function<int(TFormDlgLineSelection&)> m_lineSelectionRunner;
    // Last, so it goes first when the window is destroyed: its events reach live controls only.
    std::unique_ptr<TetLine> etLine1;
};
