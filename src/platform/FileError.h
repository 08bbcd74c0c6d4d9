#pragma once

// Why a file operation failed: the system's error number and the native path it concerns,
// so that a message can name the file and give the system's reason.

#include <QString>

namespace platform {

struct FileError {
    int code = 0; // errno; 0 when nothing failed
    QString path; // native path the failure concerns
    bool failed() const { return code != 0; }
    // The system's text for the error number ("Permission denied").
    QString reason() const;
};

// Records a failure in `error` when one is wanted; always false, so that a caller can
// `return failWith(...)`.
inline bool failWith(FileError* error, int code, const QString& path) {
    if (error) {
        error->code = code;
        error->path = path;
    }
    return false;
}

} // namespace platform
