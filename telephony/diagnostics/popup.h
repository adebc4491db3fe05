#pragma once

// The popup flags of the line component: one per event; a set flag would bring the monitor
// window up when its event occurs. All False at creation and never stored.

#include <array>
#include <cstddef>

#include <QString>

class TetSharedControl;

// The flags in their fixed order (also the order of the dump).
#define VORBEL_TET_POPUP_FLAGS(X)                                                                  \
    X(OnAddressState)                                                                              \
    X(OnLineState)                                                                                 \
    X(OnDevSpecific)                                                                               \
    X(OnDevSpecificFeature)                                                                        \
    X(OnCallerID)                                                                                  \
    X(OnIdle)                                                                                      \
    X(OnError)                                                                                     \
    X(OnRing)                                                                                      \
    X(OnCalledID)                                                                                  \
    X(OnConnectedID)                                                                               \
    X(OnRedirectionID)                                                                             \
    X(OnRedirectingID)                                                                             \
    X(OnMessageOn)                                                                                 \
    X(OnMessageOff)                                                                                \
    X(OnBusy)                                                                                      \
    X(OnCallBegin)                                                                                 \
    X(OnCallEnd)                                                                                   \
    X(OnCallInfo)                                                                                  \
    X(OnCallMediaModeChange)                                                                       \
    X(OnCallOwnerChange)                                                                           \
    X(OnCallState)                                                                                 \
    X(OnConferenced)                                                                               \
    X(OnRingBack)                                                                                  \
    X(OnConnected)                                                                                 \
    X(OnSpecialInfo)                                                                               \
    X(OnDialing)                                                                                   \
    X(OnDialtone)                                                                                  \
    X(OnProceeding)                                                                                \
    X(OnDigitReceived)                                                                             \
    X(OnDigitsSent)                                                                                \
    X(OnHold)                                                                                      \
    X(OnHoldPendingConference)                                                                     \
    X(OnHoldPendingTransfer)                                                                       \
    X(OnToneSent)                                                                                  \
    X(OnDisconnected)                                                                              \
    X(OnOffering)                                                                                  \
    X(OnSilence)                                                                                   \
    X(OnTAPIMessage)                                                                               \
    X(OnTAPIReply)                                                                                 \
    X(OnAddressForward)                                                                            \
    X(OnDigitsGathered)

class TetPopup {
public:
#define VORBEL_TET_POPUP_ENUM(name) name,
    enum class Flag : std::size_t { VORBEL_TET_POPUP_FLAGS(VORBEL_TET_POPUP_ENUM) };
#undef VORBEL_TET_POPUP_ENUM
    static constexpr std::size_t FlagCount = 41;

    explicit TetPopup(TetSharedControl* owner);

    bool Get(Flag flag) const {
        return flags_[static_cast<std::size_t>(flag)];
    }
    void Set(Flag flag, bool value) {
        flags_[static_cast<std::size_t>(flag)] = value;
    }
    static QString FlagName(Flag flag);

    // Getter = flag name, setter = "set" + flag name: popup.OnError(), popup.setOnError(true).
#define VORBEL_TET_POPUP_ACCESSORS(name)                                                           \
    bool name() const {                                                                            \
        return Get(Flag::name);                                                                    \
    }                                                                                              \
    void set##name(bool value) {                                                                   \
        Set(Flag::name, value);                                                                    \
    }
    VORBEL_TET_POPUP_FLAGS(VORBEL_TET_POPUP_ACCESSORS)
#undef VORBEL_TET_POPUP_ACCESSORS

    // One detail line per flag, Name + "." + "Popup." + flag + " = " + True/False, in order.
    bool LogProperties(const QString& Header, const QString& Name, const QString& Prefix);

private:
    TetSharedControl* owner_;
    std::array<bool, FlagCount> flags_{};
};
