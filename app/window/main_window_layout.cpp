// The window's controls: built once, named after their declared names.

#include "app/window/aligned_columns_delegate.h"
#include "app/window/help_text.h"
#include "app/window/main_window.h"
#include "app/window/tabbed_list_delegate.h"

#include "app/core/call_log_model.h"
#include "app/core/phonebook_model.h"

#include "vorbel_version.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QSpinBox>
#include <QStatusBar>
#include <QStyle>
#include <QTabBar>
#include <QTabWidget>
#include <QTableView>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace {
const QColor WindowBackground(240, 251, 255);

template <typename W> W* named(W* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

QToolButton* toolButton(QWidget* parent, const char* name, const QString& caption,
                        const QString& hint, QStyle::StandardPixmap icon) {
    auto* button = named(new QToolButton(parent), name);
    button->setText(caption);
    button->setToolTip(hint);
    button->setIcon(parent->style()->standardIcon(icon));
    button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    button->setAutoRaise(true);
    return button;
}

QFont gridFont() {
    QFont font(QStringLiteral("Tahoma"));
    font.setPointSize(8);
    return font;
}
} // namespace

void TForm1::buildLayout() {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Caller Identification VORBEL"));
    // System menu and close button only: "Minimize " on the toolbar takes the minimise role.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    QFont windowFont(QStringLiteral("MS Sans Serif"));
    windowFont.setPointSize(8);
    setFont(windowFont);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, WindowBackground);
    setPalette(pal);
    setAutoFillBackground(true);
    // Fields take a light yellow background while they have the focus.
    setStyleSheet(QStringLiteral(
        "QLineEdit:focus, QSpinBox:focus, QComboBox:focus { background-color: rgb(255, 255, 164); }"
        "QTabBar#RzPageControl1TabBar::tab:selected { font-weight: bold; }"));
    resize(611, 433);

    Timer1 = named(new QTimer(this), "Timer1");
    Timer1->setInterval(500);

    RzToolbar1 = named(new QToolBar(this), "RzToolbar1");
    RzToolbar1->setMovable(false);
    RzToolbar1->setFloatable(false);
    RzToolbar1->setFixedHeight(29);
    RzToolbar1->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    RzToolbar1->setContextMenuPolicy(Qt::PreventContextMenu);
    BtnDelete = toolButton(RzToolbar1, "BtnDelete", QStringLiteral("Wis Log..."),
                           QStringLiteral("Clear log from beginning to selected row"),
                           QStyle::SP_DialogDiscardButton);
    BtnInsertRecord =
        toolButton(RzToolbar1, "BtnInsertRecord", QStringLiteral("Toevoegen"),
                   QStringLiteral("Add Line to Phonebook"), QStyle::SP_FileDialogNewFolder);
    BtnDeleteRecord =
        toolButton(RzToolbar1, "BtnDeleteRecord", QStringLiteral("Verwijderen..."),
                   QStringLiteral("Delete entry from Phonebook"), QStyle::SP_DialogCancelButton);
    RzToolButton1 = toolButton(RzToolbar1, "RzToolButton1", QStringLiteral("Minimize "), {},
                               QStyle::SP_TitleBarMinButton);
    BtnInsertRecord->setEnabled(false);
    BtnDeleteRecord->setEnabled(false);
    RzToolbar1->addWidget(BtnDelete);
    RzToolbar1->addWidget(BtnInsertRecord);
    RzToolbar1->addWidget(BtnDeleteRecord);
    auto* spacer = new QWidget(RzToolbar1);
    spacer->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    RzToolbar1->addWidget(spacer);
    RzToolbar1->addWidget(RzToolButton1);
    addToolBar(Qt::TopToolBarArea, RzToolbar1);

    auto* central = named(new QWidget(this), "CentralPanel");
    auto* column = new QVBoxLayout(central);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);

    RzPageControl1 = named(new QTabWidget(central), "RzPageControl1");
    RzPageControl1->tabBar()->setObjectName(QStringLiteral("RzPageControl1TabBar"));
    RzPageControl1->tabBar()->setFixedHeight(19);
    RzPageControl1->setDocumentMode(false);
    TabSheet1 = named(buildLogTab(), "TabSheet1");
    TabSheet2 = named(buildPhonebookTab(), "TabSheet2");
    TabSheet3 = named(buildOptionsTab(), "TabSheet3");
    TabSheet4 = named(buildHelpTab(), "TabSheet4");
    RzPageControl1->addTab(TabSheet1, QStringLiteral("Log"));
    RzPageControl1->addTab(TabSheet2, QStringLiteral("Telefoonlijst"));
    RzPageControl1->addTab(TabSheet3, QStringLiteral("Opties"));
    RzPageControl1->addTab(TabSheet4, QStringLiteral("Help"));
    column->addWidget(RzPageControl1, 1);

    RzTabbedListBox1 = named(new QListWidget(central), "RzTabbedListBox1");
    RzTabbedListBox1->setFixedHeight(206);
    RzTabbedListBox1->setUniformItemSizes(true);
    RzTabbedListBox1->setItemDelegate(new TabbedListDelegate(RzTabbedListBox1));
    column->addWidget(RzTabbedListBox1);
    setCentralWidget(central);

    buildStatusBar();
}

