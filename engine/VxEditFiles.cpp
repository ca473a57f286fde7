// Files and archives of VxEdit: the text is read and written byte for byte,
// with no conversion of line ends, characters or tabs.
#include "engine/VxEdit.h"

#include "engine/VxEditFileError.h"
#include "engine/VxEditMirrorFile.h"
#include "engine/VxEditTextBuffer.h"
#include "language/VxEditLangConfig.h"
#include "mvc/CArchive.h"
#include "mvc/VxEditMsg.h"
#include "platform/core/MessageSeam.h"

#include <cerrno>
#include <algorithm>
#include <climits>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <new>
#include <system_error>
#include <thread>
#include <vector>

using quillet::platform::MessageAnswer;
using quillet::platform::MessageButtons;
using quillet::platform::MessageIcon;
using quillet::platform::ShowMessage;

namespace {

constexpr std::int64_t kReadSize = 512000;
constexpr std::int64_t kProbeSize = 4096;
constexpr std::int64_t kGrowthRoom = 64000;
constexpr const char* kUnableToOpen = "Unable to Open File";
// Files from this size on are read ahead by two threads.
constexpr std::int64_t kReadAheadFrom = std::int64_t{32} << 20;
constexpr std::int64_t kReadAheadSlice = std::int64_t{4} << 20;

// Follows symbolic links, so that saving replaces the file a link points to
// and keeps the link itself.
std::string ResolveLinks(std::string path)
{
    for (int depth = 0; depth < 40; ++depth) {
        struct stat status {};
        if (lstat(path.c_str(), &status) != 0 || !S_ISLNK(status.st_mode))
            return path;
        std::vector<char> target(PATH_MAX + 1);
        const ssize_t length = readlink(path.c_str(), target.data(), PATH_MAX);
        if (length <= 0)
            return path;
        std::string link(target.data(), static_cast<std::size_t>(length));
        if (link[0] != '/') {
            const std::size_t slash = path.rfind('/');
            link = (slash == std::string::npos ? std::string() : path.substr(0, slash + 1)) + link;
        }
        path = std::move(link);
    }
    return path;
}

ssize_t ReadSome(int descriptor, char* buffer, std::size_t length)
{
    ssize_t count = 0;
    do {
        count = read(descriptor, buffer, length);
    } while (count < 0 && errno == EINTR);
    return count;
}

// Reads [from, to) of a file into the same offsets of room; the count
// read, short when the file ended early, or -errno.
std::int64_t ReadRange(int descriptor, char* room, std::int64_t from, std::int64_t to)
{
    std::int64_t at = from;
    while (at < to) {
        const ssize_t count =
            pread(descriptor, room + at, static_cast<std::size_t>(std::min(kReadAheadSlice, to - at)), at);
        if (count < 0 && errno == EINTR)
            continue;
        if (count < 0)
            return -errno;
        if (count == 0)
            break;
        at += count;
    }
    return at - from;
}

// Reads the first length bytes of a file into room, both halves at once:
// the first touch of fresh memory costs more than the copy, and two cores
// take it together. The bytes read from the start without a hole, or -errno.
std::int64_t ReadAhead(int descriptor, char* room, std::int64_t length)
{
    // The halves meet on a huge-page boundary.
    const std::int64_t half = (length / 2) & ~((std::int64_t{1} << 21) - 1);
    std::int64_t second = 0;
    std::thread reader;
    try {
        reader = std::thread([&second, descriptor, room, half, length] {
            second = ReadRange(descriptor, room, half, length);
        });
    } catch (const std::system_error&) {
        return ReadRange(descriptor, room, 0, length);
    }
    const std::int64_t first = ReadRange(descriptor, room, 0, half);
    reader.join();
    // A file that ended early is read on in order from where it ended.
    if (first < half)
        return first;
    return second < 0 ? second : half + second;
}

}  // namespace

void VxEdit::ReportOpenFailure()
{
    ShowMessage(kUnableToOpen, MessageButtons::Ok, MessageIcon::None);
}

