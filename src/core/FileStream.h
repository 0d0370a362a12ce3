#pragma once
// A stream over a file. Every path goes through the path resolver, so the game's
// backslashed, mixed-case names find their files.
//
// Modes:
//   "r", "rb"   read the file directly.
//   "w", "wb"   a safe save: the bytes go to "<name>.tmp", which Commit (or Close, or the
//               destructor) renames over the file only when everything was written; a
//               save that fails or is abandoned leaves the old file whole.
//   "wd", "wbd" write the file directly, without the temporary file, so that a reader sees
//               every flushed line at once (the debug log).
// A file that cannot be opened (or a folder) gives a stream that is not open and not
// good, with its error flag clear; reading from it sets the flag. Getting or peeking a
// character at the end of the file sets the error flag, so a last token without white
// space after it leaves the flag set.
#include <cstdio>
#include <memory>
#include <string_view>

#include "core/Stream.h"

namespace sys {
class SafeFile;
}

class FileStream : public Stream {
public:
    FileStream(std::string_view path, const char* mode);
    ~FileStream() override;

    bool IsOpen() const { return file_ != nullptr; }

    // Closes the file; for a safe save also renames the temporary file over the target.
    Stream& Close() override;
    // Closes and reports whether everything written reached the disk: no error on the
    // stream and, for a safe save, the rename done. A failed commit sets the error flag
    // (and a safe save with the error flag already set is abandoned).
    bool Commit();
    // Drops a safe save: the temporary file is removed and the old file stays.
    void Abandon();

    bool AtEnd() override;
    bool IsGood() override;
    Stream& ClearError() override;
    Stream& Flush() override;
    Stream& Seek(int32_t offset, int origin) override;
    Stream& Read(void* buffer, int count) override;
    Stream& Write(const void* buffer, int count) override;
    int PeekChar() override;
    Stream& ReadChar(char& c) override;
    int GetChar() override;
    Stream& ReadLine(char* buffer, int size) override;

protected:
    bool ScanSigned(int base, long long& value) override;
    bool ScanUnsigned(int base, unsigned long long& value) override;
    bool ScanFloat(float& value) override;
    bool ScanDouble(double& value) override;
    bool ScanLongDouble(long double& value) override;
    bool PutText(const char* text, int length) override;

private:
    template <typename T>
    bool Scan(const char* format, T& value);

    std::FILE* file_ = nullptr;
    std::unique_ptr<sys::SafeFile> save_;  // set for safe saves until committed
};
