#pragma once

#include <string>
#include <vector>

// A file that appears whole or not at all: the bytes go to a temporary name
// beside the target (same directory, so the final rename is atomic) that is
// made at once, so an unwritable target is found before any work; commit
// renames it into place, and a file never committed is removed.
class OutputFile
{
public:
    // Throws CaptureError when the directory does not take the file.
    // Messages name the file as shownAs (the target itself when empty).
    explicit OutputFile(const std::string& target, const std::string& shownAs = "");
    ~OutputFile();

    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    // Where the bytes go until commit (for a program such as ffmpeg).
    const std::string& temporaryPath() const { return temporary; }
    const std::string& targetPath() const { return target; }

    void write(const std::vector<unsigned char>& bytes);
    void write(const std::string& text);
    void commit();

private:
    void writeBytes(const void* data, std::size_t size);

    std::string target;
    std::string shown;
    std::string temporary;
    int fd = -1;
    bool committed = false;
};
