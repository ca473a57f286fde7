#include "FuzzCheck.h"
#include "FuzzSupport.h"
#include "FuzzTargets.h"
#include "engine/VxEdit.h"
#include "engine/VxEditTextBuffer.h"
#include "platform/core/MessageSeam.h"

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

int FuzzFileLoad(const std::uint8_t* data, std::size_t size)
{
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const std::string in = ScratchFolder() + "/in.java";
    const std::string out = ScratchFolder() + "/out.java";
    WriteBytes(in, bytes);

    quillet::platform::RecordingMessageSink sink;
    auto model = tarrow::foundation::MakeRef<VxEdit>();
    model->NewText();
    QUILLET_FUZZ_CHECK(model->LoadFile(in) == 1);
    QUILLET_FUZZ_CHECK(AllText(*model) == bytes);
    for (std::int32_t line = 0; line <= model->LastLine(); ++line) {
        const char* content = nullptr;
        std::int32_t length = 0;
        QUILLET_FUZZ_CHECK(model->LineText(line, content, length) == 1);
    }
    QUILLET_FUZZ_CHECK(model->SaveFile(out) == 1);
    QUILLET_FUZZ_CHECK(ReadBytes(out) == bytes);
    QUILLET_FUZZ_CHECK(sink.Texts().empty());
    return 0;
}
