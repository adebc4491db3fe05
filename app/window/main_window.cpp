// The window's life: creation, showing, closing, destruction and the window-level reactions.

#include "app/window/main_window.h"

#include "app/window/dialog_service.h"
#include "app/window/page_fetcher.h"
#include "app/window/sample_pages.h"
#include "app/window/tapi_record.h"

#include "app/core/call_log_model.h"
#include "app/core/data_folder.h"
#include "app/core/handig.h"
#include "app/core/log_autosave.h"
#include "app/core/phonebook_model.h"
#include "app/core/settings.h"

#include "telephony/line/line.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QShowEvent>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableView>
#include <QTimer>
#include <QToolButton>

TForm1::TForm1(std::shared_ptr<DialogService> dialogs, std::optional<QStringList> args,
               QWidget* parent)
    : QMainWindow(parent),
      m_dialogs(dialogs ? std::move(dialogs) : std::make_shared<WidgetDialogService>()),
      m_args(args ? *args : QCoreApplication::arguments().mid(1)) {
    m_testMode = ParamPresent(u"test", m_args);
    m_replayMode = !m_args.isEmpty() && m_args.constFirst() == QStringLiteral("moi");
    m_samplesFolder = SamplePages::folder();

    m_log = new CallLogModel(this);
    m_phonebook = new PhonebookModel(this);
    m_fetcher = new PageFetcher(this);

    buildLayout();
    connectHandlers();
    SetupTapiSource();
    FormCreate();
}

TForm1::~TForm1() {
    FormDestroy();
    etLine1.reset(); // closes the line and ends the session while the window is still whole
}

void TForm1::setDialogService(std::shared_ptr<DialogService> dialogs) {
    m_dialogs = dialogs ? std::move(dialogs) : std::make_shared<WidgetDialogService>();
}

void TForm1::connectHandlers() {
    connect(Timer1, &QTimer::timeout, this, &TForm1::Timer1Timer);
    connect(RzPageControl1, &QTabWidget::currentChanged, this, &TForm1::RzPageControl1Change);
    connect(RzComboBox2, &QComboBox::currentIndexChanged, this, &TForm1::RzComboBox2Change);
    connect(RzToolButton1, &QToolButton::clicked, this, &TForm1::RzToolButton1Click);
    connect(RzCheckBox1, &QCheckBox::clicked, this, &TForm1::RzCheckBox1Click);
    connect(BtnDelete, &QToolButton::clicked, this, &TForm1::BtnDeleteClick);
    connect(BtnInsertRecord, &QToolButton::clicked, this, &TForm1::BtnInsertRecordClick);
    connect(BtnDeleteRecord, &QToolButton::clicked, this, &TForm1::BtnDeleteRecordClick);
}

void TForm1::FormCreate() {
    m_log->reset();
    Tapi = TTApi{};
    m_state.clear();
    PollCount = 0;
    {
        // Choosing the first tab here is no tab change.
        const QSignalBlocker blocker(RzPageControl1);
        RzPageControl1->setCurrentWidget(TabSheet1);
    }
    LoadSettings();
    LoadPhonebook(); // a missing or unreadable phonebook leaves its 10 empty rows
    LoadLog();       // a missing or unreadable log leaves the header row only
    RzCheckBox10->setChecked(Tapi.Connect);
    Label9->setText(Tapi.DeviceName.isEmpty() ? QStringLiteral("<select>") : Tapi.DeviceName);

    // Created after loading, so the loaded log is not written back at once.
    m_autosave = new LogAutosave(m_log, logFilePath(), this);

    etLine1->setEnabled(true); // whether or not the TAPI source is switched on
    if (Tapi.Connect)
        OpenTapiDevice();
}

void TForm1::FormShow() {
    RzTabbedListBox1->setVisible(m_testMode);
    RzComboBox2Change();
    if (RzCheckBox1->isChecked() && !m_closing)
        Timer1->start();
    else
        Timer1->stop();
    UpdateLineColumn();
}

void TForm1::FormClose() {
    m_closing = true;
    Timer1->stop();
    // A poll still waiting for the phone is abandoned; its tick ends without arming the timer.
    m_fetcher->abort();
}

