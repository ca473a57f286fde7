// Writes the binary form of the built-in HTML language configuration to the
// file named on the command line (resources/HtmlLangConfig.bin).

#include "language/VxEditLangConfig.h"
#include "mvc/CArchive.h"
#include "resources/generator/HtmlLangConfigSource.h"

#include <cstdio>
#include <fstream>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT\n", argv[0]);
        return 2;
    }
    tarrow::foundation::RefPtr<VxEditLangConfig> config =
        tarrow::foundation::MakeRef<VxEditLangConfig>("HTML");
    BuildHtmlLangConfig(*config);
    auto archive = tarrow::foundation::CArchive::ForStoring();
    if (!config->Serialize(archive)) {
        std::fprintf(stderr, "%s: the configuration could not be stored\n", argv[0]);
        return 1;
    }
    std::ofstream out(argv[1], std::ios::binary | std::ios::trunc);
    out.write(archive.Bytes().data(), static_cast<std::streamsize>(archive.Bytes().size()));
    out.close();
    if (!out) {
        std::fprintf(stderr, "%s: cannot write %s\n", argv[0], argv[1]);
        return 1;
    }
    std::printf("%s: %zu bytes\n", argv[1], archive.Bytes().size());
    return 0;
}
