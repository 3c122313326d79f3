// A file written for the user: built under a temporary name beside its target and renamed into
// place only when complete, so a failed write never leaves a partial file nor removes what stood
// at the path.
#pragma once

#include <cstddef>
#include <cstdio>
#include <string>

namespace base {

// One output file under construction. The stream writes to a temporary file in the target's
// folder (so the rename is atomic), created with the target's permissions when it replaces a
// regular file. A target that exists and is not a regular file (a device such as /dev/null, a
// pipe) is written directly instead, since renaming over it would replace it; a symbolic link is
// followed, so the file it names is replaced, not the link. An existing file that the user may
// not write is refused, never replaced.
class TOutputFile {
  public:
    // what: how messages name the file ("WAV file"). Raises Exception "Cannot create <what>
    // '<path>': <reason>" when the file cannot be opened.
    TOutputFile(const std::string& path, const std::string& what);
    // Removes the temporary file when Commit did not complete; never removes the target.
    ~TOutputFile();
    TOutputFile(const TOutputFile&) = delete;
    TOutputFile& operator=(const TOutputFile&) = delete;

    // The stream to write into (seeking is allowed); a write error on it is found by Commit.
    std::FILE* Stream() const { return m_stream; }
    // Writes bytes to the stream; a failure is remembered and reported by Commit.
    void Write(const void* data, size_t size);
    // Remembers a failure (an errno value) found by a caller that writes Stream() itself.
    void Fail(int error);
    // Flushes and closes the file and renames it into place. Raises Exception "Cannot write <what>
    // '<path>': <reason>" when a write, the flush, the close or the rename failed, after removing
    // the temporary file.
    void Commit();

  private:
    void Discard();
    [[noreturn]] void ThrowWriteError(int error);

    std::string m_path;       // what the user named
    std::string m_target;     // the file to replace: m_path with a symbolic link followed
    std::string m_what;       // the file's kind, for messages
    std::string m_temporary;  // empty when the target is written directly
    std::FILE* m_stream = nullptr;
    int m_error = 0;  // errno of the first failed write, 0 = none
};

}  // namespace base
