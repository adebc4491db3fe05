#pragma once

// The simulator provider: devices and timelines from the scenario named by VORBEL_TAPI_SIM,
// call control with the state sequences of a simple exchange.

#include <memory>

#include "telephony/tapi/scenario.h"
#include "telephony/tapi/service_provider.h"

namespace tapi::sim {

class SimDevice final : public ProviderDevice {
public:
    explicit SimDevice(ScenarioDevice definition);
    ~SimDevice() override;

    const DeviceInfo& info() const override;
    void opened(DeviceHost& host, DWORD deviceId, QObject* clock) override;
    void closed() override;
    LONG request(const Request& request) override;

    // Direct injection (tapisim); the service's lock is held by the caller.
    DWORD injectCall(const CallData& data, DWORD state, DWORD mode);
    void runEvent(const TimelineEvent& event);
    bool timelineFinished() const;
    DeviceHost* host() const;
    DWORD deviceId() const;

    struct State;

private:
    std::shared_ptr<State> state_;
};

} // namespace tapi::sim
