#include "telephony/diagnostics/log_printer.h"

#include <utility>

namespace {
// Installed once by the application; used from the main thread only.
std::unique_ptr<TetLogPrinter>& installedPrinter() {
    static std::unique_ptr<TetLogPrinter> printer;
    return printer;
}
} // namespace

std::unique_ptr<TetLogPrinter> InstallLogPrinter(std::unique_ptr<TetLogPrinter> printer) {
    return std::exchange(installedPrinter(), std::move(printer));
}

std::unique_ptr<TetLogPrinter> UninstallLogPrinter() {
    return std::exchange(installedPrinter(), nullptr);
}

TetLogPrinter* InstalledLogPrinter() {
    return installedPrinter().get();
}