QWidget* TForm1::buildLogTab() {
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    DGrid = named(new QTableView(page), "DGrid");
    DGrid->setModel(m_log);
    DGrid->setFont(gridFont());
    DGrid->setSelectionBehavior(QAbstractItemView::SelectRows);
    DGrid->setSelectionMode(QAbstractItemView::ExtendedSelection);
    DGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    DGrid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    DGrid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    DGrid->setItemDelegate(
        new AlignedColumnsDelegate({CallLogModel::ColDirection, CallLogModel::ColTime}, DGrid));
    DGrid->setWordWrap(false);
    // Fixed row heights keep a very long log cheap to lay out.
    QHeaderView* rows = DGrid->verticalHeader();
    rows->setVisible(false);
    rows->setSectionResizeMode(QHeaderView::Fixed);
    rows->setMinimumSectionSize(1);
    rows->setDefaultSectionSize(QFontMetrics(DGrid->font()).height() + 4);
    QHeaderView* header = DGrid->horizontalHeader();
    QFont headerFont = gridFont();
    headerFont.setBold(true);
    header->setFont(headerFont);
    header->setMinimumSectionSize(0);
    header->setStretchLastSection(true);
    header->setHighlightSections(false);
    DGrid->setColumnWidth(CallLogModel::ColDirection, 41);
    DGrid->setColumnWidth(CallLogModel::ColLine, 100);
    DGrid->setColumnWidth(CallLogModel::ColTime, 48);
    DGrid->setColumnWidth(CallLogModel::ColNumber, 125);
    DGrid->setColumnWidth(CallLogModel::ColName, 261);
    layout->addWidget(DGrid);
    return page;
}

QWidget* TForm1::buildPhonebookTab() {
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    PGrid = named(new QTableView(page), "PGrid");
    PGrid->setModel(m_phonebook);
    PGrid->setFont(gridFont());
    PGrid->setSelectionBehavior(QAbstractItemView::SelectItems);
    PGrid->setSelectionMode(QAbstractItemView::ContiguousSelection);
    PGrid->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                           QAbstractItemView::AnyKeyPressed);
    PGrid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    PGrid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    PGrid->horizontalHeader()->setVisible(false);
    PGrid->verticalHeader()->setVisible(false);
    PGrid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    PGrid->verticalHeader()->setDefaultSectionSize(QFontMetrics(PGrid->font()).height() + 4);
    PGrid->horizontalHeader()->setStretchLastSection(true);
    PGrid->setColumnWidth(PhonebookModel::ColNumber, 120);
    PGrid->setColumnWidth(PhonebookModel::ColName, 383);
    layout->addWidget(PGrid);
    return page;
}

