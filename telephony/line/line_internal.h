#pragma once

// The line component: the TAPI session, the line device, the related devices and the objects that
// show the selected address, terminal and call, with the component's events.

#include <cstdint>
#include <memory>

#include <QByteArray>
#include <QString>

#include "telephony/diagnostics/shared_control.h"
#include "telephony/line/line_events.h"
#include "telephony/line/tapi_buffer.h"

class TetCall;
class TetCallParameters;
class TetTransfer;
class TetConference;
class TetAddress;
class TetRelatedCommDevice;
class TetLineDevice;
class TetLineLine;
class TetRelatedPhoneDevice;
class TetPopup;
class TetPrivilege;
class TetTAPI;
class TetRelatedWaveDevice;
class TetTerminal;
class TetLineDispatch;
class QTimer;

class TetLineInternal : public TetSharedControl {
public:
    explicit TetLineInternal(QObject* owner = nullptr);
    ~TetLineInternal() override;
    TetLineInternal(const TetLineInternal&) = delete;
    TetLineInternal& operator=(const TetLineInternal&) = delete;

    // Called after stored settings were applied: opens the session again when Enabled was stored.
    void Loaded();

    // Whether the TAPI session is open; writing True starts it and reads the device list.
    bool Enabled() const { return enabled_; }
    void setEnabled(bool value);
    bool EnabledControl() const { return Enabled(); }
    void setEnabledControl(bool value) { setEnabled(value); }

    TetCall* Call() { return call_.get(); }
    TetTransfer* Transfer() { return transfer_.get(); }
    TetConference* Conference() { return conference_.get(); }
    TetAddress* Address() { return address_.get(); }
    TetRelatedCommDevice* Comm() { return comm_.get(); }
    TetLineDevice* Device() { return device_.get(); }
    TetLineLine* Line() { return line_.get(); }
    TetRelatedPhoneDevice* Phone() { return phone_.get(); }
    TetPopup* Popup() { return popup_.get(); }
    TetPrivilege* Privilege() { return privilege_.get(); }
    TetTAPI* TAPI() { return tapi_.get(); }
    TetRelatedWaveDevice* WavePlay() { return wavePlay_.get(); }
    TetRelatedWaveDevice* WaveRecord() { return waveRecord_.get(); }
    TetTerminal* Terminal() { return terminal_.get(); }

    // The dialling-location dialog for Call.PhoneNumber.
    bool SetLocation();

    // The full property dump into the log.
    bool LogProperties(const QString& header);

    // ---- Events (the handlers run only while Vigil.Events is on, except OnTAPIMessage,
    // OnTAPIReply, OnDevSpecific and OnDevSpecificFeature). OnError and OnLog come from the base.
    TET_CallNotifyEvent OnBusy;
    TET_CallNotifyEvent OnCallBegin;
    TET_CallNotifyEvent OnCallEnd;
    TET_CallNotifyEvent OnCalledID;
    TET_CallNotifyEvent OnCallerID;
    TET_CallNotifyEvent OnCallMediaModeChange;
    TET_CallNotifyEvent OnCallOwnerChange;
    TET_CallNotifyEvent OnConferenced;
    TET_CallNotifyEvent OnConnected;
    TET_CallNotifyEvent OnConnectedID;
    TET_CallNotifyEvent OnDialing;
    TET_CallNotifyEvent OnDialtone;
    TET_CallNotifyEvent OnDigitsSent;
    TET_CallNotifyEvent OnDisconnected;
    TET_CallNotifyEvent OnHold;
    TET_CallNotifyEvent OnHoldPendingConference;
    TET_CallNotifyEvent OnHoldPendingTransfer;
    TET_CallNotifyEvent OnIdle;
    TET_CallNotifyEvent OnOffering;
    TET_CallNotifyEvent OnProceeding;
    TET_CallNotifyEvent OnRedirectingID;
    TET_CallNotifyEvent OnRedirectionID;
    TET_CallNotifyEvent OnRingBack;
    TET_CallNotifyEvent OnSilence;
    TET_CallNotifyEvent OnSpecialInfo;
    TET_CallNotifyEvent OnToneSent;
    TET_CallStateEvent OnCallState;
    TET_CallInfoEvent OnCallInfo;
    TET_LineStateEvent OnLineState;
    TET_ProcDeviceStateCount OnRing;
    TET_AddressStateEvent OnAddressState;
    TET_AddressNotifyEvent OnAddressForward;
    TET_NotifyEvent OnMessageOn;
    TET_NotifyEvent OnMessageOff;
    TET_DevSpecific OnDevSpecific;
    TET_DevSpecific OnDevSpecificFeature;
    TET_ProcDigitReceived OnDigitReceived;
    TET_ProcDigitsGathered OnDigitsGathered;
    TET_TAPIMessageEvent OnTAPIMessage;
    TET_TAPIReplyEvent OnTAPIReply;

    // ---- Operations shared with the call objects and the message dispatch.

