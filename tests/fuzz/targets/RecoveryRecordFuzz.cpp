#include "FuzzCheck.h"
#include "FuzzSupport.h"
#include "FuzzTargets.h"
#include "engine/VxEdit.h"
#include "engine/VxEditRecoveryJournal.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

namespace {

// The checksum that frames each record (CRC-32, as zlib computes it).
std::uint32_t Crc32(std::string_view bytes)
{
    std::uint32_t crc = 0xFFFFFFFFu;
    for (unsigned char c : bytes) {
        crc ^= c;
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc & 1) ? 0xEDB88320u ^ (crc >> 1) : crc >> 1;
    }
    return crc ^ 0xFFFFFFFFu;
}

// Reads the journal file; a refusal always says why. The text and what
// was left out, when read.
bool ReadJournal(const std::string& path, std::string& text, std::string& damage)
{
    VxEditRecoveryJournal::Contents contents;
    std::string reason;
    if (!VxEditRecoveryJournal::Read(path, contents, reason)) {
        QUILLET_FUZZ_CHECK(!reason.empty());
        return false;
    }
    text = std::move(contents.text);
    damage = std::move(contents.damage);
    return true;
}

// Each record is a length byte and that many bytes, framed as the journal
// frames its records, so the fuzzer reaches past the checksum.
std::string Framed(std::string_view body)
{
    std::string file;
    std::size_t at = 0;
    while (at < body.size()) {
        const std::size_t length = std::min<std::size_t>(static_cast<unsigned char>(body[at]), body.size() - at - 1);
        const std::string_view record = body.substr(at + 1, length);
        at += 1 + length;
        const auto size = static_cast<std::uint32_t>(record.size());
        const std::uint32_t crc = Crc32(record);
        file.append(reinterpret_cast<const char*>(&size), 4);
        file.append(reinterpret_cast<const char*>(&crc), 4);
        file += record;
    }
    return file;
}

// A column of the line at a character boundary, chosen by the byte.
std::int32_t Column(VxEdit& model, std::int32_t line, std::uint8_t choice)
{
    return model.SnapColumn(line, choice % (model.LineLength(line) + 1));
}

// The bytes are edits of a journalled model, written at chosen moments; the
// first three say how the file is damaged afterwards (not at all, cut
// short, or one byte changed) and where. Whatever is read back is the text
// as it was after some edit, and an undamaged journal gives the last one.
void CheckWrittenJournal(const std::string& path, std::string_view body)
{
    if (body.size() < 3)
        return;
    const int damage = static_cast<unsigned char>(body[0]) % 3;
    const std::size_t where = static_cast<unsigned char>(body[1]) * 256u + static_cast<unsigned char>(body[2]);
    body.remove_prefix(3);

    auto model = tarrow::foundation::MakeRef<VxEdit>();
    model->NewText();
    std::vector<std::string> texts{""};
    {
        VxEditRecoveryJournal journal(*model, path);
        journal.Restart({}, "Fuzz", {});
        std::size_t at = 0;
        auto next = [&]() -> std::uint8_t { return at < body.size() ? static_cast<std::uint8_t>(body[at++]) : 0; };
        while (at < body.size()) {
            const std::uint8_t op = next();
            const std::int32_t line = next() % (model->LastLine() + 1);
            const std::int32_t column = Column(*model, line, next());
            if (op % 4 <= 1) {
                const std::size_t count = std::min<std::size_t>(op / 4 % 8 + 1, body.size() - std::min(at, body.size()));
                if (count == 0)
                    break;
                model->InsertAtLineCol(line, column, body.data() + at, static_cast<std::int64_t>(count));
                at += count;
            } else if (op % 4 == 2) {
                const std::int32_t endLine = std::min(model->LastLine(), line + op / 4 % 3);
                std::int32_t start = column;
                std::int32_t end = Column(*model, endLine, next());
                if (endLine == line && end < start)
                    std::swap(start, end);
                model->DeleteRange(line, start, endLine, end);
            } else {
                QUILLET_FUZZ_CHECK(journal.Flush());
                continue;
            }
            texts.push_back(AllText(*model));
        }
        QUILLET_FUZZ_CHECK(journal.Flush());
    }
    std::string bytes = ReadBytes(path);
    if (bytes.empty())
        return;  // never edited, never written
    std::string text;
    std::string leftOut;
    if (damage == 0) {
        QUILLET_FUZZ_CHECK(ReadJournal(path, text, leftOut) && text == texts.back() && leftOut.empty());
        return;
    }
    if (damage == 1)
        bytes.resize(where % bytes.size());
    else
        bytes[where % bytes.size()] ^= static_cast<char>(1 + where / 256 % 255);
    WriteBytes(path, bytes);
    if (ReadJournal(path, text, leftOut)) {
        QUILLET_FUZZ_CHECK(std::find(texts.begin(), texts.end(), text) != texts.end());
        // A changed byte is never taken in silence.
        QUILLET_FUZZ_CHECK(damage == 1 || !leftOut.empty());
    }
}

}  // namespace

// The first byte chooses how the rest becomes a journal file: as it is,
// framed into records, or written by a journal and then damaged.
int FuzzRecoveryRecord(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    const std::string path = ScratchFolder() + "/fuzz.journal";
    const std::string_view body(reinterpret_cast<const char*>(data) + 1, size - 1);
    std::string text;
    std::string leftOut;
    switch (data[0] % 3) {
    case 0:
        WriteBytes(path, std::string(body));
        ReadJournal(path, text, leftOut);
        break;
    case 1:
        WriteBytes(path, Framed(body));
        ReadJournal(path, text, leftOut);
        break;
    default:
        std::remove(path.c_str());
        CheckWrittenJournal(path, body);
        break;
    }
    return 0;
}
