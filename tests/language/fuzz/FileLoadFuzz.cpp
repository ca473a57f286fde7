#include "FuzzCheck.h"
#include "LanguageFuzz.h"
#include "engine/VxEdit.h"
#include "engine/VxEditTextBuffer.h"
#include "platform/core/MessageSeam.h"

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

namespace {

// One scratch folder per process, removed at exit.
const std::string& ScratchFolder()
{
    static const std::string folder = [] {
        char pattern[] = "/tmp/quillet-fuzz-XXXXXX";
        QUILLET_FUZZ_CHECK(mkdtemp(pattern) != nullptr);
        return std::string(pattern);
    }();
    static const struct Remover {
        ~Remover() { std::system(("rm -rf '" + folder + "'").c_str()); }
    } remover;
    return folder;
}

std::string ReadBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

}  // namespace

int FuzzFileLoad(const std::uint8_t* data, std::size_t size)
{
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const std::string in = ScratchFolder() + "/in.java";
    const std::string out = ScratchFolder() + "/out.java";
    {
        std::ofstream file(in, std::ios::binary | std::ios::trunc);
        file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        QUILLET_FUZZ_CHECK(file.good());
    }

    quillet::platform::RecordingMessageSink sink;
    auto model = tarrow::foundation::MakeRef<VxEdit>();
    model->NewText();
    QUILLET_FUZZ_CHECK(model->LoadFile(in) == 1);
    const VxEditTextBuffer& buffer = model->TextBuffer();
    std::string text(static_cast<std::size_t>(buffer.Length()), '\0');
    buffer.CopyOut(text.data(), 0, buffer.Length());
    QUILLET_FUZZ_CHECK(text == bytes);
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