void TForm1::FormDestroy() {
    if (m_destroyed)
        return;
    m_destroyed = true;
    m_closing = true;
    Timer1->stop();
    // Each file is saved on its own, so one failure does not cost the others.
    QString error;
    if (!SaveSettings(&error))
        qWarning("VORBEL: settings not saved: %s", qUtf8Printable(error));
    if (!SaveLog(&error))
        qWarning("VORBEL: call log not saved: %s", qUtf8Printable(error));
    SavePhonebook(); // an empty path means no phonebook to write
}

void TForm1::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (!event->spontaneous() && !m_closing)
        FormShow();
}

void TForm1::closeEvent(QCloseEvent* event) {
    FormClose();
    event->accept();
}

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
    if (watched == RzComboBox1 && event->type() == QEvent::Wheel)
        return RzComboBox1MouseWheel();
    return QMainWindow::eventFilter(watched, event);
}

bool TForm1::RzComboBox1MouseWheel() {
    return true;
}

void TForm1::RzPageControl1Change() {
    QWidget* current = RzPageControl1->currentWidget();
    const bool phonebook = current == TabSheet2;
    BtnInsertRecord->setEnabled(phonebook);
    BtnDeleteRecord->setEnabled(phonebook);
    BtnDelete->setEnabled(current == TabSheet1);
    if (current == TabSheet1)
        UpdateLineColumn();
}

void TForm1::RzComboBox2Change() {
    const bool eight = RzComboBox2->currentIndex() > 0;
    for (std::size_t i = 4; i < 8; ++i) {
        m_lineBoxes.at(i)->setVisible(eight);
        m_lineEdits.at(i)->setVisible(eight);
    }
}

void TForm1::RzToolButton1Click() {
    setWindowState((windowState() & ~Qt::WindowActive) | Qt::WindowMinimized);
}

void TForm1::bringToFront() {
    if (m_closing)
        return;
    if (windowState() & Qt::WindowMinimized)
        setWindowState((windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    if (!isVisible())
        show();
    raise();
    activateWindow();
}

void TForm1::LoadSettings() {
    Settings settings;
    settings.tapi = Tapi; // the TAPI keys default to what the record holds
    QString error;
    if (!settings.load(settingsFilePath(), &error))
        qWarning("VORBEL: settings not read: %s", qUtf8Printable(error));

    RzEdit1->setText(settings.URL);
    RzSpinEdit1->setValue(settings.INTERVAL);
    RzButtonEdit1->setText(settings.Phonebook);
    RzCheckBox1->setChecked(settings.Active);
    {
        // Setting the lists is no change by the user: the line count is applied at showing.
        const QSignalBlocker block1(RzComboBox1);
        const QSignalBlocker block2(RzComboBox2);
        const auto select = [](QComboBox* list, int index) {
            list->setCurrentIndex(index >= 0 && index < list->count() ? index : -1);
        };
        select(RzComboBox1, settings.TypeTel);
        select(RzComboBox2, settings.Lijnen);
    }
    for (std::size_t i = 0; i < 8; ++i) {
        m_lineBoxes.at(i)->setChecked(settings.lijn.at(i));
        m_lineEdits.at(i)->setText(settings.lijnomschr.at(i));
    }
    Tapi = settings.tapi;
    move(settings.posleft, settings.postop);
    resize(settings.poswidth, settings.posheight);
}

bool TForm1::SaveSettings(QString* error) {
    Settings settings;
    settings.URL = RzEdit1->text();
    settings.INTERVAL = RzSpinEdit1->value();
    settings.Phonebook = RzButtonEdit1->text();
    settings.Active = RzCheckBox1->isChecked();
    settings.TypeTel = RzComboBox1->currentIndex();
    settings.Lijnen = RzComboBox2->currentIndex();
    for (std::size_t i = 0; i < 8; ++i) {
        settings.lijn.at(i) = m_lineBoxes.at(i)->isChecked();
        settings.lijnomschr.at(i) = m_lineEdits.at(i)->text();
    }
    settings.tapi = Tapi;
    settings.posleft = x();
    settings.postop = y();
    settings.poswidth = width();
    settings.posheight = height();
    return settings.save(settingsFilePath(), error);
}
