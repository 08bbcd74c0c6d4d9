#pragma once

// Counts the times a file is opened, by anyone, while the watch lives (through inotify):
// what must never be opened (a named pipe, a device, a file outside the simulator's folder)
// is shown untouched.

#include <QFile>
#include <QString>

#include <array>

#include <sys/inotify.h>
#include <unistd.h>

namespace testsupport {

class OpenWatch {
public:
    explicit OpenWatch(const QString& path) {
        fd_ = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
        if (fd_ >= 0)
            watch_ = ::inotify_add_watch(fd_, QFile::encodeName(path).constData(), IN_OPEN);
    }
    ~OpenWatch() {
        if (fd_ >= 0)
            ::close(fd_);
    }
    bool ok() const { return fd_ >= 0 && watch_ >= 0; }
    int opens() {
        int count = 0;
        alignas(inotify_event) std::array<char, 4096> buffer{};
        for (;;) {
            const ssize_t n = ::read(fd_, buffer.data(), buffer.size());
            if (n <= 0)
                return count;
            for (ssize_t at = 0; at < n;) {
                const auto* event = reinterpret_cast<const inotify_event*>(buffer.data() + at);
                count += (event->mask & IN_OPEN) ? 1 : 0;
                at += ssize_t(sizeof(inotify_event) + event->len);
            }
        }
    }

private:
    int fd_ = -1;
    int watch_ = -1;
};

} // namespace testsupport
