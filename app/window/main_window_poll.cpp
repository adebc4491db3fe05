// The IP-phone poller: one page fetch per tick of Timer1, the values of each line into the
// per-line state table, the trace lines into the bottom list, then the tracking pass.

#include "app/window/main_window.h"

#include "app/window/page_fetcher.h"
#include "app/window/sample_pages.h"
#include "app/window/tabbed_list_delegate.h"

#include "app/core/status_page_parser.h"

#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QSpinBox>
#include <QTimer>
#include <QUrl>

namespace {
// The trace grows by a line per polled line and poll; keep the newest ones only.
constexpr int MaxTraceLines = 5000;
} // namespace

void TForm1::Timer1Timer() {
    // A tick while a poll still waits (the box was checked meanwhile) must not start a second
    // poll; the waiting one re-arms the timer when it ends.
    if (m_polling)
        return;
    Timer1->stop();
    m_polling = true;
    ++PollCount;
    if (PollCount > 3)
        PollCount = 1;
    PollPhone(m_replayMode ? PollCount : 0);
    TrackCalls();
    m_polling = false;
    Timer1->setInterval(RzSpinEdit1->value() * 1000);
    resumePolling();
    Q_EMIT pollFinished();
}

void TForm1::RzCheckBox1Click() {
    if (RzCheckBox1->isChecked())
        resumePolling();
    else
        Timer1->stop();
}

void TForm1::resumePolling() {
    if (m_closing || m_polling)
        return;
    if (RzCheckBox1->isChecked())
        Timer1->start();
    else
        Timer1->stop();
}

int TForm1::phoneType() const {
    return RzComboBox1->currentIndex();
}

std::array<bool, 8> TForm1::enabledLines() const {
    std::array<bool, 8> enabled{};
    for (std::size_t i = 0; i < enabled.size(); ++i)
        enabled.at(i) = m_lineBoxes.at(i)->isChecked();
    return enabled;
}

void TForm1::PollPhone(int sampleNumber) {
    QString timing;
    QElapsedTimer clock;
    clock.start();
    qint64 parseStart = 0;

    QString page;
    QString error;
    bool fetched = false;
    if (sampleNumber == 0) {
        const QUrl url(QStringLiteral("http://") + RzEdit1->text() +
                       QStringLiteral("/admin/spacfg.xml"));
        PageFetcher::Result result = m_fetcher->get(url);
        fetched = result.ok;
        page = std::move(result.page);
        error = std::move(result.error);
    } else {
        fetched = SamplePages::read(m_samplesFolder, phoneType(), sampleNumber, &page, &error);
    }

    if (fetched) {
        if (m_testMode)
            timing += QStringLiteral("Opvragen: %1 ms").arg(clock.elapsed());
        parseStart = clock.elapsed();
        const int type = phoneType();
        if (type == 0 || type == 1) {
            const int lineCount = StatusPageParser::lineCountForIndex(RzComboBox2->currentIndex());
            appendTrace(StatusPageParser::parse(page, type, lineCount, enabledLines(), m_state,
                                                sampleNumber));
        }
        RzStatusPane2->clear();
    } else {
        RzStatusPane2->setText(QStringLiteral("Error:") + error);
        // A request abandoned because the window closes is no reason to switch polling off for
        // the next start.
        if (!m_closing) {
            RzCheckBox1->setChecked(false);
            RzCheckBox1Click();
        }
    }

    if (m_testMode) {
        timing += QStringLiteral(" Verwerken: %1 ms").arg(clock.elapsed() - parseStart);
        RzStatusPane2->setText(timing);
    }
}

void TForm1::appendTrace(const QStringList& lines) {
    if (lines.isEmpty())
        return;
    auto* delegate = qobject_cast<TabbedListDelegate*>(RzTabbedListBox1->itemDelegate());
    bool grew = false;
    for (const QString& line : lines) {
        if (delegate && delegate->fit(line, RzTabbedListBox1->fontMetrics()))
            grew = true;
        RzTabbedListBox1->addItem(line);
    }
    while (RzTabbedListBox1->count() > MaxTraceLines)
        delete RzTabbedListBox1->takeItem(0);
    RzTabbedListBox1->setCurrentRow(RzTabbedListBox1->count() - 1);
    if (grew)
        RzTabbedListBox1->viewport()->update();
}
