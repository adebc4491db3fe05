#pragma once

// The small modal dialog "Lijnselectie" in which the user picks the TAPI line device and switches
// the "Offering" choice. It works directly on the shared record Tapi: the offering choice at
// once, the device choice when the dialog ends with OK.

#include <QDialog>

class QCheckBox;
class QComboBox;
class QPushButton;
class TetLine;

class TFormDlgLineSelection : public QDialog {
    Q_OBJECT
public:
    explicit TFormDlgLineSelection(QWidget* owner);

    // The main window's line component; not owned. Set before FillLines.
    TetLine* LineComponent = nullptr;

    // The device names of LineComponent in order, so that position i names device i; the
    // entry at Tapi.DeviceIndex is selected, none when that is -1 or past the end.
    void FillLines();

    void FormCreate();
    void RzCheckBox1Click();
    void RzDialogButtons1ClickOk();

private:
    QComboBox* ComboBoxLines = nullptr;
    QCheckBox* RzCheckBox1 = nullptr;
    QPushButton* m_ok = nullptr;
    QPushButton* m_cancel = nullptr;
};
