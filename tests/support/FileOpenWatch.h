#pragma once
// Records which files of one folder are opened while it watches (inotify),
// to show that a listing of the folder never reads its files.
#include <QStringList>

#include <sys/inotify.h>
#include <unistd.h>

#include <QByteArray>
#include <QFile>

namespace qv::test {

class FileOpenWatch {
public:
    explicit FileOpenWatch(const QString& folder) : fd_(::inotify_init1(IN_NONBLOCK | IN_CLOEXEC)) {
        if (fd_ >= 0) watch_ = ::inotify_add_watch(fd_, QFile::encodeName(folder).constData(), IN_OPEN | IN_ACCESS);
    }
    ~FileOpenWatch() {
        if (fd_ >= 0) ::close(fd_);
    }
    FileOpenWatch(const FileOpenWatch&) = delete;
    FileOpenWatch& operator=(const FileOpenWatch&) = delete;

    bool isWatching() const { return fd_ >= 0 && watch_ >= 0; }

    // The names of the files (not folders) opened or read since the last call.
    QStringList openedFiles() {
        QStringList names;
        alignas(inotify_event) char buffer[16384];
        for (;;) {
            const ssize_t length = ::read(fd_, buffer, sizeof buffer);
            if (length <= 0) break;
            for (char* p = buffer; p < buffer + length;) {
                const auto* event = reinterpret_cast<const inotify_event*>(p);
                if (event->len > 0 && !(event->mask & IN_ISDIR)) {
                    const QString name = QFile::decodeName(QByteArray(event->name));
                    if (!names.contains(name)) names << name;
                }
                p += sizeof(inotify_event) + event->len;
            }
        }
        return names;
    }

private:
    int fd_ = -1;
    int watch_ = -1;
};

}  // namespace qv::test
