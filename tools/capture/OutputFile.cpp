#include "OutputFile.h"

#include "CaptureErrors.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace
{
std::string reason()
{
    return std::strerror(errno);
}
} // namespace

OutputFile::OutputFile(const std::string& target, const std::string& shownAs)
    : target(target), shown(shownAs.empty() ? target : shownAs)
{
    const std::size_t slash = target.rfind('/');
    const std::string directory = slash == std::string::npos ? "" : target.substr(0, slash + 1);
    const std::string name = slash == std::string::npos ? target : target.substr(slash + 1);
    if (name.empty())
        throw CaptureError("cannot write " + shown + ": it names a directory, not a file");
    struct stat existing;
    if (stat(target.c_str(), &existing) == 0 && S_ISDIR(existing.st_mode))
        throw CaptureError("cannot write " + shown + ": it is a directory");
    // Hidden, and marked as unfinished, in case a crash leaves it behind.
    temporary = directory + "." + name + ".partial-XXXXXX";
    fd = mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0)
        throw CaptureError("cannot write " + shown + ": " + reason());
    // mkstemp makes the file readable by its owner only; a finished file
    // gets the usual permissions.
    const mode_t mask = umask(0);
    umask(mask);
    fchmod(fd, 0666 & ~mask);
}

OutputFile::~OutputFile()
{
    if (fd >= 0)
        close(fd);
    if (!committed)
        unlink(temporary.c_str());
}

void OutputFile::write(const std::vector<unsigned char>& bytes)
{
    writeBytes(bytes.data(), bytes.size());
}

void OutputFile::write(const std::string& text)
{
    writeBytes(text.data(), text.size());
}

void OutputFile::writeBytes(const void* data, std::size_t size)
{
    const char* p = static_cast<const char*>(data);
    while (size > 0)
    {
        const ssize_t n = ::write(fd, p, size);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            throw CaptureError("cannot write " + shown + ": " + reason());
        p += n;
        size -= static_cast<std::size_t>(n);
    }
}

void OutputFile::commit()
{
    if (fd >= 0)
    {
        const int result = close(fd);
        fd = -1;
        if (result != 0)
            throw CaptureError("cannot write " + shown + ": " + reason());
    }
    if (std::rename(temporary.c_str(), target.c_str()) != 0)
        throw CaptureError("cannot write " + shown + ": " + reason());
    committed = true;
}
