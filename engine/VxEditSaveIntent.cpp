#include "engine/VxEditSaveIntent.h"

#include "engine/VxEditCrc32.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <string_view>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr char kHeader = 'H';

template <class T>
void Put(std::string& out, T value)
{
    out.append(reinterpret_cast<const char*>(&value), sizeof value);
}

template <class T>
bool Get(std::string_view& in, T& value)
{
    if (in.size() < sizeof value)
        return false;
    std::memcpy(&value, in.data(), sizeof value);
    in.remove_prefix(sizeof value);
    return true;
}

std::string NameOf(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    // Room for the random part and the suffixes within a file name's limit.
    if (name.size() > 200)
        name.resize(200);
    return name;
}

bool WriteAll(int descriptor, const std::string& bytes)
{
    for (std::size_t done = 0; done < bytes.size();) {
        const ssize_t count = write(descriptor, bytes.data() + done, bytes.size() - done);
        if (count < 0 && errno == EINTR)
            continue;
        if (count <= 0) {
            if (count == 0)
                errno = ENOSPC;
            return false;
        }
        done += static_cast<std::size_t>(count);
    }
    return true;
}

bool SameFile(int descriptor, const std::string& path)
{
    struct stat open {};
    struct stat named {};
    return fstat(descriptor, &open) == 0 && stat(path.c_str(), &named) == 0 && open.st_dev == named.st_dev &&
           open.st_ino == named.st_ino;
}

}  // namespace

VxEditSaveIntent::~VxEditSaveIntent()
{
    Close();
}

void VxEditSaveIntent::Close()
{
    if (descriptor_ >= 0)
        close(descriptor_);
    descriptor_ = -1;
}

bool VxEditSaveIntent::Begin(const std::string& folder, const std::string& target, const VxEditFileStamp& before)
{
    folder_ = folder;
    const std::string suffix = kSuffix;
    for (int attempt = 0; attempt < 8 && descriptor_ < 0; ++attempt) {
        std::string pattern = folder + "/" + NameOf(target) + ".XXXXXX" + suffix;
        std::vector<char> name(pattern.begin(), pattern.end());
        name.push_back('\0');
        const int descriptor = mkostemps(name.data(), static_cast<int>(suffix.size()), O_CLOEXEC);
        if (descriptor < 0)
            return false;
        int locked = -1;
        while ((locked = flock(descriptor, LOCK_EX)) != 0 && errno == EINTR) {
        }
        if (locked != 0) {
            const int error = errno;
            close(descriptor);
            unlink(name.data());
            errno = error;
            return false;
        }
        // A start that settles the saves of ended runs may have taken the
        // record before its header was in, and removed it: begin again.
        if (SameFile(descriptor, name.data())) {
            descriptor_ = descriptor;
            path_ = name.data();
        } else {
            close(descriptor);
        }
    }
    if (descriptor_ < 0) {
        errno = EAGAIN;
        return false;
    }
    backup_ = BackupFor(path_);
    std::string header;
    Put<std::uint64_t>(header, target.size());
    header += target;
    Put<std::uint64_t>(header, before.device);
    Put<std::uint64_t>(header, before.inode);
    Put<std::int64_t>(header, before.size);
    Put<std::int64_t>(header, before.modifiedNs);
    if (!Append(kHeader, header)) {
        const int error = errno;
        Forget();
        errno = error;
        return false;
    }
    return true;
}

bool VxEditSaveIntent::Append(char kind, const std::string& payload)
{
    const std::string record = kind + payload;
    std::string frame;
    Put<std::uint32_t>(frame, static_cast<std::uint32_t>(record.size()));
    Put<std::uint32_t>(frame, VxEditCrc32(record.data(), record.size()));
    frame += record;
    return descriptor_ >= 0 && WriteAll(descriptor_, frame) && fdatasync(descriptor_) == 0;
}

bool VxEditSaveIntent::Mark(Stage stage, std::int64_t length)
{
    if (stage == Stage::BackedUp) {
        // The names of the copy and of the record must outlast a power loss
        // as well as the bytes. Some file systems cannot flush a folder;
        // they keep the names through a kill all the same.
        const int folder = open(folder_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (folder >= 0) {
            fsync(folder);
            close(folder);
        }
    }
    std::string payload;
    Put<std::int64_t>(payload, length);
    return Append(static_cast<char>(stage), payload);
}

void VxEditSaveIntent::Finish()
{
    if (!backup_.empty())
        unlink(backup_.c_str());
    Forget();
}

void VxEditSaveIntent::Forget()
{
    if (!path_.empty())
        unlink(path_.c_str());
    path_.clear();
    backup_.clear();
    Close();
}

bool VxEditSaveIntent::Read(int descriptor, Record& record)
{
    std::string bytes;
    char piece[4096];
    for (off_t at = 0;;) {
        const ssize_t got = pread(descriptor, piece, sizeof piece, at);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            break;
        bytes.append(piece, static_cast<std::size_t>(got));
        at += got;
    }
    bool headed = false;
    std::string_view rest(bytes);
    for (;;) {
        std::uint32_t length = 0;
        std::uint32_t crc = 0;
        if (!Get(rest, length) || !Get(rest, crc) || length == 0 || rest.size() < length ||
            VxEditCrc32(rest.data(), length) != crc)
            break;
        std::string_view payload = rest.substr(1, length - 1);
        const char kind = rest[0];
        rest.remove_prefix(length);
        if (!headed) {
            std::uint64_t size = 0;
            if (kind != kHeader || !Get(payload, size) || payload.size() < size)
                return false;
            record.target.assign(payload.substr(0, size));
            payload.remove_prefix(size);
            record.before.exists = true;
            if (!Get(payload, record.before.device) || !Get(payload, record.before.inode) ||
                !Get(payload, record.before.size) || !Get(payload, record.before.modifiedNs))
                return false;
            record.stage = Stage::Started;
            headed = true;
            continue;
        }
        std::int64_t stageLength = 0;
        const auto stage = static_cast<Stage>(kind);
        if ((stage != Stage::BackedUp && stage != Stage::Written && stage != Stage::Restored) ||
            !Get(payload, stageLength))
            break;
        record.stage = stage;
        record.length = stageLength;
    }
    return headed;
}

std::string VxEditSaveIntent::BackupFor(const std::string& intentPath)
{
    const std::string suffix = kSuffix;
    std::string stem = intentPath;
    if (stem.size() >= suffix.size() && stem.compare(stem.size() - suffix.size(), suffix.size(), suffix) == 0)
        stem.resize(stem.size() - suffix.size());
    return stem + kBackupSuffix;
}
