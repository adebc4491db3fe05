#pragma once

// The diagnostic monitor settings of a component: the log, the syntax style of log lines, the
// event switch and the monitor window's state. No monitor window is built: ShowMonitor and
// ShowOnEvent do nothing, Visible stays False and the geometry readers give 0.

#include <cstdint>
#include <memory>

#include <QString>

#include "telephony/diagnostics/log.h"
#include "telephony/diagnostics/tapi_names.h"

class TetSharedControl;

// The development environment whose syntax the log lines follow.
enum class TDevEnv { deCppBuilder, deDelphi, deOther, deVisualBasic };

enum class TWindowState { wsNormal, wsMinimized, wsMaximized };

class TetVigil {
public:
    explicit TetVigil(TetSharedControl* owner);
    ~TetVigil();
    TetVigil(const TetVigil&) = delete;
    TetVigil& operator=(const TetVigil&) = delete;

    TetLog* Log() { return log_.get(); }
    const TetLog* Log() const { return log_.get(); }

    // The event switch: while False the application's handlers that obey it are skipped.
    bool Events() const { return events_; }
    void setEvents(bool value) { events_ = value; }

    bool StayOnTop() const { return stayOnTop_; }
    void setStayOnTop(bool value) { stayOnTop_ = value; }

    // Writes "Vigil.Visible := True/False"; without a monitor window it stays False.
    bool Visible() const { return visible_; }
    void setVisible(bool value);

    // Stores the style, then writes "DevEnv := " + its name in the new style.
    TDevEnv DevEnv() const { return devEnv_; }
    void setDevEnv(TDevEnv value);

    // The monitor window's last place; each reader gives 0 (wsNormal) with no window.
    int32_t Top();
    int32_t Left();
    int32_t Width();
    int32_t Height();
    TWindowState WindowState();
    void setTop(int32_t value) { top_ = value; }
    void setLeft(int32_t value) { left_ = value; }
    void setWidth(int32_t value) { width_ = value; }
    void setHeight(int32_t value) { height_ = value; }
    void setWindowState(TWindowState value) { windowState_ = value; }

    // Would bring up the monitor window for an event whose popup flag is set; no window here.
    void ShowOnEvent(bool Flag);
    // Would create and show the monitor window; no window here.
    void ShowMonitor();

    // "DevEnv = ", "Events = ", "Height = ", "Left = ", "StayOnTop = ", "Top = ", "Visible = ",
    // "Width = ", "WindowState = " under Name + "." + "Vigil.".
    bool LogProperties(const QString& Header, const QString& Name, const QString& Prefix);

    // "True" or "False".
    static QString BoolText(bool Value);
    // Eight upper-case hexadecimal digits, negative values in two's complement: "8000002C".
    static QString HexForm(uint32_t Value);
    // The hexadecimal form in square brackets: "[8000002C]".
    static QString HexText(uint32_t Value);
    static QString DevEnvName(TDevEnv value);
    static QString WindowStateName(TWindowState value);

    // The line rewritten for DevEnv ("~" is a point that survives every style).
    QString FormatSyntax(const QString& Line) const;
    static QString FormatSyntax(const QString& Line, TDevEnv style);

    // Detail line Label + " = " + HexText(Value), then "\t\t" + NameOf(bit) for every set bit from
    // First doubling up to Last (a First of 0 never names the value 0; bits above Last are not
    // named).
    void LogBits(const QString& Label, uint32_t Value, TetNameFunction NameOf, uint32_t Last,
                 uint32_t First = 1);
    // The same label line, then "\t\t" + NameOf(Value AND V) for V from First to Last by 1.
    void LogValueRange(const QString& Label, uint32_t Value, TetNameFunction NameOf, uint32_t Last,
                       uint32_t First = 1);

private:
    TetSharedControl* owner_;
    bool events_ = true;
    bool stayOnTop_ = false;
    bool visible_ = false;
    std::unique_ptr<TetLog> log_;
    TDevEnv devEnv_ = TDevEnv::deDelphi;
    int32_t top_ = 0;
    int32_t left_ = 0;
    int32_t width_ = 0;
    int32_t height_ = 0;
    TWindowState windowState_ = TWindowState::wsNormal;
};
