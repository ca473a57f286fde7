#include "javatools/junit/StackFrames.h"

#include <array>
#include <charconv>

namespace {

// Classes of the JDK and of the test frameworks, whose frames surround the
// program's own in every trace.
constexpr std::array<std::string_view, 11> kLibraryPrefixes = {
    "java.", "javax.", "jdk.", "sun.", "com.sun.", "org.junit.", "junit.", "org.opentest4j.",
    "org.apiguardian.", "org.hamcrest.", "worker.org.gradle."};

std::string_view Trimmed(std::string_view s)
{
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r'))
        s.remove_suffix(1);
    return s;
}

bool FromLibrary(std::string_view method)
{
    for (std::string_view prefix : kLibraryPrefixes) {
        if (method.starts_with(prefix))
            return true;
    }
    return false;
}

bool ParseFrame(std::string_view line, StackFrame& frame)
{
    line = Trimmed(line);
    if (!line.starts_with("at "))
        return false;
    line.remove_prefix(3);
    const std::size_t open = line.find('(');
    if (open == std::string_view::npos || line.back() != ')')
        return false;
    std::string_view method = line.substr(0, open);
    // "java.base/jdk.internal.X.m" names a module, "app//demo.X.m" a class
    // loader; the program's classes come from no named module.
    bool inModule = false;
    if (const std::size_t slash = method.rfind('/'); slash != std::string_view::npos) {
        const std::string_view prefix = method.substr(0, slash);
        inModule = !prefix.empty() && prefix != "app/" && !prefix.ends_with("/");
        method.remove_prefix(slash + 1);
    }
    frame.method = std::string(method);
    const std::string_view place = line.substr(open + 1, line.size() - open - 2);
    const std::size_t colon = place.rfind(':');
    if (colon != std::string_view::npos) {
        int number = 0;
        const auto [end, error] = std::from_chars(place.data() + colon + 1, place.data() + place.size(), number);
        if (error == std::errc() && end == place.data() + place.size() && number > 0) {
            frame.file = std::string(place.substr(0, colon));
            frame.line = number;
        }
    } else if (place != "Native Method" && place != "Unknown Source") {
        frame.file = std::string(place);
    }
    frame.user = frame.line > 0 && !inModule && !FromLibrary(frame.method);
    return true;
}

}  // namespace

std::vector<StackFrame> ParseStackFrames(std::string_view trace)
{
    std::vector<StackFrame> frames;
    while (!trace.empty()) {
        const std::size_t end = trace.find('\n');
        const std::string_view line = trace.substr(0, end);
        StackFrame frame;
        if (ParseFrame(line, frame))
            frames.push_back(std::move(frame));
        if (end == std::string_view::npos)
            break;
        trace.remove_prefix(end + 1);
    }
    return frames;
}
