#include "telephony/tapi/provider_registry.h"

#include <QStringList>

#include <map>
#include <mutex>

namespace tapi {

namespace {

// Explicit, not self-registering: a static library would drop an unreferenced registrar.
std::map<QString, ProviderFactory>& registry() {
    static std::map<QString, ProviderFactory> factories{
        {QStringLiteral("simulator"), &createSimulatorProvider}};
    return factories;
}

std::mutex& registryMutex() {
    static std::mutex m;
    return m;
}

} // namespace

void registerProvider(const QString& name, ProviderFactory factory) {
    std::lock_guard lock(registryMutex());
    registry()[name] = std::move(factory);
}

void unregisterProvider(const QString& name) {
    std::lock_guard lock(registryMutex());
    registry().erase(name);
}

QStringList registeredProviders() {
    std::lock_guard lock(registryMutex());
    QStringList names;
    for (const auto& entry : registry())
        names << entry.first;
    return names;
}

std::unique_ptr<Provider> createProvider(const QString& name) {
    ProviderFactory factory;
    {
        std::lock_guard lock(registryMutex());
        const auto it = registry().find(name);
        if (it == registry().end())
            return nullptr;
        factory = it->second;
    }
    return factory ? factory() : nullptr;
}

namespace {
constexpr const char* OperationNames[] = {"makeCall",
                                          "dial",
                                          "answer",
                                          "drop",
                                          "hold",
                                          "unhold",
                                          "redirect",
                                          "blindTransfer",
                                          "park",
                                          "unpark",
                                          "pickup",
                                          "setupTransfer",
                                          "completeTransfer",
                                          "swapHold",
                                          "setupConference",
                                          "prepareAddToConference",
                                          "addToConference",
                                          "removeFromConference",
                                          "forward",
                                          "setTerminal",
                                          "gatherDigits",
                                          "monitorDigits",
                                          "monitorMedia",
                                          "monitorTones",
                                          "generateDigits",
                                          "generateTone",
                                          "setMediaMode",
                                          "setCallPrivilege",
                                          "handoff"};
static_assert(std::size(OperationNames) == static_cast<std::size_t>(Operation::Count));
} // namespace

const char* operationName(Operation op) {
    const auto i = static_cast<std::size_t>(op);
    return i < std::size(OperationNames) ? OperationNames[i] : "";
}

std::optional<Operation> operationByName(const QString& name) {
    for (std::size_t i = 0; i < std::size(OperationNames); ++i)
        if (name.compare(QLatin1String(OperationNames[i]), Qt::CaseInsensitive) == 0)
            return static_cast<Operation>(i);
    return std::nullopt;
}

} // namespace tapi