int VxEdit::FailLoad(int descriptor, const std::string& message)
{
    NewText();
    // The plain "Unable to Open File" box has no icon; a reason from the
    // system is a warning.
    if (!message.empty())
        ShowMessage(message, MessageButtons::Ok,
                    message == kUnableToOpen ? MessageIcon::None : MessageIcon::Warning);
    close(descriptor);
    return 0;
}

int VxEdit::LoadFile(const std::string& path)
{
    quillet::platform::WaitCursor wait;
    // Only a regular file is read: a pipe or a device may never end
    // (/dev/zero) or wait for input that never comes, and opening a device
    // may already do something. They are refused unopened.
    struct stat status {};
    if (stat(path.c_str(), &status) == 0 && !S_ISREG(status.st_mode)) {
        ShowMessage(VxEditFileError::NotAFileMessage(status.st_mode, path));
        return 0;
    }
    // Opened without waiting, for what took the name meanwhile.
    const int descriptor = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (descriptor < 0) {
        VxEditFileError::Report(errno, path);
        return 0;
    }
    const bool known = fstat(descriptor, &status) == 0;
    if (!known || !S_ISREG(status.st_mode)) {
        const int error = errno;
        close(descriptor);
        if (known)
            ShowMessage(VxEditFileError::NotAFileMessage(status.st_mode, path));
        else
            VxEditFileError::Report(error, path);
        return 0;
    }
    // Reads of a regular file then wait as usual (a locked range would
    // otherwise fail them).
    fcntl(descriptor, F_SETFL, fcntl(descriptor, F_GETFL) & ~O_NONBLOCK);
    const std::int64_t fileLength = status.st_size;
    NewText();
    try {
        // Room to type in, so that the first edits do not copy a large text.
        buffer_->Reserve(fileLength + std::max(kGrowthRoom, fileLength / 16));
    } catch (const std::bad_alloc&) {
        return FailLoad(descriptor, kUnableToOpen);
    }

    // A large file is read ahead at once; the loop below takes its bytes
    // in as if it had read them, slice by slice so that finding their line
    // ends stays in cache, and reads on from where they end.
    std::int64_t readAhead = 0;
    if (S_ISREG(status.st_mode) && fileLength >= kReadAheadFrom) {
        try {
            readAhead = ReadAhead(descriptor, buffer_->RoomAtEnd(fileLength), fileLength);
        } catch (const std::bad_alloc&) {
            return FailLoad(descriptor, kUnableToOpen);
        }
        if (readAhead < 0)
            return FailLoad(descriptor, VxEditFileError::MessageFor(static_cast<int>(-readAhead), path));
        if (lseek(descriptor, readAhead, SEEK_SET) < 0)
            return FailLoad(descriptor, VxEditFileError::MessageFor(errno, path));
    }

    // Each read goes straight to the end of the text, until the file ends:
    // the size it reported is a hint (a kernel file reports none, a file
    // may grow while it is read), so what it holds at the end is read too.
    std::int64_t total = 0;
    for (;;) {
        std::int64_t wanted = kReadSize;
        if (total < fileLength)
            wanted = std::min<std::int64_t>(kReadSize, fileLength - total);
        else if (total == fileLength)
            wanted = kProbeSize;  // most often only tells that the file ended
        char* room = nullptr;
        try {
            room = buffer_->RoomAtEnd(wanted);
        } catch (const std::bad_alloc&) {
            return FailLoad(descriptor, kUnableToOpen);
        }
        const ssize_t count = total < readAhead ? static_cast<ssize_t>(std::min(wanted, readAhead - total))
                                                : ReadSome(descriptor, room, static_cast<std::size_t>(wanted));
        if (count < 0)
            return FailLoad(descriptor, VxEditFileError::MessageFor(errno, path));
        if (count == 0)
            break;
        VxEditLineColPair range;
        buffer_->Appended(count, range);
        if (total == 0 && count < fileLength) {
            // The first read tells roughly how many lines the file has.
            const double linesPerByte = static_cast<double>(buffer_->LineCount()) / static_cast<double>(count);
            buffer_->ReserveLines(static_cast<std::int32_t>(
                std::min(linesPerByte * 1.1 * static_cast<double>(fileLength) + 64.0, 2.0e9)));
        }
        total += count;
    }
    close(descriptor);

    ResetLineData();
    DetectIndent();
    NotifyAll(kMsgInitController);
    // Lines of any length stay whole: opening a file never changes it.
    return 1;
}

