#include "app/window/line_selection_dialog.h"

#include "app/window/tapi_record.h"

#include "telephony/line/line.h"
#include "telephony/line/line_device.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPalette>
#include <QPushButton>
#include <QSignalBlocker>

TFormDlgLineSelection::TFormDlgLineSelection(QWidget* owner) : QDialog(owner) {
    setObjectName(QStringLiteral("FormDlgLineSelection"));
    setWindowTitle(QStringLiteral("Lijnselectie"));
    // A fixed dialog border with the system menu only.
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setModal(true);
    setFixedSize(300, 93);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(240, 251, 255));
    setPalette(pal);
    setAutoFillBackground(true);
    setFont(QFont(QStringLiteral("Arial"), 8));

    auto* label = new QLabel(QStringLiteral("Selecteer een lijn:"), this);
    label->setGeometry(8, 8, 180, 16);

    RzCheckBox1 = new QCheckBox(QStringLiteral("Offering"), this);
    RzCheckBox1->setObjectName(QStringLiteral("RzCheckBox1"));
    RzCheckBox1->setGeometry(212, 6, 80, 18);

    ComboBoxLines = new QComboBox(this);
    ComboBoxLines->setObjectName(QStringLiteral("ComboBoxLines"));
    ComboBoxLines->setEditable(false);
    ComboBoxLines->setGeometry(8, 28, 272, 22);

    auto* buttons = new QWidget(this);
    buttons->setObjectName(QStringLiteral("RzDialogButtons1"));
    buttons->setGeometry(0, 56, 300, 37);
    auto* row = new QHBoxLayout(buttons);
    row->setContentsMargins(8, 4, 8, 6);
    row->addStretch();
    m_ok = new QPushButton(QStringLiteral("OK"), buttons);
    m_ok->setObjectName(QStringLiteral("RzDialogButtons1OK"));
    m_ok->setFixedWidth(100);
    m_ok->setDefault(true);
    m_cancel = new QPushButton(QStringLiteral("Annuleren"), buttons);
    m_cancel->setObjectName(QStringLiteral("RzDialogButtons1Cancel"));
    m_cancel->setFixedWidth(100);
    row->addWidget(m_ok);
    row->addWidget(m_cancel);

    connect(RzCheckBox1, &QCheckBox::clicked, this, &TFormDlgLineSelection::RzCheckBox1Click);
    connect(m_ok, &QPushButton::clicked, this, [this] {
        RzDialogButtons1ClickOk();
        accept();
    });
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);

    FormCreate();
}

void TFormDlgLineSelection::FormCreate() {
    // Showing the saved choice is no click by the user.
    const QSignalBlocker blocker(RzCheckBox1);
    RzCheckBox1->setChecked(Tapi.Offering);
}

void TFormDlgLineSelection::FillLines() {
    ComboBoxLines->clear();
    if (LineComponent)
        ComboBoxLines->addItems(LineComponent->Device()->List());
    const int index = Tapi.DeviceIndex;
    ComboBoxLines->setCurrentIndex(index >= 0 && index < ComboBoxLines->count() ? index : -1);
}

void TFormDlgLineSelection::RzCheckBox1Click() {
    Tapi.Offering = RzCheckBox1->isChecked();
}

void TFormDlgLineSelection::RzDialogButtons1ClickOk() {
    Tapi.DeviceIndex = ComboBoxLines->currentIndex();
    // With nothing selected the saved name stays, so the window looks it up again.
    if (Tapi.DeviceIndex >= 0)
        Tapi.DeviceName = ComboBoxLines->currentText();
}
