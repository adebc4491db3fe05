#pragma once

// The diagnostic log of a component: a bounded list of lines. Every line after the two opening
// lines passes through WriteLine, which trims to Count, rewrites the line for the chosen syntax
// style, adds the time stamp and hands the line to the component's OnLog.

#include <cstdint>

#include <QString>
#include <QStringList>

class TetSharedControl;
class TetVigil;

class TetLog {
public:
    // The suite banner, the first opening line and the first printed line.
    static QString Banner();

    TetLog(TetSharedControl* owner, TetVigil* vigil);
    TetLog(const TetLog&) = delete;
    TetLog& operator=(const TetLog&) = delete;

    // Oldest line first.
    const QStringList& Lines() const { return lines_; }

    // Stamped lines get "mm:ss.zzz" and a tab, detail lines two tabs, while on. False at creation.
    bool TimeStamp() const { return timeStamp_; }
    void setTimeStamp(bool value);

    // While off, lines are not kept but still reach OnLog. True at creation.
    bool Active() const { return active_; }
    void setActive(bool value);

    // The most lines WriteLine leaves in Lines; 50 at creation. 0 or less is ignored.
    int32_t Count() const { return count_; }
    void setCount(int32_t value);

    // Adds one line: a stamped line starts an entry, a detail line belongs to the one before.
    // True if the line was kept or delivered to OnLog.
    bool WriteLine(const QString& Line, bool Stamped);
    // Extends the newest line (or writes a detail line after an error line). False while inactive.
    bool AppendToLastLine(const QString& Text);
    // Removes all lines. False while inactive.
    bool Clear();
    // Prints the banner, "Control: " + the kind name, an empty line and every line through the
    // installed TetLogPrinter. False when none is installed or printing failed.
    bool Print();
    // Writes "Active = ", "Count = " and "TimeStamp = " under Name + "." + "Log.".
    bool LogProperties(const QString& Header, const QString& Name, const QString& Prefix);

    // Tells a monitor window that Lines changed; no monitor window is built, so nothing happens.
    void RefreshMonitor() {}

    // The current local time as minutes, seconds and milliseconds: "07:42.315".
    static QString TimeStampText();

    // The banner and "Create " + kindName, straight into Lines: no trimming, no stamp, no OnLog.
    void PutOpeningLines(const QString& kindName);

private:
    void TrimTo(int32_t limit);

    TetSharedControl* owner_;
    TetVigil* vigil_;
    QStringList lines_;
    bool timeStamp_ = false;
    bool active_ = true;
    int32_t count_ = 50;
};