QWidget* TForm1::buildOptionsTab() {
    auto* scroll = new QScrollArea;
    scroll->setWidgetResizable(true);
    auto* content = named(new QWidget, "ScrollBox1");
    auto* layout = new QVBoxLayout(content);

    auto* top = named(new QWidget(content), "TopPanel");
    auto* topRow = new QHBoxLayout(top);
    topRow->setContentsMargins(4, 4, 4, 4);
    auto* bookLabel = new QLabel(QStringLiteral("Tel. lijst:"), top);
    RzButtonEdit1 = named(new QLineEdit(top), "RzButtonEdit1");
    QAction* browse = RzButtonEdit1->addAction(style()->standardIcon(QStyle::SP_DirOpenIcon),
                                               QLineEdit::TrailingPosition);
    browse->setObjectName(QStringLiteral("RzButtonEdit1Button"));
    connect(browse, &QAction::triggered, this, &TForm1::RzButtonEdit1ButtonClick);
    bookLabel->setBuddy(RzButtonEdit1);
    RzBitBtn2 = named(new QPushButton(QStringLiteral("Update"), top), "RzBitBtn2");
    topRow->addWidget(bookLabel);
    topRow->addWidget(RzButtonEdit1, 1);
    topRow->addWidget(RzBitBtn2);
    layout->addWidget(top);

    RzPageControl2 = named(new QTabWidget(content), "RzPageControl2");
    RzPageControl2->setTabPosition(QTabWidget::West);
    auto* xml = named(buildXmlPage(), "TabSheetXml");
    auto* tapi = named(buildTapiPage(), "TabSheetTapi");
    RzPageControl2->addTab(xml, QStringLiteral("XML"));
    RzPageControl2->addTab(tapi, QStringLiteral("Tapi"));
    layout->addWidget(RzPageControl2, 1);

    scroll->setWidget(content);
    return scroll;
}

namespace {
QWidget* whitePage() {
    auto* page = new QWidget;
    QPalette pal = page->palette();
    pal.setColor(QPalette::Window, Qt::white);
    page->setPalette(pal);
    page->setAutoFillBackground(true);
    return page;
}
} // namespace

QWidget* TForm1::buildXmlPage() {
    QWidget* page = whitePage();
    auto* grid = new QGridLayout(page);

    RzCheckBox1 = named(new QCheckBox(QStringLiteral("Actief"), page), "RzCheckBox1");
    grid->addWidget(RzCheckBox1, 0, 1);

    RzComboBox1 = named(new QComboBox(page), "RzComboBox1");
    RzComboBox1->addItems({QStringLiteral("SPA 501G, 504G, 508G"), QStringLiteral("SPA 941, 942")});
    RzComboBox1->setCurrentIndex(0);
    RzComboBox1->installEventFilter(this);
    auto* typeLabel = new QLabel(QStringLiteral("Type tel:"), page);
    typeLabel->setBuddy(RzComboBox1);
    grid->addWidget(typeLabel, 1, 0);
    grid->addWidget(RzComboBox1, 1, 1);

    RzSpinEdit1 = named(new QSpinBox(page), "RzSpinEdit1");
    RzSpinEdit1->setRange(1, 100);
    RzSpinEdit1->setValue(2);
    auto* intervalLabel = new QLabel(QStringLiteral("Interval (s):"), page);
    intervalLabel->setBuddy(RzSpinEdit1);
    grid->addWidget(intervalLabel, 2, 0);
    grid->addWidget(RzSpinEdit1, 2, 1);

    RzEdit1 = named(new QLineEdit(page), "RzEdit1");
    auto* urlLabel = new QLabel(QStringLiteral("IP-nr telefoon:"), page);
    urlLabel->setBuddy(RzEdit1);
    grid->addWidget(urlLabel, 3, 0);
    grid->addWidget(RzEdit1, 3, 1);

    RzComboBox2 = named(new QComboBox(page), "RzComboBox2");
    RzComboBox2->addItems({QStringLiteral("4 lijnen"), QStringLiteral("8 lijnen")});
    RzComboBox2->setCurrentIndex(0);
    auto* countLabel = new QLabel(QStringLiteral("Aantal lijnen:"), page);
    countLabel->setBuddy(RzComboBox2);
    grid->addWidget(countLabel, 4, 0);
    grid->addWidget(RzComboBox2, 4, 1);

    grid->addWidget(new QLabel(QStringLiteral("Actief:"), page), 5, 0);
    grid->addWidget(new QLabel(QStringLiteral("Omschrijving lijn:"), page), 5, 1);
    for (int i = 0; i < 8; ++i) {
        const auto at = static_cast<std::size_t>(i);
        auto* box = new QCheckBox(QStringLiteral("Lijn %1:").arg(i + 1), page);
        box->setObjectName(QStringLiteral("RzCheckBox%1").arg(i + 2));
        // Caption to the left of the box.
        box->setLayoutDirection(Qt::RightToLeft);
        box->setChecked(false);
        auto* edit = new QLineEdit(page);
        edit->setObjectName(QStringLiteral("RzEdit%1").arg(i + 2));
        edit->setMaxLength(50);
        m_lineBoxes.at(at) = box;
        m_lineEdits.at(at) = edit;
        grid->addWidget(box, 6 + i, 0);
        grid->addWidget(edit, 6 + i, 1);
    }
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(14, 1);
    return page;
}

