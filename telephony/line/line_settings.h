#pragma once

// The TAPI versions and reply time-out, the line handles and the privileges of the component.

#include <cstdint>

#include <QString>

class TetLineInternal;

class TetTAPI {
public:
    explicit TetTAPI(TetLineInternal* owner) : owner_(owner) {}

    const QString& TSP() const { return tsp_; }
    uint32_t ExtensionHighVersion() const { return extensionHighVersion_; }
    void setExtensionHighVersion(uint32_t value) { extensionHighVersion_ = value; }
    uint32_t ExtensionLowVersion() const { return extensionLowVersion_; }
    void setExtensionLowVersion(uint32_t value) { extensionLowVersion_ = value; }
    uint32_t HighVersion() const { return highVersion_; }
    void setHighVersion(uint32_t value) { highVersion_ = value; }
    uint32_t LowVersion() const { return lowVersion_; }
    void setLowVersion(uint32_t value) { lowVersion_ = value; }
    // Milliseconds an operation waits for its LINE_REPLY; 0 means do not wait.
    int32_t ReplyTimeout() const { return replyTimeout_; }
    void setReplyTimeout(int32_t value) { replyTimeout_ = value; }
    uint32_t ExtensionVersion() const { return extensionVersion_; }
    uint32_t Version() const { return version_; }
    uint32_t ExtensionID0() const { return extensionID_[0]; }
    uint32_t ExtensionID1() const { return extensionID_[1]; }
    uint32_t ExtensionID2() const { return extensionID_[2]; }
    uint32_t ExtensionID3() const { return extensionID_[3]; }

    bool LogProperties(const QString& header, const QString& name, const QString& prefix) const;

private:
    friend class TetLineInternal;
    TetLineInternal* owner_;
    QString tsp_;
    uint32_t extensionHighVersion_ = 0;
    uint32_t extensionLowVersion_ = 0;
    uint32_t highVersion_ = 0x00020002;
    uint32_t lowVersion_ = 0x00010003;
    int32_t replyTimeout_ = 60000;
    uint32_t extensionVersion_ = 0;
    uint32_t version_ = 0;
    uint32_t extensionID_[4] = {0, 0, 0, 0};
};

// The handles of the session (HLINEAPP) and of the open line (HLINE).
class TetLineLine {
public:
    explicit TetLineLine(TetLineInternal* owner) : owner_(owner) {}

    uint32_t Handle() const { return handle_; }
    uint32_t AppHandle() const { return appHandle_; }

    bool LogProperties(const QString& header, const QString& name, const QString& prefix) const;

private:
    friend class TetLineInternal;
    TetLineInternal* owner_;
    uint32_t handle_ = 0;
    uint32_t appHandle_ = 0;
};

// The call privileges the line is opened with; none of them may change while it is open.
class TetPrivilege {
public:
    explicit TetPrivilege(TetLineInternal* owner) : owner_(owner) {}

    bool None() const { return none_; }
    void setNone(bool value);
    bool Monitor() const { return monitor_; }
    void setMonitor(bool value);
    bool Owner() const { return owner__; }
    void setOwner(bool value);

    // LINECALLPRIVILEGE_NONE, _MONITOR and _OWNER added together.
    uint32_t Bits() const;

    bool LogProperties(const QString& header, const QString& name, const QString& prefix) const;

private:
    bool Refused(const QString& line);

    bool none_ = false;
    bool monitor_ = true;
    bool owner__ = true;
    TetLineInternal* owner_;
};
