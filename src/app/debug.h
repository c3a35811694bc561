#pragma once
// The diagnostic log. Logging is on only when a file with the program's base name and the
// extension ".Log" already exists beside the program; the log never creates that file, and never
// truncates, rotates or deletes a log file. When the file cannot be opened or another running copy
// holds it (an exclusive advisory lock), the numbered names "<base>_000.Log" ... "<base>_099.Log"
// are tried, each created new. Every run that logs starts with an empty line and
// "== START LOG ==". Lines end with CR LF:
//   (HH:MM:SS:mmm 0xTID) text
// with the local time and the Linux thread id in upper-case hexadecimal.

#include <QString>

#include <mutex>
#include <string>
#include <string_view>

class CDebug
{
public:
    // The program's own path (/proc/self/exe).
    CDebug();
    // A given program path (tests): the log is that path with its extension replaced by ".Log".
    explicit CDebug(const QString& programPath);
    virtual ~CDebug();

    CDebug(const CDebug&) = delete;
    CDebug& operator=(const CDebug&) = delete;

    // Appends raw bytes; nothing when logging is off.
    void Write(const char* bytes, std::size_t length);
    // Appends one entry line for the text.
    void Log(std::string_view text);
    void Log(const QString& text);

    bool IsOn() const { return File >= 0; }

    // Path of the log file in use (or of the last one looked for / tried).
    QString LogPath;
    // Open file descriptor; -1 when logging is off.
    int File = -1;

    // The entry line for a text at the given time and thread (no I/O).
    static std::string FormatLine(
        int hour, int minute, int second, int millisecond, unsigned long threadId, std::string_view text);
    // Settings/log name rule: the path with its extension (if any) replaced by ext (".ini", ".Log").
    static QString ChangeFileExt(const QString& path, const QString& ext);

private:
    void Open(const QString& programPath);

    std::mutex Guard;
};

extern CDebug g_Debug;

// printf-style entry into g_Debug. A formatting failure logs the empty or partial text.
void DebugPrint(const char* fmt, ...) __attribute__((format(printf, 1, 2)));
