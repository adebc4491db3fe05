#pragma once

// Shared by the telephony layer tests: a recording line callback, a session opened on a
// scenario, and waiting on the real event loop.

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>
#include <QtTest>

#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "telephony/tapi/tapi.h"

namespace tapitest {

struct Received {
    QThread* thread = nullptr;
    DWORD device = 0;
    DWORD message = 0;
    DWORD_PTR instance = 0;
    DWORD_PTR p1 = 0;
    DWORD_PTR p2 = 0;
    DWORD_PTR p3 = 0;
};

// Every message any session of the test receives, in order.
inline std::vector<Received>& received() {
    static std::vector<Received> list;
    return list;
}
inline std::mutex& receivedMutex() {
    static std::mutex m;
    return m;
}
// Called inside the callback after recording, so a test can act like an application would.
inline std::function<void(const Received&)>& onMessage() {
    static std::function<void(const Received&)> f;
    return f;
}

inline void record(DWORD device, DWORD message, DWORD_PTR instance, DWORD_PTR p1, DWORD_PTR p2,
                   DWORD_PTR p3) {
    Received r{QThread::currentThread(), device, message, instance, p1, p2, p3};
    {
        std::lock_guard lock(receivedMutex());
        received().push_back(r);
    }
    if (onMessage())
        onMessage()(r);
}

inline std::vector<Received> messages(DWORD message) {
    std::lock_guard lock(receivedMutex());
    std::vector<Received> out;
    for (const Received& r : received())
        if (r.message == message)
            out.push_back(r);
    return out;
}

inline std::vector<Received> snapshot() {
    std::lock_guard lock(receivedMutex());
    return received();
}

inline void clearReceived() {
    std::lock_guard lock(receivedMutex());
    received().clear();
    onMessage() = nullptr;
}

// Runs the event loop until done() or the time is up.
inline bool waitUntil(const std::function<bool()>& done, int ms = 3000) {
    QDeadlineTimer deadline(ms);
    while (!done()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(1);
    }
    return true;
}

// Lets the event loop run for a while (to show that nothing more arrives).
inline void spin(int ms) {
    QDeadlineTimer deadline(ms);
    while (!deadline.hasExpired()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        QThread::msleep(1);
    }
}

inline QString scenarioPath(const QString& name) {
    return qEnvironmentVariable("VORBEL_SOURCE_DIR", QStringLiteral(VORBEL_TEST_SOURCE_DIR)) +
           QStringLiteral("/tests/telephony/tapi/scenarios/") + name;
}

inline void useScenario(const QString& path) {
    if (path.isEmpty())
        qunsetenv("VORBEL_TAPI_SIM");
    else
        qputenv("VORBEL_TAPI_SIM", path.toLocal8Bit());
}

// A session on a scenario, shut down at the end of the test.
struct Session {
    HLINEAPP app = 0;
    DWORD numDevs = 0;
    LONG result = 0;

    explicit Session(const QString& scenario) {
        clearReceived();
        useScenario(scenario);
        result = lineInitialize(&app, nullptr, &record, "tapi-test", &numDevs);
    }
    ~Session() {
        if (app)
            lineShutdown(app);
        clearReceived();
    }
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    // Opens a device as owner and monitor with all status messages enabled.
    HLINE open(DWORD device, DWORD mediaModes = LINEMEDIAMODE_INTERACTIVEVOICE,
               DWORD_PTR instance = 0x1234,
               DWORD privileges = LINECALLPRIVILEGE_OWNER | LINECALLPRIVILEGE_MONITOR) {
        HLINE line = 0;
        const LONG rc = lineOpen(app, device, &line, TAPI_VERSION2_2, 0, instance, privileges,
                                 mediaModes, nullptr);
        if (rc != 0)
            qWarning("lineOpen failed: %08X", static_cast<DWORD>(rc));
        return line;
    }
};

// A buffer for a structure with a variable part.
template <class T> struct Buffer {
    std::vector<std::byte> bytes;
    explicit Buffer(std::size_t extra = 4096) : bytes(sizeof(T) + extra) {
        get()->dwTotalSize = static_cast<DWORD>(bytes.size());
    }
    T* get() { return reinterpret_cast<T*>(bytes.data()); }
    T* operator->() { return get(); }
    std::string text(DWORD size, DWORD offset) const {
        if (size == 0 || offset + size > bytes.size())
            return {};
        const char* p = reinterpret_cast<const char*>(bytes.data()) + offset;
        return std::string(p, strnlen(p, size));
    }
};

// Waits for the LINE_REPLY of request id; answers its result, or 1 when none arrived.
inline LONG waitForReply(LONG requestId, int ms = 3000) {
    LONG result = 1;
    waitUntil(
        [&] {
            for (const Received& r : messages(LINE_REPLY))
                if (static_cast<LONG>(r.p1) == requestId) {
                    result = static_cast<LONG>(static_cast<DWORD>(r.p2));
                    return true;
                }
            return false;
        },
        ms);
    return result;
}

// The states LINE_CALLSTATE reported for a call handle, in order.
inline std::vector<DWORD> statesOf(HCALL call) {
    std::vector<DWORD> states;
    for (const Received& r : messages(LINE_CALLSTATE))
        if (r.device == call)
            states.push_back(static_cast<DWORD>(r.p1));
    return states;
}

} // namespace tapitest
