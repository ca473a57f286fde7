#include "FuzzCheck.h"
#include "FuzzTargets.h"
#include "javatools/lsp/LspConnection.h"
#include "javatools/lsp/LspFrameReader.h"
#include "javatools/lsp/LspResults.h"
#include "javatools/lsp/LspUtf16.h"

#include <nlohmann/json.hpp>

#include <string>
#include <string_view>

namespace {

using nlohmann::json;

void ReadEverything(const json& value)
{
    LspResults::ReadCompletion(value);
    LspResults::ReadSignatureHelp(value);
    LspResults::ReadHover(value);
    LspResults::ReadLocations(value);
    LspResults::ReadDiagnostics(value);
    LspResults::ReadCapabilities(value);
    if (value.is_object())
        for (const char* part : {"result", "params", "capabilities"})
            if (value.contains(part))
                ReadEverything(value[part]);
}

}  // namespace

// The first byte says where the stream is cut in two; the rest is what a
// server writes.
int FuzzLspMessage(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    const std::string_view stream(reinterpret_cast<const char*>(data) + 1, size - 1);
    const std::size_t cut = stream.empty() ? 0 : data[0] % (stream.size() + 1);

    LspFrameReader reader;
    reader.Append(stream.substr(0, cut));
    std::string body;
    std::size_t taken = 0;
    const auto drain = [&] {
        while (reader.Next(body)) {
            taken += body.size();
            QUILLET_FUZZ_CHECK(taken <= stream.size());
            const json value = json::parse(body, nullptr, false);
            if (!value.is_discarded())
                ReadEverything(value);
        }
    };
    drain();
    reader.Append(stream.substr(cut));
    drain();
    QUILLET_FUZZ_CHECK(!reader.Failed() || !reader.Error().empty());

    // The connection answers what it reads with whole messages of JSON.
    std::string written;
    LspConnection connection([&](const std::string& framed) { written += framed; });
    for (int i = 0; i < 4; ++i)
        connection.Request("textDocument/hover", json::object(), [](const json& result, const json*) {
            ReadEverything(result);
        });
    connection.SetNotificationHandler([](const std::string&, const json& params) { ReadEverything(params); });
    const bool whole = connection.Feed(stream.substr(0, cut)) && connection.Feed(stream.substr(cut));
    QUILLET_FUZZ_CHECK(whole || !connection.Error().empty());
    LspFrameReader answers;
    answers.Append(written);
    while (answers.Next(body))
        QUILLET_FUZZ_CHECK(!json::parse(body, nullptr, false).is_discarded());
    QUILLET_FUZZ_CHECK(!answers.Failed() && answers.Pending() == 0);

    // Columns of the bytes as one line: counted one way and back.
    const std::string_view line = stream.substr(0, 256);
    int previous = 0;
    for (int column = 0; column <= static_cast<int>(line.size()); ++column) {
        const int units = LspUtf16::FromByteColumn(line, column);
        QUILLET_FUZZ_CHECK(units >= previous && units <= column);
        // A column inside a character counts that character as before it.
        const int back = LspUtf16::ToByteColumn(line, units);
        QUILLET_FUZZ_CHECK(back >= column && LspUtf16::FromByteColumn(line, back) == units);
        previous = units;
    }
    return 0;
}
