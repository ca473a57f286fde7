#include "engine/VxEditRecoveryJournal.h"

#include "engine/VxEdit.h"
#include "engine/VxEditCrc32.h"
#include "engine/VxEditGapVector_T.h"
#include "engine/VxEditTextBuffer.h"
#include "engine/VxEditTextCommand.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <iterator>
#include <sstream>
#include <unistd.h>

namespace {

// Record kinds.
constexpr char kHeader = 'H';
constexpr char kWholeText = 'T';
constexpr char kInsert = 'I';
constexpr char kDelete = 'D';
// Bases a journal starts from.
constexpr char kEmptyBase = 'E';
constexpr char kFileBase = 'F';

template <class T>
void Put(std::string& out, T value)
{
    out.append(reinterpret_cast<const char*>(&value), sizeof value);
}

void PutString(std::string& out, const std::string& text)
{
    Put<std::uint64_t>(out, text.size());
    out += text;
}

// Reads values from a record's payload; any read past its end fails.
class Reader {
public:
    explicit Reader(std::string_view bytes) : bytes_(bytes) {}
    template <class T>
    bool Get(T& value)
    {
        if (bytes_.size() - at_ < sizeof value)
            return false;
        std::memcpy(&value, bytes_.data() + at_, sizeof value);
        at_ += sizeof value;
        return true;
    }
    bool GetString(std::string& text)
    {
        std::uint64_t length = 0;
        if (!Get(length) || bytes_.size() - at_ < length)
            return false;
        text.assign(bytes_.substr(at_, length));
        at_ += length;
        return true;
    }
    std::string_view Rest() const { return bytes_.substr(at_); }

private:
    std::string_view bytes_;
    std::size_t at_ = 0;
};

// A new journal is synced before it is renamed into place, so that its
// name never stands for a file without its header; appended records are
// left to the system, which keeps them when the program is killed.
bool WriteAll(int descriptor, const std::string& bytes, bool sync)
{
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t count = write(descriptor, bytes.data() + done, bytes.size() - done);
        if (count < 0 && errno == EINTR)
            continue;
        if (count <= 0)
            return false;
        done += static_cast<std::size_t>(count);
    }
    return !sync || fdatasync(descriptor) == 0;
}

bool ReadWholeFile(const std::string& path, std::string& bytes)
{
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return false;
    std::ostringstream content;
    content << file.rdbuf();
    bytes = std::move(content).str();
    return true;
}

}  // namespace

VxEditRecoveryJournal::VxEditRecoveryJournal(VxEdit& model, std::string journalPath)
    : model_(model), journalPath_(std::move(journalPath))
{
    model_.Attach(this);
}

VxEditRecoveryJournal::~VxEditRecoveryJournal()
{
    model_.Detach(this);
    if (descriptor_ >= 0)
        close(descriptor_);
}

void VxEditRecoveryJournal::Restart(const std::string& documentPath, const std::string& title,
                                    const VxEditFileStamp& stamp)
{
    Remove();
    documentPath_ = documentPath;
    title_ = title;
    base_ = documentPath.empty() ? VxEditFileStamp() : stamp;
    wholeText_ = false;
}

void VxEditRecoveryJournal::Remove()
{
    if (descriptor_ >= 0) {
        close(descriptor_);
        descriptor_ = -1;
    }
    unlink(journalPath_.c_str());
    pending_.clear();
    // Without its journal file the edits from the base are gone: the next
    // journal holds the whole text.
    wholeText_ = true;
}

void VxEditRecoveryJournal::Append(char kind, const std::string& payload)
{
    std::string record(1, kind);
    record += payload;
    Put<std::uint32_t>(pending_, static_cast<std::uint32_t>(record.size()));
    Put<std::uint32_t>(pending_, VxEditCrc32(record.data(), record.size()));
    pending_ += record;
}

void VxEditRecoveryJournal::OnNewText()
{
    pending_.clear();
    wholeText_ = true;
}

void VxEditRecoveryJournal::OnTextCommand(const VxEditTextCommand& command)
{
    if (wholeText_)
        return;
    const VxEditLineColPair range = command.Range().Normalized();
    const VxEditTextBuffer& buffer = model_.TextBuffer();
    std::string payload;
    Put<std::uint64_t>(payload, static_cast<std::uint64_t>(buffer.OffsetOf(range.start.line, range.start.column)));
    Put<std::uint64_t>(payload, static_cast<std::uint64_t>(buffer.Length()));
    if (command.LastActionWasInsertion()) {
        std::string text;
        model_.CopyText(text, range);
        payload += text;
        Append(kInsert, payload);
    } else {
        Put<std::uint64_t>(payload, command.Text().size());
        Append(kDelete, payload);
    }
}

