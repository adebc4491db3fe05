// Feeds arbitrary bytes to the simulator's scenario reader: it must answer a scenario or an
// error naming a place, never crash or run away.

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "telephony/tapi/scenario.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const QByteArray input(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const tapi::sim::ParseResult result = tapi::sim::parseScenario(input, QStringLiteral("fuzz"));
    if (!result.scenario && !result.error.startsWith(QStringLiteral("fuzz: ")))
        std::abort(); // an error must name its file
    if (result.scenario)
        for (const auto& device : result.scenario->devices)
            if (device.timeline.size() > static_cast<std::size_t>(tapi::sim::MaxTimelineEvents))
                std::abort();
    return 0;
}