QWidget* TForm1::buildTapiPage() {
    QWidget* page = whitePage();
    auto* grid = new QGridLayout(page);
    RzCheckBox10 = named(new QCheckBox(QStringLiteral("Actief"), page), "RzCheckBox10");
    grid->addWidget(RzCheckBox10, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("Device:"), page), 1, 0);
    Label9 = named(new QLabel(QStringLiteral("<select>"), page), "Label9");
    Label9->setTextFormat(Qt::PlainText);
    QPalette pal = Label9->palette();
    pal.setColor(QPalette::WindowText, Qt::blue);
    Label9->setPalette(pal);
    QFont underlined = Label9->font();
    underlined.setUnderline(true);
    Label9->setFont(underlined);
    Label9->setCursor(Qt::PointingHandCursor);
    grid->addWidget(Label9, 1, 1);
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(2, 1);
    return page;
}

QWidget* TForm1::buildHelpTab() {
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    RzMemo1 = named(new QPlainTextEdit(page), "RzMemo1");
    RzMemo1->setReadOnly(true);
    RzMemo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    RzMemo1->setLineWrapMode(QPlainTextEdit::NoWrap);
    QFont mono(QStringLiteral("Courier New"));
    mono.setPointSize(9);
    mono.setStyleHint(QFont::Monospace);
    RzMemo1->setFont(mono);
    QPalette pal = RzMemo1->palette();
    pal.setColor(QPalette::Base, pal.color(QPalette::ToolTipBase));
    pal.setColor(QPalette::Text, pal.color(QPalette::ToolTipText));
    RzMemo1->setPalette(pal);
    RzMemo1->setPlainText(helpText());
    layout->addWidget(RzMemo1);
    return page;
}

void TForm1::buildStatusBar() {
    RzStatusBar1 = named(new QStatusBar(this), "RzStatusBar1");
    RzStatusBar1->setFixedHeight(19);
    RzStatusBar1->setSizeGripEnabled(false);
    RzStatusPane2 = named(new QLabel(RzStatusBar1), "RzStatusPane2");
    RzStatusPane1 = named(new QLabel(RzStatusBar1), "RzStatusPane1");
    RzStatusPane1->setFixedWidth(181);
    RzVersionInfoStatus1 = named(new QLabel(RzStatusBar1), "RzVersionInfoStatus1");
    RzVersionInfoStatus1->setFixedWidth(73);
    RzVersionInfoStatus1->setAlignment(Qt::AlignCenter);
    RzVersionInfoStatus1->setText(QStringLiteral(VORBEL_VERSION_STRING));
    RzStatusBar1->addPermanentWidget(RzStatusPane2, 1);
    RzStatusBar1->addPermanentWidget(RzStatusPane1);
    RzStatusBar1->addPermanentWidget(RzVersionInfoStatus1);
    setStatusBar(RzStatusBar1);
}
