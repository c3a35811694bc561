#include "app/debug.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <ctime>
#include <vector>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/syscall.h>
#include <sys/time.h>
#include <unistd.h>

namespace {

QString OwnProgramPath()
{
    char buf[4096];
    const ssize_t n = ::readlink("/proc/self/exe", buf, sizeof(buf) - 1);
    if (n <= 0) {
        return {};
    }
    return QFile::decodeName(QByteArray(buf, static_cast<qsizetype>(n)));
}

// Opens a log file for reading and writing and takes the exclusive lock that marks it as held by
// this running copy; -1 when either fails.
int OpenHeld(const QByteArray& path, int extraFlags)
{
    const int fd = ::open(path.constData(), O_RDWR | O_CLOEXEC | extraFlags, 0644);
    if (fd < 0) {
        return -1;
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

} // namespace

QString CDebug::ChangeFileExt(const QString& path, const QString& ext)
{
    const qsizetype slash = path.lastIndexOf(u'/');
    const qsizetype dot = path.lastIndexOf(u'.');
    if (dot > slash && dot > slash + 1) {
        return path.left(dot) + ext;
    }
    return path + ext;
}

CDebug::CDebug()
{
    Open(OwnProgramPath());
}

CDebug::CDebug(const QString& programPath)
{
    Open(programPath);
}

CDebug::~CDebug()
{
    if (File >= 0) {
        ::close(File); // also releases the lock
        File = -1;
    }
}

void CDebug::Open(const QString& programPath)
{
    File = -1;
    if (programPath.isEmpty()) {
        return;
    }
    const QFileInfo info(programPath);
    QString folder = info.path();
    if (!folder.endsWith(u'/')) {
        folder += u'/';
    }
    const QString fileName = info.fileName();
    const qsizetype dot = fileName.lastIndexOf(u'.');
    const QString base = dot > 0 ? fileName.left(dot) : fileName;

    LogPath = ChangeFileExt(programPath, QStringLiteral(".Log"));
    // Logging is on only when the file is already there; it is never created.
    const QByteArray path = QFile::encodeName(LogPath);
    if (::access(path.constData(), F_OK) != 0) {
        return;
    }
    int fd = OpenHeld(path, 0);
    if (fd < 0) {
        for (int i = 0; i < 100 && fd < 0; ++i) {
            LogPath = folder + base + QString::asprintf("_%03d.Log", i);
            fd = OpenHeld(QFile::encodeName(LogPath), O_CREAT | O_EXCL);
        }
        if (fd < 0) {
            return;
        }
    }
    if (::lseek(fd, 0, SEEK_END) == static_cast<off_t>(-1)) {
        ::close(fd);
        return;
    }
    File = fd;
    Write("\r\n", 2);
    Log(std::string_view("== START LOG =="));
}

void CDebug::Write(const char* bytes, std::size_t length)
{
    if (File < 0) {
        return;
    }
    std::lock_guard<std::mutex> hold(Guard);
    std::size_t done = 0;
    while (done < length) {
        const ssize_t n = ::write(File, bytes + done, length - done);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            break; // a failed write is ignored
        }
        done += static_cast<std::size_t>(n);
    }
}

std::string CDebug::FormatLine(
    int hour, int minute, int second, int millisecond, unsigned long threadId, std::string_view text)
{
    char head[64];
    std::snprintf(
        head, sizeof(head), "(%02d:%02d:%02d:%03d 0x%lX) ", hour, minute, second, millisecond, threadId);
    std::string line(head);
    line.append(text);
    line.append("\r\n");
    return line;
}

void CDebug::Log(std::string_view text)
{
    if (File < 0) {
        return;
    }
    timeval tv {};
    ::gettimeofday(&tv, nullptr);
    tm local {};
    const time_t secs = tv.tv_sec;
    ::localtime_r(&secs, &local);
    const auto tid = static_cast<unsigned long>(::syscall(SYS_gettid));
    const std::string line = FormatLine(
        local.tm_hour, local.tm_min, local.tm_sec, static_cast<int>(tv.tv_usec / 1000), tid, text);
    Write(line.data(), line.size());
}

void CDebug::Log(const QString& text)
{
    const QByteArray bytes = text.toUtf8();
    Log(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
}

void DebugPrint(const char* fmt, ...)
{
    if (g_Debug.File < 0 || fmt == nullptr) {
        return;
    }
    std::string text;
    va_list args;
    va_start(args, fmt);
    va_list copy;
    va_copy(copy, args);
    const int needed = std::vsnprintf(nullptr, 0, fmt, copy);
    va_end(copy);
    if (needed > 0) {
        try {
            std::vector<char> buf(static_cast<std::size_t>(needed) + 1);
            const int written = std::vsnprintf(buf.data(), buf.size(), fmt, args);
            if (written > 0) {
                text.assign(buf.data(), static_cast<std::size_t>(std::min(written, needed)));
            }
        } catch (...) {
            // Whatever was formatted (possibly nothing) is logged.
        }
    }
    va_end(args);
    g_Debug.Log(std::string_view(text));
}
