#pragma once

#include <QString>

#include <memory>

#include "telephony/tapi/service_provider.h"

namespace tapi {

// A fresh provider of the registered name, or nullptr.
std::unique_ptr<Provider> createProvider(const QString& name);

// The simulator's factory; registered under "simulator" from the start.
std::unique_ptr<Provider> createSimulatorProvider();

} // namespace tapi
