#include "OutputFile.h"

#include "CaptureErrors.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#ifdef _WIN32
#include <io.h>
#include <windows.h>
#endif

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace
{
#ifdef _WIN32
constexpr const char* DIRECTORY_SEPARATORS = "/\\";
#else
constexpr const char* DIRECTORY_SEPARATORS = "/";
#endif

std::string reason()
{
    return std::strerror(errno);
}

#ifdef _WIN32
// A new file of its own under the template's name (XXXXXX replaced), binary.
int createTemporary(std::string& name)
{
    if (_mktemp_s(name.data(), name.size() + 1) != 0)
        return -1;
    return _open(name.c_str(), _O_CREAT | _O_EXCL | _O_WRONLY | _O_BINARY | _O_NOINHERIT, _S_IREAD | _S_IWRITE);
}

// Windows' rename does not replace an existing file.
bool replaceFile(const std::string& from, const std::string& to)
{
    if (MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING))
        return true;
    errno = EACCES;
    return false;
}
#else
int createTemporary(std::string& name)
{
    const int fd = mkostemp(name.data(), O_CLOEXEC);
    if (fd >= 0)
    {
        // mkstemp makes the file readable by its owner only; a finished file
        // gets the usual permissions.
        const mode_t mask = umask(0);
        umask(mask);
        fchmod(fd, 0666 & ~mask);
    }
    return fd;
}

bool replaceFile(const std::string& from, const std::string& to)
{
    return std::rename(from.c_str(), to.c_str()) == 0;
}
#endif
} // namespace

OutputFile::OutputFile(const std::string& target, const std::string& shownAs)
    : target(target), shown(shownAs.empty() ? target : shownAs)
{
    const std::size_t slash = target.find_last_of(DIRECTORY_SEPARATORS);
    const std::string directory = slash == std::string::npos ? "" : target.substr(0, slash + 1);
    const std::string name = slash == std::string::npos ? target : target.substr(slash + 1);
    if (name.empty())
        throw CaptureError("cannot write " + shown + ": it names a directory, not a file");
    struct stat existing;
    if (stat(target.c_str(), &existing) == 0 && S_ISDIR(existing.st_mode))
        throw CaptureError("cannot write " + shown + ": it is a directory");
    // Hidden, and marked as unfinished, in case a crash leaves it behind.
    temporary = directory + "." + name + ".partial-XXXXXX";
    fd = createTemporary(temporary);
    if (fd < 0)
        throw CaptureError("cannot write " + shown + ": " + reason());
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
    if (!replaceFile(temporary, target))
        throw CaptureError("cannot write " + shown + ": " + reason());
    committed = true;
}
