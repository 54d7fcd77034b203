#include "assets/ModelFile.h"

#include "platform/Warning.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <vector>

namespace
{
#ifdef _WIN32
// Windows opens files as text unless told otherwise, and has no
// non-blocking or close-on-exec opens of files.
constexpr int READ_FLAGS = O_RDONLY | O_BINARY;
#else
constexpr int READ_FLAGS = O_RDONLY | O_CLOEXEC | O_NONBLOCK;
#endif

// The loader's own character classes (the engine's core::isspace, core::isdigit).
bool isSpace(char c)
{
    return c == ' ' || c == '\f' || c == '\n' || c == '\r' || c == '\t' || c == '\v';
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// The engine's strtol10 on a run of digits and minus signs, wrap-around included.
std::int32_t engineStrtol10(const char* text)
{
    const bool negative = *text == '-';
    if (negative)
        ++text;
    std::uint32_t value = 0;
    bool overflow = false;
    for (; isDigit(*text); ++text)
    {
        const std::uint32_t next = value * 10u + static_cast<std::uint32_t>(*text - '0');
        if (next < value)
        {
            value = 0xffffffffu;
            overflow = true;
        }
        if (!overflow)
            value = next;
    }
    if (value > static_cast<std::uint32_t>(INT32_MAX))
        return negative ? INT32_MIN : INT32_MAX;
    return negative ? -static_cast<std::int32_t>(value) : static_cast<std::int32_t>(value);
}

// Text from the file as it may go into a message: cut to a length, and
// a damaged file's control and non-ASCII bytes shown as '?', so that they
// reach no terminal.
std::string printable(std::string_view text, std::size_t length)
{
    std::string shown(text.substr(0, length));
    for (char& c : shown)
        if (c < ' ' || c > '~')
            c = '?';
    return shown;
}

// What the loader has read so far, and where it stands.
struct Counts
{
    std::uint32_t vertices = 0, textureCoordinates = 0, normals = 0;
};

// The loader's digit buffer for one number of a face corner holds 15 characters and the terminator.
constexpr int MAX_NUMBER_LENGTH = 15;
// The loader copies at most this many characters of a word.
constexpr std::size_t MAX_WORD_LENGTH = 511;

const char* const KIND_NAMES[3] = {"vertex", "texture coordinate", "normal"};

// Reads one face corner ("7", "7/2", "7//3", "-1/-1/-1") as the loader's
// retrieveVertexIndices does and says what is wrong with it, if anything.
std::string cornerFault(std::string_view corner, const Counts& counts)
{
    const std::uint32_t available[3] = {counts.vertices, counts.textureCoordinates, counts.normals};
    std::int32_t index[3] = {0, -1, -1};
    char number[MAX_NUMBER_LENGTH + 1] = "";
    int length = 0;
    int kind = 0;
    // The loader reads the word's terminating NUL too: it ends the last number.
    for (std::size_t i = 0; i <= corner.size(); ++i)
    {
        const char c = i < corner.size() ? corner[i] : '\0';
        if (isDigit(c) || c == '-')
        {
            if (length == MAX_NUMBER_LENGTH)
                return "a face corner has a number longer than " + std::to_string(MAX_NUMBER_LENGTH) + " characters";
            number[length++] = c;
        }
        else if (c == '/' || c == '\0')
        {
            number[length] = '\0';
            std::int64_t value = engineStrtol10(number);
            // Negative numbers count back from the last one read; an empty number becomes -1.
            value = value < 0 ? value + available[kind] : value - 1;
            index[kind] = static_cast<std::int32_t>(value);
            length = 0;
            if (c == '\0')
            {
                for (int rest = kind + 1; rest < 3; ++rest)
                    index[rest] = -1;
                break;
            }
            kind = kind == 2 ? 0 : kind + 1;
        }
        // Any other character is skipped by the loader.
    }
    for (int k = 0; k < 3; ++k)
    {
        // The position is always used; the others only when not -1.
        const bool used = k == 0 || index[k] != -1;
        if (used && (index[k] < 0 || static_cast<std::uint32_t>(index[k]) >= available[k]))
            return "face corner \"" + printable(corner, 40) + "\" names no " + KIND_NAMES[k] + " among the " +
                   std::to_string(available[k]) + " read before it";
    }
    return "";
}

// Walks through the text the way the engine's OBJ loader does: its pointer
// moves, line by line and word by word, exactly as the loader's moves.
class LoaderWalk
{
public:
    explicit LoaderWalk(std::string_view text) : begin(text.data()), end(text.data() + text.size()) {}

    std::string fault(std::vector<std::string>& materialLibraries)
    {
        const char* at = begin;
        while (at != end)
        {
            std::string problem;
            switch (*at)
            {
            case 'm': // mtllib, or any word starting with m: the next word names a material library
                at = nextWordOnLine(at);
                materialLibraries.push_back(std::string(at, wordLength(at, end)));
                break;
            case 'v':
                // At the very end the loader looks one byte past the text;
                // whatever it then counts follows every face, harmlessly.
                if (at + 1 == end)
                    break;
                if (at[1] == ' ')
                    ++counts.vertices, at = skipWords(at, 3);
                else if (at[1] == 'n')
                    ++counts.normals, at = skipWords(at, 3);
                else if (at[1] == 't')
                    ++counts.textureCoordinates, at = skipWords(at, 2);
                break;
            case 'g':
            case 's':
            case 'u':
                at = nextWordOnLine(at);
                break;
            case 'f':
                problem = faceFault(at);
                break;
            default:
                break;
            }
            if (!problem.empty())
                return "line " + std::to_string(lineOf(at)) + ": " + problem;
            at = nextLine(at);
        }
        return "";
    }

private:
    const char* skipSpaces(const char* at, bool acrossNewlines) const
    {
        // Stops at '\n' but not at '\r' when it keeps to the line, as the loader does.
        while (at != end && isSpace(*at) && (acrossNewlines || *at != '\n'))
            ++at;
        return at;
    }

    const char* nextWordOnLine(const char* at) const
    {
        while (at != end && !isSpace(*at))
            ++at;
        return skipSpaces(at, false);
    }

    const char* skipWords(const char* at, int words) const
    {
        for (int i = 0; i < words; ++i)
            at = nextWordOnLine(at);
        return at;
    }

    const char* nextLine(const char* at) const
    {
        while (at != end && *at != '\n' && *at != '\r')
            ++at;
        return skipSpaces(at, true);
    }

    // The loader's copyWord: up to the first space or NUL, at most 511 characters.
    static std::size_t wordLength(const char* at, const char* stop)
    {
        std::size_t length = 0;
        while (at + length != stop && at[length] != '\0' && !isSpace(at[length]))
            ++length;
        return std::min(length, MAX_WORD_LENGTH);
    }

    // A face line: the loader copies the line with its line break, skips the
    // first word and reads corners until the copy's end or a NUL.
    std::string faceFault(const char* at) const
    {
        const char* lineEnd = at;
        while (lineEnd != end && *lineEnd != '\n' && *lineEnd != '\r')
            ++lineEnd;
        if (lineEnd != end)
            ++lineEnd;

        int corners = 0;
        const char* word = skipPastWord(at, lineEnd);
        while (word != lineEnd && *word != '\0')
        {
            const std::string problem = cornerFault(std::string_view(word, wordLength(word, lineEnd)), counts);
            if (!problem.empty())
                return problem;
            ++corners;
            word = skipPastWord(word, lineEnd);
        }
        // With no corners the loader's triangle loop runs from 1 to 2^32 - 1.
        return corners == 0 ? "a face with no corners" : "";
    }

    // Past the word (NULs included) and the spaces after it, within the face line.
    static const char* skipPastWord(const char* at, const char* stop)
    {
        while (at != stop && !isSpace(*at))
            ++at;
        while (at != stop && isSpace(*at))
            ++at;
        return at;
    }

    int lineOf(const char* at) const
    {
        int line = 1;
        for (const char* p = begin; p != at; ++p)
            line += *p == '\n';
        return line;
    }

    const char* begin;
    const char* end;
    Counts counts;
};

bool isRegularFile(const std::string& path)
{
    struct stat info;
    return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

bool exists(const std::string& path)
{
    return access(path.c_str(), F_OK) == 0;
}

// The engine's getFileBasename and getFileDir (with its slash), which take either slash.
std::string baseName(const std::string& path)
{
    const std::size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string directoryOf(const std::string& path)
{
    const std::size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? "./" : path.substr(0, slash) + "/";
}

// The loader opens the first of these names that exists, as a file whatever it is.
std::string materialLibraryFault(const std::string& name, const std::string& modelDirectory)
{
    for (const std::string& candidate : {name, modelDirectory + name, baseName(name), modelDirectory + baseName(name)})
        if (exists(candidate))
            return isRegularFile(candidate)
                       ? ""
                       : "its material library " + printable(candidate, 200) + " is not a regular file";
    return "";
}

// The whole file, read through one descriptor: what is checked is what is loaded.
enum class ReadResult
{
    Read,
    Missing,
    NotRegular,
    Failed,
};

ReadResult readWholeFile(const char* path, std::vector<char>& bytes, int& error)
{
    // Non-blocking, so that a pipe under the model's name cannot stall the start.
    const int fd = open(path, READ_FLAGS);
    error = errno;
    if (fd < 0)
        return error == ENOENT || error == ENOTDIR ? ReadResult::Missing : ReadResult::Failed;
    struct stat info;
    ReadResult result = ReadResult::Read;
    if (fstat(fd, &info) != 0)
        result = ReadResult::Failed, error = errno;
    else if (!S_ISREG(info.st_mode))
        result = ReadResult::NotRegular;
    else
    {
        bytes.resize(static_cast<std::size_t>(info.st_size));
        std::size_t done = 0;
        while (done < bytes.size())
        {
            const ssize_t n = read(fd, bytes.data() + done, bytes.size() - done);
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0)
                result = ReadResult::Failed, error = errno;
            if (n <= 0)
                break;
            done += static_cast<std::size_t>(n);
        }
        // A file that shrank while being read is taken as it was read.
        bytes.resize(done);
    }
    close(fd);
    return result;
}
} // namespace

std::string findObjFault(std::string_view text, const std::string& path)
{
    std::vector<std::string> materialLibraries;
    std::string fault = LoaderWalk(text).fault(materialLibraries);
    for (std::size_t i = 0; fault.empty() && i < materialLibraries.size(); ++i)
        fault = materialLibraryFault(materialLibraries[i], directoryOf(path));
    return fault;
}

irr::scene::IAnimatedMesh* loadModel(irr::scene::ISceneManager* sceneManager, const char* path)
{
    if (irr::scene::IAnimatedMesh* cached = sceneManager->getMeshCache()->getMeshByName(path))
        return cached;

    std::vector<char> bytes;
    int error = 0;
    switch (readWholeFile(path, bytes, error))
    {
    case ReadResult::Missing:
        return nullptr;
    case ReadResult::NotRegular:
        warn("%s is not a regular file; the model is left out", path);
        return nullptr;
    case ReadResult::Failed:
        warn("cannot read %s (%s); the model is left out", path, std::strerror(error));
        return nullptr;
    case ReadResult::Read:
        break;
    }

    // Ending the text with a line break keeps the loader, which looks one
    // byte past a word that runs to the end, inside its buffer.
    if (bytes.empty() || bytes.back() != '\n')
        bytes.push_back('\n');
    const std::string fault = findObjFault(std::string_view(bytes.data(), bytes.size()), path);
    if (!fault.empty())
    {
        warn("%s: %s; the model is left out", path, fault.c_str());
        return nullptr;
    }

    // Under the file's own name, so that the mesh cache and the material
    // library's directory are the same as for getMesh(path).
    irr::io::IReadFile* file = sceneManager->getFileSystem()->createMemoryReadFile(
        bytes.data(), static_cast<irr::s32>(bytes.size()), path, false);
    irr::scene::IAnimatedMesh* mesh = sceneManager->getMesh(file);
    file->drop();
    return mesh;
}
