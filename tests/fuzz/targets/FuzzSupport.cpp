#include "FuzzSupport.h"

#include "FuzzCheck.h"
#include "engine/VxEdit.h"
#include "engine/VxEditTextBuffer.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

const std::string& ScratchFolder()
{
    static const std::string folder = [] {
        std::string pattern = std::filesystem::is_directory("/dev/shm") ? "/dev/shm" : "/tmp";
        pattern += "/quillet-fuzz-XXXXXX";
        QUILLET_FUZZ_CHECK(mkdtemp(pattern.data()) != nullptr);
        return pattern;
    }();
    static const struct Remover {
        ~Remover()
        {
            std::error_code ignored;
            std::filesystem::remove_all(folder, ignored);
        }
    } remover;
    return folder;
}

std::string ReadBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void WriteBytes(const std::string& path, const std::string& bytes)
{
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    QUILLET_FUZZ_CHECK(file.good());
}

std::string AllText(VxEdit& model)
{
    const VxEditTextBuffer& buffer = model.TextBuffer();
    std::string text(static_cast<std::size_t>(buffer.Length()), '\0');
    buffer.CopyOut(text.data(), 0, buffer.Length());
    return text;
}
