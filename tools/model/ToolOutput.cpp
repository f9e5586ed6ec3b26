#include "tools/model/ToolOutput.h"

#include <cerrno>
#include <streambuf>

#include <unistd.h>

#include "core/AtomicFile.h"
#include "core/TextUtil.h"

namespace qv {

namespace {

// An output stream on a file descriptor it owns: every flush hands what was
// written to the system.
class DescriptorBuffer final : public std::streambuf {
public:
    explicit DescriptorBuffer(int fd) : fd_(fd) { setp(buffer_, buffer_ + sizeof buffer_); }
    ~DescriptorBuffer() override {
        sync();
        ::close(fd_);
    }
    DescriptorBuffer(const DescriptorBuffer&) = delete;
    DescriptorBuffer& operator=(const DescriptorBuffer&) = delete;

protected:
    int_type overflow(int_type c) override {
        if (!drain()) return traits_type::eof();
        if (!traits_type::eq_int_type(c, traits_type::eof())) {
            *pptr() = traits_type::to_char_type(c);
            pbump(1);
        }
        return traits_type::not_eof(c);
    }
    int sync() override { return drain() ? 0 : -1; }

private:
    bool drain() {
        const bool written = WriteAllTo(fd_, std::string_view(pbase(), static_cast<size_t>(pptr() - pbase())));
        if (!written) error_ = errno;
        setp(buffer_, buffer_ + sizeof buffer_);
        return written;
    }

public:
    // The system's error number of the last failed write (0 when none failed).
    int systemError() const { return error_; }

private:
    int fd_;
    int error_ = 0;
    char buffer_[4096];
};

class DescriptorStream final : public std::ostream {
public:
    explicit DescriptorStream(int fd) : std::ostream(nullptr), buffer_(fd) { rdbuf(&buffer_); }
    int systemError() const { return buffer_.systemError(); }

private:
    DescriptorBuffer buffer_;
};

}  // namespace

bool IsNameInsideToolFolder(std::string_view name) {
    if (name.empty() || name.front() == '/') return false;
    for (std::string_view part : SplitAt(name, '/'))
        if (part == "..") return false;
    return true;
}

bool IsSlashFolderPath(std::string_view path) {
    if (path.find('\\') != std::string_view::npos) return false;
    const bool driveLetter = path.size() >= 2 && path[1] == ':' &&
                             ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'));
    return !driveLetter;
}

std::unique_ptr<std::ostream> OpenToolOutput(const std::string& path, std::string* reason) {
    FileWriteResult result = FileWriteResult::Ok;
    int error = 0;
    const int fd = OpenForAppending(path, result, error);
    if (fd < 0) {
        if (reason) *reason = FileWriteReason(result, error);
        return nullptr;
    }
    return std::make_unique<DescriptorStream>(fd);
}

bool WriteToolOutputLine(std::ostream& out, std::string_view text, std::string* reason) {
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    out.write("\r\n", 2);
    // Flushed at every line, so what a run wrote is on disk even when the
    // run or the program stops before the file is closed.
    out.flush();
    if (out) return true;
    if (reason) {
        const auto* file = dynamic_cast<const DescriptorStream*>(&out);
        *reason = FileWriteReason(FileWriteResult::Failed, file ? file->systemError() : 0);
    }
    return false;
}

}  // namespace qv
