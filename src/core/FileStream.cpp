#include "core/FileStream.h"

#include <sys/stat.h>

#include <cstring>
#include <string>

#include "core/String.h"
#include "platform/sys/Paths.h"
#include "platform/sys/SafeFile.h"

namespace {

bool IsSafeSaveMode(const char* mode) { return std::strcmp(mode, "w") == 0 || std::strcmp(mode, "wb") == 0; }

// "wd" and "wbd" are "w" and "wb" without the temporary file.
std::string DirectMode(const char* mode) {
    std::string plain(mode);
    if (!plain.empty() && plain.back() == 'd') {
        plain.pop_back();
    }
    return plain;
}

std::string_view FolderOf(std::string_view path) {
    const size_t slash = path.find_last_of('/');
    if (slash == std::string_view::npos) {
        return ".";
    }
    return slash == 0 ? path.substr(0, 1) : path.substr(0, slash);
}

bool IsFolder(std::FILE* file) {
    struct stat info {};
    return ::fstat(::fileno(file), &info) == 0 && S_ISDIR(info.st_mode);
}

const char* SignedScanFormat(int base) {
    switch (base) {
        case 16: return "%llx";
        case 8: return "%llo";
        default: return "%lld";
    }
}

const char* UnsignedScanFormat(int base) {
    switch (base) {
        case 16: return "%llx";
        case 8: return "%llo";
        default: return "%llu";
    }
}

}  // namespace

FileStream::FileStream(std::string_view path, const char* mode) {
    const std::string resolved = sys::ResolvePath(path);
    if (IsSafeSaveMode(mode)) {
        save_ = std::make_unique<sys::SafeFile>(resolved, mode);
        file_ = save_->Handle();
        if (file_ == nullptr) {
            save_.reset();
        }
        return;
    }
    const std::string plain = DirectMode(mode);
    file_ = std::fopen(resolved.c_str(), plain.c_str());
    if (file_ != nullptr && IsFolder(file_)) {
        // A folder opens for reading here but never reads: it is no file.
        std::fclose(file_);
        file_ = nullptr;
        return;
    }
    if (file_ != nullptr && plain.find_first_of("wa+") != std::string::npos) {
        sys::InvalidateDirectoryCache(FolderOf(resolved));
    }
}

FileStream::~FileStream() { FileStream::Close(); }

Stream& FileStream::Close() {
    if (file_ != nullptr || save_ != nullptr) {
        Commit();
    }
    return *this;
}

bool FileStream::Commit() {
    bool ok = false;
    if (save_ != nullptr) {
        file_ = nullptr;  // the safe file owns the handle
        if (error_) {
            save_->Abandon();
        } else {
            ok = save_->Commit();
        }
        save_.reset();
    } else if (file_ != nullptr) {
        ok = !error_ && std::ferror(file_) == 0;
        ok = std::fclose(file_) == 0 && ok;
        file_ = nullptr;
    }
    if (!ok) {
        error_ = true;
    }
    return ok;
}

void FileStream::Abandon() {
    if (save_ == nullptr) {
        return;
    }
    file_ = nullptr;
    save_->Abandon();
    save_.reset();
}

bool FileStream::AtEnd() { return file_ == nullptr || std::feof(file_) != 0; }

bool FileStream::IsGood() { return file_ != nullptr && !error_ && std::feof(file_) == 0 && std::ferror(file_) == 0; }

Stream& FileStream::ClearError() {
    error_ = false;
    if (file_ != nullptr) {
        std::clearerr(file_);
    }
    return *this;
}

Stream& FileStream::Flush() {
    if (file_ == nullptr || std::fflush(file_) != 0) {
        error_ = true;
    }
    return *this;
}

Stream& FileStream::Seek(int32_t offset, int origin) {
    static constexpr int kOrigins[] = {SEEK_SET, SEEK_CUR, SEEK_END};
    if (file_ == nullptr || origin < 0 || origin > 2 || std::fseek(file_, offset, kOrigins[origin]) != 0) {
        error_ = true;
    }
    return *this;
}

Stream& FileStream::Read(void* buffer, int count) {
    if (count <= 0) {
        return *this;
    }
    if (file_ == nullptr || std::fread(buffer, 1, static_cast<size_t>(count), file_) != static_cast<size_t>(count)) {
        error_ = true;
    }
    return *this;
}

Stream& FileStream::Write(const void* buffer, int count) {
    if (count <= 0) {
        return *this;
    }
    if (!PutText(static_cast<const char*>(buffer), count)) {
        error_ = true;
    }
    return *this;
}

bool FileStream::PutText(const char* text, int length) {
    if (file_ == nullptr) {
        return false;
    }
    return length <= 0 || std::fwrite(text, 1, static_cast<size_t>(length), file_) == static_cast<size_t>(length);
}

int FileStream::GetChar() {
    const int c = file_ != nullptr ? std::getc(file_) : EOF;
    if (c == EOF) {
        error_ = true;
        return -1;
    }
    return c;
}

int FileStream::PeekChar() {
    const int c = GetChar();
    if (c >= 0) {
        std::ungetc(c, file_);
    }
    return c;
}

Stream& FileStream::ReadChar(char& c) {
    c = static_cast<char>(GetChar());
    return *this;
}

Stream& FileStream::ReadLine(char* buffer, int size) {
    lineCut_ = false;
    if (size < 1) {
        return *this;
    }
    buffer[0] = '\0';
    int c = file_ != nullptr ? std::getc(file_) : EOF;
    if (c == EOF) {
        error_ = true;
        return *this;
    }
    int stored = 0;
    for (; c != EOF; c = std::getc(file_)) {
        if (c == '\n') {
            break;
        }
        if (c == '\r') {
            const int next = std::getc(file_);
            if (next == '\n' || next == EOF) {
                break;
            }
            if (stored == size - 1) {
                // Both bytes go back for the next piece of the line.
                std::fseek(file_, -2, SEEK_CUR);
                lineCut_ = true;
                break;
            }
            std::ungetc(next, file_);
        } else if (stored == size - 1) {
            std::ungetc(c, file_);
            lineCut_ = true;
            break;
        }
        buffer[stored++] = static_cast<char>(c);
    }
    buffer[stored] = '\0';
    return *this;
}

template <typename T>
bool FileStream::Scan(const char* format, T& value) {
    if (file_ == nullptr) {
        return false;
    }
    CLocaleScope scope;
    return std::fscanf(file_, format, &value) == 1;
}

bool FileStream::ScanSigned(int base, long long& value) {
    if (base == 10) {
        return Scan("%lld", value);
    }
    unsigned long long bits = 0;
    if (!Scan(SignedScanFormat(base), bits)) {
        return false;
    }
    value = static_cast<long long>(bits);
    return true;
}

bool FileStream::ScanUnsigned(int base, unsigned long long& value) { return Scan(UnsignedScanFormat(base), value); }

bool FileStream::ScanFloat(float& value) { return Scan("%g", value); }

bool FileStream::ScanDouble(double& value) { return Scan("%lg", value); }

bool FileStream::ScanLongDouble(long double& value) { return Scan("%Lg", value); }