bool VxEditRecoveryJournal::StartFile()
{
    if (descriptor_ >= 0) {
        close(descriptor_);
        descriptor_ = -1;
    }
    const VxEditTextBuffer& buffer = model_.TextBuffer();
    // A large text refers to its file while that is still the one it came
    // from; anything else is written whole.
    const bool fromFile = !wholeText_ && base_.exists && buffer.Length() > kWholeTextLimit &&
                          VxEditFileStamp::Of(documentPath_) == base_;
    std::string header;
    PutString(header, documentPath_);
    PutString(header, title_);
    header += fromFile ? kFileBase : kEmptyBase;
    Put<std::int64_t>(header, base_.size);
    Put<std::int64_t>(header, base_.modifiedNs);
    std::string ops = std::move(pending_);
    pending_.clear();
    Append(kHeader, header);
    if (fromFile) {
        pending_ += ops;
    } else {
        std::string text(static_cast<std::size_t>(buffer.Length()), '\0');
        buffer.CopyOut(text.data(), 0, buffer.Length());
        Append(kWholeText, text);
    }
    // Written aside and renamed into place, so that the file of this name is
    // always whole.
    const std::string fresh = journalPath_ + ".new";
    const int descriptor = open(fresh.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (descriptor < 0 || !WriteAll(descriptor, pending_, true) || rename(fresh.c_str(), journalPath_.c_str()) != 0) {
        if (descriptor >= 0)
            close(descriptor);
        unlink(fresh.c_str());
        // Tried again with the whole text.
        pending_.clear();
        wholeText_ = true;
        return false;
    }
    descriptor_ = descriptor;
    pending_.clear();
    wholeText_ = false;
    return true;
}

bool VxEditRecoveryJournal::Flush()
{
    // An unmodified text needs no record until it is edited.
    if (!HasPending() || (descriptor_ < 0 && !model_.IsModified()))
        return true;
    if (descriptor_ < 0 || wholeText_)
        return StartFile();
    if (!WriteAll(descriptor_, pending_, false)) {
        // A record may be torn now, and nothing after it would be read:
        // the next write starts the journal afresh.
        wholeText_ = true;
        return false;
    }
    pending_.clear();
    return true;
}

bool VxEditRecoveryJournal::Read(const std::string& journalPath, Contents& contents, std::string& reason)
{
    std::string bytes;
    if (!ReadWholeFile(journalPath, bytes)) {
        reason = "it cannot be read";
        return false;
    }
    VxEditGapVector_T<char> text;
    bool started = false;
    std::size_t at = 0;
    // The bytes of the records applied so far. Records after a torn or
    // damaged one are not used.
    std::size_t used = 0;
    for (;; used = at) {
        if (bytes.size() - at < 8)
            break;
        std::uint32_t length = 0;
        std::uint32_t crc = 0;
        std::memcpy(&length, bytes.data() + at, 4);
        std::memcpy(&crc, bytes.data() + at + 4, 4);
        if (length == 0 || bytes.size() - at - 8 < length || VxEditCrc32(bytes.data() + at + 8, length) != crc)
            break;
        const std::string_view record(bytes.data() + at + 8, length);
        at += 8 + length;
        const char kind = record[0];
        Reader reader(record.substr(1));
        if (!started) {
            char base = 0;
            std::int64_t size = 0;
            std::int64_t modified = 0;
            if (kind != kHeader || !reader.GetString(contents.documentPath) || !reader.GetString(contents.title) ||
                !reader.Get(base) || !reader.Get(size) || !reader.Get(modified))
                break;
            if (base == kFileBase) {
                const VxEditFileStamp now = VxEditFileStamp::Of(contents.documentPath);
                std::string file;
                if (!now.exists || now.size != size || now.modifiedNs != modified ||
                    !ReadWholeFile(contents.documentPath, file)) {
                    reason = "its file " + contents.documentPath + " was changed since";
                    return false;
                }
                text.Insert(0, file.data(), static_cast<std::ptrdiff_t>(file.size()));
            }
            started = true;
            continue;
        }
        std::uint64_t offset = 0;
        std::uint64_t lengthAfter = 0;
        if (kind == kWholeText) {
            text.Clear();
            const std::string_view whole = reader.Rest();
            text.Insert(0, whole.data(), static_cast<std::ptrdiff_t>(whole.size()));
            continue;
        }
        if (!reader.Get(offset) || !reader.Get(lengthAfter))
            break;
        const auto size = static_cast<std::uint64_t>(text.Length());
        if (kind == kInsert) {
            const std::string_view inserted = reader.Rest();
            if (offset > size || size + inserted.size() != lengthAfter)
                break;
            text.Insert(static_cast<std::ptrdiff_t>(offset), inserted.data(),
                        static_cast<std::ptrdiff_t>(inserted.size()));
        } else if (kind == kDelete) {
            std::uint64_t count = 0;
            // Compared without adding, so that a damaged offset cannot wrap.
            if (!reader.Get(count) || count > size || offset > size - count || size - count != lengthAfter)
                break;
            text.Delete(static_cast<std::ptrdiff_t>(offset), static_cast<std::ptrdiff_t>(count));
        } else {
            break;
        }
    }
    if (!started) {
        reason = "it holds no usable record";
        return false;
    }
    contents.damage.clear();
    if (used < bytes.size())
        contents.damage = "its last " + std::to_string(bytes.size() - used) +
                          " bytes are cut short or damaged, and the edits they held are left out";
    contents.text.resize(static_cast<std::size_t>(text.Length()));
    text.CopyOut(contents.text.data(), 0, text.Length());
    return true;
}