    bool SessionOpen() const { return sessionOpen_; }
    // Starts the session; the device count goes to deviceCount. Returns the TAPI result.
    LONG InitializeSession(int32_t& deviceCount);
    void ShutdownSession();
    void ResetSession();
    void ReadDeviceData();
    // Opens the line with the media modes (0: Device.MediaModes.Active). False on any failure.
    bool OpenLine(uint32_t mediaModes);
    // Closes the line and ends every call; with lineGone no TAPI call is made (TAPI closed it).
    bool CloseLine(bool lineGone);
    // LINEDEVCAPS of a device into buffer; returns the TAPI result.
    LONG GetDevCaps(uint32_t deviceID, TapiBuffer& buffer);
    void RefreshLineStatus();
    void RefreshAddressStatus();
    LONG DeallocateCall(uint32_t callHandle);
    // Waits (processing events) until the slot holds -1; True when TAPI.ReplyTimeout passed.
    bool WaitForReply(int32_t& slot);

    // Related devices.
    bool GetRelatedDeviceID(const QString& deviceClass, uint32_t handle, int32_t& id);
    bool GetRelatedCommHandle(uint32_t callHandle, intptr_t& handle);
    void LookupRelatedDevices();
    void ForgetRelatedDevices();
    void LookupCommHandle(uint32_t callHandle);
    void ReleaseCommHandle();

    // The IDLE path: OnIdle now, or after Device.IdleDelay from the idle timer.
    void StartIdleTimer(int32_t interval);
    bool IdleTimerActive() const;

    // Set while digits are being sent, so LINE_GENERATE fires OnDigitsSent, not OnToneSent.
    bool DigitsGenerating() const { return digitsGenerating_; }
    void setDigitsGenerating(bool value) { digitsGenerating_ = value; }

    // Whether application handlers may run (Vigil.Events).
    bool EventsOn() const;

    // The activation request last written to Device.Active (kept per component, so one
    // component's request does not open another's line in Loaded).
    bool ActivationRequested() const { return activationRequested_; }

    // The callback that TAPI calls for every message of the session.
    static void LineCallback(DWORD hDevice, DWORD dwMessage, DWORD_PTR dwCallbackInstance,
                             DWORD_PTR dwParam1, DWORD_PTR dwParam2, DWORD_PTR dwParam3);

    // ---- The selected call, as the line's own objects need it.
    uint32_t SelectedCallHandle();
    uint32_t SelectedCallMediaMode();
    QString SelectedCallPhoneNumber();
    void SetSelectedCallPhoneNumber(const QString& number);
    // Call.Parameters; nullptr while the library has no call object.
    TetCallParameters* CallParameters();
    void LogCallProperties(const QString& prefix);
    // The number without " ", "+", "(", ")", "-" and ".".
    static QString StripPunctuationText(const QString& number);

    // ---- Log and error helpers for the component's objects.
    void Stamped(const QString& line);
    void Detail(const QString& line);
    void Report(LONG code);
    void ClearError();
    LONG ErrorNumber();
    static QString Hex8(uint32_t value);
    static QString HexBr(uint32_t value);
    static QString Bool(bool value);
    // Texts inside TAPI structures: size bytes at offset, up to the first NUL, trimmed.
    static QString StructText(const TapiBuffer& buffer, uint32_t offset, uint32_t size);
    // Texts handed to TAPI: single-byte, NUL-terminated.
    static QByteArray TapiText(const QString& text);

private:
    friend class TetLineDispatch;
    friend class TetLineDevice;

    // Text helpers that follow the monitor settings and the line error table.
    QString FormatSyntax(const QString& line) const;
    QString ErrorTextOf(LONG code) const;
    QString UnavailableDeviceEntry(LONG code);
    void ReadDeviceList();
    void ResetCallParameters();

    // The call list and the call object, as the session code needs them.
    void ClearParties();
    void ClearCallSelection();
    void ResetCallState();
    void ClearCallData();
    void StartCallList();
    void AppendExistingCall(uint32_t handle);
    void SelectNextCall();
    void EndAllCalls(bool lineGone);

    void SetDeviceActive(bool value);
    void SetDeviceID(int32_t n);
    void FireIdleFromTimer();
    void SelectTerminalsOfDevice();
    void ClearCallState();
    void ForwardToDispatch(DWORD hDevice, DWORD dwMessage, DWORD_PTR dwParam1, DWORD_PTR dwParam2,
                           DWORD_PTR dwParam3);

    bool enabled_ = false;
    bool sessionOpen_ = false;
    bool activationRequested_ = false;
    std::unique_ptr<QTimer> idleTimer_;
    int32_t idleInterval_ = 0;
    bool digitsGenerating_ = false;
    std::unique_ptr<TetCall> call_;
    std::unique_ptr<TetTransfer> transfer_;
    std::unique_ptr<TetConference> conference_;
    std::unique_ptr<TetAddress> address_;
    std::unique_ptr<TetRelatedCommDevice> comm_;
    std::unique_ptr<TetLineDevice> device_;
    std::unique_ptr<TetLineLine> line_;
    std::unique_ptr<TetRelatedPhoneDevice> phone_;
    std::unique_ptr<TetPopup> popup_;
    std::unique_ptr<TetPrivilege> privilege_;
    std::unique_ptr<TetTAPI> tapi_;
    std::unique_ptr<TetRelatedWaveDevice> wavePlay_;
    std::unique_ptr<TetRelatedWaveDevice> waveRecord_;
    std::unique_ptr<TetTerminal> terminal_;
    std::unique_ptr<TetLineDispatch> dispatch_;
};
