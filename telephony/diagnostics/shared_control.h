#pragma once

// What every component of the telephony suite shares: the error object, the diagnostic
// settings with the log, the events OnError and OnLog, and error reporting. The line component
// derives from it.

#include <cstdint>
#include <functional>
#include <memory>
#include <utility>

#include <QString>

#include "telephony/diagnostics/error.h"
#include "telephony/diagnostics/vigil.h"

class QObject;
class TetPopup;
class TetSharedControl;

using TET_NotifyEvent = std::function<void(TetSharedControl* Sender)>;
using TET_LogEvent = std::function<void(TetSharedControl* Sender, const QString& Line)>;

class TetSharedControl {
public:
    // Component kinds; they pick the error table and the name in the opening lines.
    static constexpr int32_t KindLine = 1;
    static constexpr int32_t KindPhone = 2;
    static constexpr int32_t KindPlay = 3;
    static constexpr int32_t KindRecord = 4;

    explicit TetSharedControl(QObject* owner = nullptr);
    virtual ~TetSharedControl();
    TetSharedControl(const TetSharedControl&) = delete;
    TetSharedControl& operator=(const TetSharedControl&) = delete;

    // Fired by ReportError while Vigil.Events is on.
    TET_NotifyEvent OnError;
    // Fired for every log line, whether or not the log is active or Vigil.Events is on.
    TET_LogEvent OnLog;

    QObject* Owner() const { return owner_; }

    TetError* Error() { return error_.get(); }
    const TetError* Error() const { return error_.get(); }
    TetVigil* Vigil() { return vigil_.get(); }
    const TetVigil* Vigil() const { return vigil_.get(); }
    TetLog* Log() { return vigil_->Log(); }

    int32_t ComponentKind() const { return kind_; }
    // "etLine" for the line component.
    QString KindName() const;
    static QString KindName(int32_t kind);
    // Sets the kind and puts the two opening lines (banner, "Create " + kind name) into the log.
    void SetComponentKind(int32_t kind);

    // Records Code in Error; for a non-zero code writes "<< Error >> text [hex]" (or
    // "<< Warning >> ..." when IsWarning, which fires nothing), then fires OnError under the
    // event switch, then lets the monitor react. Always returns True.
    bool ReportError(int32_t Code, bool IsWarning = false);

    // A stamped or detail line into the log.
    bool LogStamped(const QString& line) { return Log()->WriteLine(line, true); }
    bool LogDetail(const QString& line) { return Log()->WriteLine(line, false); }

    // Whether handlers that obey the event switch may run now.
    bool EventSwitchOn() const { return vigil_->Events(); }

    // Calls an assigned handler with this component as Sender, only while Vigil.Events is on.
    // True if it ran.
    template <class Handler, class... Args> bool FireEvent(const Handler& handler, Args&&... args) {
        if (!EventSwitchOn() || !handler)
            return false;
        // A copy: the handler may assign its own event while it runs.
        const Handler running = handler;
        running(this, std::forward<Args>(args)...);
        return true;
    }
    // Calls an assigned handler regardless of the event switch, for the few events that ignore it.
    template <class Handler, class... Args>
    bool FireEventAlways(const Handler& handler, Args&&... args) {
        if (!handler)
            return false;
        const Handler running = handler; // the handler may assign its own event
        running(this, std::forward<Args>(args)...);
        return true;
    }

protected:
    // The popup flags of the concrete component (not owned); ReportError asks its OnError flag.
    void SetPopupFlags(TetPopup* popup) { popup_ = popup; }
    TetPopup* PopupFlags() const { return popup_; }

private:
    QObject* owner_;
    int32_t kind_ = 0;
    std::unique_ptr<TetError> error_;
    std::unique_ptr<TetVigil> vigil_;
    TetPopup* popup_ = nullptr;
};
