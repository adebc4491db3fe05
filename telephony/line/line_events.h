#pragma once

// Event types of the line component. Every handler takes the component first (Sender); call
// handles are TAPI HCALL values carried as signed 32-bit numbers.

#include <cstdint>
#include <functional>

#include <QString>

class TetSharedControl;

using TET_CallNotifyEvent = std::function<void(TetSharedControl* Sender, int32_t CallHandle)>;
using TET_CallStateEvent =
    std::function<void(TetSharedControl* Sender, int32_t CallHandle, uint32_t State,
                       uint32_t StateMode, uint32_t Privilege)>;
using TET_CallInfoEvent =
    std::function<void(TetSharedControl* Sender, int32_t CallHandle, uint32_t CallInfoState)>;
using TET_LineStateEvent =
    std::function<void(TetSharedControl* Sender, uint32_t State, uint32_t Param2, uint32_t Param3)>;
using TET_ProcDeviceStateCount =
    std::function<void(TetSharedControl* Sender, uint32_t Count, uint32_t RingMode)>;
using TET_AddressStateEvent =
    std::function<void(TetSharedControl* Sender, uint32_t Address, uint32_t State)>;
using TET_AddressNotifyEvent = std::function<void(TetSharedControl* Sender, uint32_t Address)>;
using TET_DevSpecific = std::function<void(TetSharedControl* Sender, uint32_t hDevice,
                                           uint32_t lParam1, uint32_t lParam2, uint32_t lParam3)>;
using TET_ProcDigitReceived =
    std::function<void(TetSharedControl* Sender, int32_t CallHandle, char Digit, int32_t Tag)>;
using TET_ProcDigitsGathered =
    std::function<void(TetSharedControl* Sender, int32_t CallHandle, const QString& Digits,
                       uint32_t Termination, int32_t Tag)>;
using TET_TAPIMessageEvent =
    std::function<void(TetSharedControl* Sender, int32_t CallHandle, uint32_t Message,
                       uint32_t Param1, uint32_t Param2, uint32_t Param3)>;
using TET_TAPIReplyEvent = std::function<void(TetSharedControl* Sender, uint32_t Param1,
                                              uint32_t Param2, uint32_t Param3)>;
