#include "telephony/diagnostics/log.h"

#include <QTime>

#include "telephony/diagnostics/log_printer.h"
#include "telephony/diagnostics/shared_control.h"
#include "telephony/diagnostics/vigil.h"

QString TetLog::Banner() {
    return QStringLiteral("Telvane v3.7.1.2");
}

TetLog::TetLog(TetSharedControl* owner, TetVigil* vigil) : owner_(owner), vigil_(vigil) {}

QString TetLog::TimeStampText() {
    return QTime::currentTime().toString(QStringLiteral("mm:ss.zzz"));
}

void TetLog::PutOpeningLines(const QString& kindName) {
    lines_.append(Banner());
    lines_.append(QStringLiteral("Create ") + kindName);
    RefreshMonitor();
}

void TetLog::TrimTo(int32_t limit) {
    const qsizetype keep = limit < 0 ? 0 : limit;
    if (lines_.size() > keep)
        lines_.remove(0, lines_.size() - keep);
}

bool TetLog::WriteLine(const QString& Line, bool Stamped) {
    // Trim before the append so at most Count lines remain afterwards.
    if (active_)
        TrimTo(count_ - 1);

    QString text = Line == u"MARKER" ? QString(80, u'*') : Line;
    text = vigil_->FormatSyntax(text);
    if (timeStamp_)
        text = (Stamped ? TimeStampText() + u'\t' : QStringLiteral("\t\t")) + text;

    bool delivered = false;
    if (active_) {
        lines_.append(text);
        RefreshMonitor();
        delivered = true;
    }
    if (owner_->OnLog) {
        // A copy: the handler may reassign OnLog while it runs.
        const TET_LogEvent handler = owner_->OnLog;
        handler(owner_, text);
        delivered = true;
    }
    return delivered;
}

void TetLog::setActive(bool value) {
    // The switch-off is the last line kept, the switch-on the first.
    if (!value)
        WriteLine(QStringLiteral("Log.Active := False"), true);
    active_ = value;
    if (value)
        WriteLine(QStringLiteral("Log.Active := True"), true);
    RefreshMonitor();
}

void TetLog::setCount(int32_t value) {
    if (value > 0) {
        WriteLine(QStringLiteral("Log.Count := ") + QString::number(value) +
                      QStringLiteral(" //Lines"),
                  true);
        if (value < count_)
            TrimTo(value);
        count_ = value;
    }
    RefreshMonitor();
}

void TetLog::setTimeStamp(bool value) {
    WriteLine(QStringLiteral("Log.TimeStamp := ") + TetVigil::BoolText(value), true);
    timeStamp_ = value;
    RefreshMonitor();
}

bool TetLog::AppendToLastLine(const QString& Text) {
    if (!active_)
        return false;
    if (!lines_.isEmpty() && !lines_.last().contains(u"<< Error >>")) {
        lines_.last() += vigil_->FormatSyntax(Text);
        RefreshMonitor();
    } else {
        WriteLine(Text, false);
    }
    return true;
}

bool TetLog::Clear() {
    if (!active_)
        return false;
    lines_.clear();
    RefreshMonitor();
    return true;
}

bool TetLog::Print() {
    TetLogPrinter* printer = InstalledLogPrinter();
    if (printer == nullptr)
        return false;
    const QString kindName = owner_->KindName();
    QStringList page;
    page.reserve(lines_.size() + 3);
    page << Banner() << QStringLiteral("Control: ") + kindName << QString();
    page << lines_;
    return printer->print(page, kindName);
}

bool TetLog::LogProperties(const QString& Header, const QString& Name, const QString& Prefix) {
    if (!active_)
        return false;
    if (!Header.isEmpty())
        WriteLine(Header, true);
    const QString path =
        Prefix + (Name.isEmpty() ? QString() : Name + u'.') + QStringLiteral("Log.");
    WriteLine(path + QStringLiteral("Active = ") + TetVigil::BoolText(active_), false);
    WriteLine(path + QStringLiteral("Count = ") + QString::number(count_), false);
    WriteLine(path + QStringLiteral("TimeStamp = ") + TetVigil::BoolText(timeStamp_), false);
    return true;
}
