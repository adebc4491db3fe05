#pragma once

// The call's digit, media and silence monitoring objects: their settings and whether each is
// running for the selected call. The call object copies them to and from each call's record.

#include <cstdint>

#include <QString>

class TetLineInternal;
class TetCall;

class TetGatherDigits {
public:
    explicit TetGatherDigits(TetLineInternal* owner) : owner_(owner) {}
    bool Active() const { return active_; }
    int32_t Count() const { return count_; }
    const QString& Terminate() const { return terminate_; }
    int32_t Timeout() const { return timeout_; }

private:
    friend class TetCall;
    friend class TetLineDispatch;
    [[maybe_unused]] TetLineInternal* owner_;
    bool active_ = false;
    int32_t count_ = 5;
    QString terminate_ = QStringLiteral("#*");
    int32_t timeout_ = 5000;
};

class TetMonitorDigits {
public:
    explicit TetMonitorDigits(TetLineInternal* owner) : owner_(owner) {}
    bool Active() const { return active_; }

private:
    friend class TetCall;
    friend class TetLineDispatch;
    [[maybe_unused]] TetLineInternal* owner_;
    bool active_ = false;
};

class TetMonitorMediaModes {
public:
    explicit TetMonitorMediaModes(TetLineInternal* owner) : owner_(owner) {}
    bool Active() const { return active_; }
    uint32_t MediaModes() const { return mediaModes_; }

private:
    friend class TetCall;
    friend class TetLineDispatch;
    [[maybe_unused]] TetLineInternal* owner_;
    bool active_ = false;
    uint32_t mediaModes_ = 0;
};

class TetMonitorSilence {
public:
    explicit TetMonitorSilence(TetLineInternal* owner) : owner_(owner) {}
    bool Active() const { return active_; }
    int32_t Duration() const { return duration_; }

private:
    friend class TetCall;
    friend class TetLineDispatch;
    [[maybe_unused]] TetLineInternal* owner_;
    bool active_ = false;
    int32_t duration_ = 0;
};
