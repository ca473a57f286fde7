#include "view/VxEditPaintReport.h"

#include <QString>

#include <cstdlib>
#include <ctime>
#include <fstream>
#include <string>
#include <unistd.h>

namespace {

double ClockSeconds(clockid_t clock)
{
    timespec now{};
    clock_gettime(clock, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// The process's start in CLOCK_BOOTTIME seconds: field 22 of /proc/self/stat,
// counted after the command name, which may itself hold spaces.
double ProcessStartSeconds()
{
    std::ifstream stat("/proc/self/stat");
    std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
    const std::size_t close = text.rfind(')');
    if (close == std::string::npos)
        return 0.0;
    std::size_t at = close + 2;  // the state, field 3
    for (int field = 3; field < 22 && at != std::string::npos; ++field)
        at = text.find(' ', at) + 1;
    if (at == std::string::npos || at == 0)
        return 0.0;
    return std::strtod(text.c_str() + at, nullptr) / static_cast<double>(sysconf(_SC_CLK_TCK));
}

}  // namespace

VxEditPaintReport* VxEditPaintReport::Active()
{
    // Made once, on the first paint, and kept for the life of the process.
    static VxEditPaintReport* const report = []() -> VxEditPaintReport* {
        const char* path = std::getenv("QUILLET_PAINT_REPORT");
        if (!path || !*path)
            return nullptr;
        std::FILE* file = std::fopen(path, "a");
        return file ? new VxEditPaintReport(file) : nullptr;
    }();
    return report;
}

VxEditPaintReport::VxEditPaintReport(std::FILE* file) : file_(file) {}

void VxEditPaintReport::Painted(int firstLine, int lastLine, const QString& lineText,
                                const QString& columnText)
{
    static const double started = ProcessStartSeconds();
    const double sinceStart = ClockSeconds(CLOCK_BOOTTIME) - started;
    std::fprintf(file_, "%.6f %.6f %d %d %s %s\n", sinceStart, ClockSeconds(CLOCK_MONOTONIC), firstLine,
                 lastLine, lineText.isEmpty() ? "-" : qPrintable(lineText),
                 columnText.isEmpty() ? "-" : qPrintable(columnText));
    // Each line is complete on disk when the paint ends: the reader polls.
    std::fflush(file_);
}