int VxEdit::SaveFile(const std::string& path)
{
    quillet::platform::WaitCursor wait;
    const std::string target = ResolveLinks(path);
    struct stat status {};
    if (stat(target.c_str(), &status) == 0) {
        // Writing a pipe would wait for a reader, and a device is no file to
        // replace.
        if (!S_ISREG(status.st_mode)) {
            ShowMessage(VxEditFileError::NotAFileMessage(status.st_mode, path));
            return 0;
        }
        // Read-only is the file's own state, whoever we are.
        if ((status.st_mode & 0222) == 0) {
            ShowMessage("The file '" + path +
                            "' exists and is read-only. Please save to a different filename.",
                        MessageButtons::Ok, MessageIcon::Warning);
            return 0;
        }
        const int probe = open(target.c_str(), O_WRONLY | O_CLOEXEC);
        if (probe < 0) {
            VxEditFileError::Report(errno, path);
            return 0;
        }
        close(probe);
    } else if (errno != ENOENT) {
        ShowMessage(VxEditFileError::SaveMessageFor(errno, path));
        return 0;
    }

    std::unique_ptr<VxEditMirrorFile> file = CreateMirrorFile(target);
    bool opened = file->Open();
    if (!opened && !file->BackupProblem().empty()) {
        // Without a copy of the old content, a crash during the save would
        // leave the file half written: the user decides.
        if (ShowMessage("'" + path +
                            "' can only be saved by writing into the file itself, and its old content cannot be "
                            "kept aside while that is done: " +
                            file->BackupProblem() +
                            ". If Quillet is stopped during the save, the file is left half written.\n\n"
                            "Save into the file anyway?",
                        MessageButtons::YesNo, MessageIcon::Warning) != MessageAnswer::Yes)
            return 0;
        opened = file->OpenUnprotected();
    }
    if (!opened || !buffer_->WriteText(*file, false) || !file->Commit()) {
        const int error = file->Error();
        file->Abort();
        ShowMessage(VxEditFileError::SaveMessageFor(error != 0 ? error : EIO, path));
        if (!file->KeptBackup().empty())
            ShowMessage("The old content of '" + path + "' could not be put back; it is kept in '" +
                            file->KeptBackup() + "'.",
                        MessageButtons::Ok, MessageIcon::Warning);
        else if (file->LeftIncomplete())
            ShowMessage("The save stopped part way, and '" + path +
                            "' holds only part of the text now. Save it again, or save it elsewhere with Save As.",
                        MessageButtons::Ok, MessageIcon::Warning);
        return 0;
    }
    savePoint_ = reinterpret_cast<std::uintptr_t>(UndoTop());
    modified_ = 0;
    return 1;
}

void VxEdit::Serialize(tarrow::foundation::CArchive& archive)
{
    if (archive.IsStoring()) {
        std::string text(static_cast<std::size_t>(buffer_->Length()), '\0');
        buffer_->CopyOut(text.data(), 0, buffer_->Length());
        archive.WriteString(text);
    } else {
        std::string text;
        if (!archive.ReadString(text))
            return;
        VxEditLineColPair range(0, 0, 0, 0);
        if (buffer_->InsertText(range, text.data(), static_cast<std::int64_t>(text.size())) == 1) {
            const std::int32_t added = range.end.line - range.start.line;
            marks_.InsertSlots(0, added, true);
            colour_.InsertLines(0, added);
            ResetColouring();
        }
        DetectIndent();
        NotifyAll(kMsgInitController);
    }
    ClearHistory();
    modified_ = 0;
    savePoint_ = 0;
}

void VxEdit::SerializeConfigName(tarrow::foundation::CArchive& archive)
{
    if (archive.IsStoring()) {
        archive.WriteString(config_ ? config_->GetName() : std::string());
        return;
    }
    std::string name;
    if (archive.ReadString(name))
        SetLangConfigByName(name);
}
