#include "platform/core/shell.h"

#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

#ifdef QRX_HAVE_XCB
#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>
#include <vector>
#endif

namespace {

// Runs a short query program and returns its trimmed standard output; empty on any failure.
QString Query(const QString& program, const QStringList& args)
{
    if (QStandardPaths::findExecutable(program).isEmpty()) {
        return {};
    }
    QProcess p;
    p.setStandardInputFile(QProcess::nullDevice());
    p.start(program, args);
    if (!p.waitForFinished(5000)) {
        p.kill();
        p.waitForFinished(1000);
        return {};
    }
    if (p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
        return {};
    }
    return QString::fromLocal8Bit(p.readAllStandardOutput()).trimmed();
}

bool StartDetachedQuiet(const QString& program, const QStringList& args)
{
    QProcess p;
    p.setProgram(program);
    p.setArguments(args);
    p.setStandardInputFile(QProcess::nullDevice());
    p.setStandardOutputFile(QProcess::nullDevice());
    p.setStandardErrorFile(QProcess::nullDevice());
    return p.startDetached();
}

#ifdef QRX_HAVE_XCB
xcb_atom_t Atom(xcb_connection_t* c, const char* name)
{
    xcb_intern_atom_reply_t* r = xcb_intern_atom_reply(
        c, xcb_intern_atom(c, 1, static_cast<uint16_t>(std::strlen(name)), name), nullptr);
    if (r == nullptr) {
        return XCB_ATOM_NONE;
    }
    const xcb_atom_t a = r->atom;
    std::free(r);
    return a;
}

QString TextProperty(xcb_connection_t* c, xcb_window_t w, xcb_atom_t prop, xcb_atom_t type)
{
    if (prop == XCB_ATOM_NONE) {
        return {};
    }
    xcb_get_property_reply_t* r
        = xcb_get_property_reply(c, xcb_get_property(c, 0, w, prop, type, 0, 1024), nullptr);
    if (r == nullptr) {
        return {};
    }
    QString text;
    const int len = xcb_get_property_value_length(r);
    if (r->format == 8 && len > 0) {
        const auto* data = static_cast<const char*>(xcb_get_property_value(r));
        text = type == XCB_ATOM_STRING ? QString::fromLatin1(data, len) : QString::fromUtf8(data, len);
    }
    std::free(r);
    return text;
}

std::vector<xcb_window_t> Children(xcb_connection_t* c, xcb_window_t w)
{
    std::vector<xcb_window_t> out;
    xcb_query_tree_reply_t* r = xcb_query_tree_reply(c, xcb_query_tree(c, w), nullptr);
    if (r != nullptr) {
        const xcb_window_t* kids = xcb_query_tree_children(r);
        out.assign(kids, kids + xcb_query_tree_children_length(r));
        std::free(r);
    }
    return out;
}

bool FindX11Window(const QString& title)
{
    if (qEnvironmentVariableIsEmpty("DISPLAY")) {
        return false;
    }
    xcb_connection_t* c = xcb_connect(nullptr, nullptr);
    if (c == nullptr || xcb_connection_has_error(c)) {
        if (c != nullptr) {
            xcb_disconnect(c);
        }
        return false;
    }
    const xcb_atom_t netName = Atom(c, "_NET_WM_NAME");
    const xcb_atom_t utf8 = Atom(c, "UTF8_STRING");
    auto matches = [&](xcb_window_t w) {
        if (TextProperty(c, w, netName, utf8) == title) {
            return true;
        }
        return TextProperty(c, w, XCB_ATOM_WM_NAME, XCB_ATOM_STRING) == title
            || TextProperty(c, w, XCB_ATOM_WM_NAME, utf8) == title;
    };
    bool found = false;
    for (xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(c)); it.rem && !found;
         xcb_screen_next(&it)) {
        // Top-level windows are the root's children; with a reparenting window manager the
        // client window is one level further down.
        for (xcb_window_t top : Children(c, it.data->root)) {
            if (matches(top)) {
                found = true;
                break;
            }
            for (xcb_window_t inner : Children(c, top)) {
                if (matches(inner)) {
                    found = true;
                    break;
                }
            }
            if (found) {
                break;
            }
        }
    }
    xcb_disconnect(c);
    return found;
}
#endif

class CRealShell : public CShell
{
public:
    int OpenDocument(const QString& pathOrUrl) override
    {
        if (pathOrUrl.isEmpty()) {
            return SHELL_FILE_NOT_FOUND;
        }
        if (QStandardPaths::findExecutable(QStringLiteral("xdg-open")).isEmpty()) {
            return SHELL_NO_ASSOCIATION;
        }
        return StartDetachedQuiet(QStringLiteral("xdg-open"), { pathOrUrl }) ? SHELL_OK
                                                                             : SHELL_FILE_NOT_FOUND;
    }

    int ExploreFolder(const QString& folder) override
    {
        if (!QFileInfo(folder).isDir()) {
            return SHELL_FILE_NOT_FOUND;
        }
        return OpenDocument(folder);
    }

    int FindExecutable(const QString& document) override
    {
        if (!QFileInfo::exists(document)) {
            return SHELL_FILE_NOT_FOUND;
        }
        const QString type = Query(
            QStringLiteral("xdg-mime"), { QStringLiteral("query"), QStringLiteral("filetype"), document });
        if (type.isEmpty()) {
            return SHELL_NO_ASSOCIATION;
        }
        const QString app
            = Query(QStringLiteral("xdg-mime"), { QStringLiteral("query"), QStringLiteral("default"), type });
        return app.isEmpty() ? SHELL_NO_ASSOCIATION : SHELL_OK;
    }

    bool RunHidden(const QString& program, const QStringList& args) override
    {
        return StartDetachedQuiet(program, args);
    }

    bool FindTopLevelWindow(const QString& title) override
    {
#ifdef QRX_HAVE_XCB
        return FindX11Window(title);
#else
        (void)title;
        return false;
#endif
    }
};

CShell* g_testShell = nullptr;

} // namespace

CShell& Shell()
{
    static CRealShell real;
    return g_testShell ? *g_testShell : real;
}

void SetShellForTesting(CShell* shell)
{
    g_testShell = shell;
}

int CFakeShell::OpenDocument(const QString& pathOrUrl)
{
    Calls.append({ QStringLiteral("OpenDocument"), pathOrUrl, {} });
    return OpenResult;
}

int CFakeShell::ExploreFolder(const QString& folder)
{
    Calls.append({ QStringLiteral("ExploreFolder"), folder, {} });
    return OpenResult;
}

int CFakeShell::FindExecutable(const QString& document)
{
    Calls.append({ QStringLiteral("FindExecutable"), document, {} });
    return FindExecutableResult;
}

bool CFakeShell::RunHidden(const QString& program, const QStringList& args)
{
    Calls.append({ QStringLiteral("RunHidden"), program, args });
    return RunResult;
}

bool CFakeShell::FindTopLevelWindow(const QString& title)
{
    Calls.append({ QStringLiteral("FindTopLevelWindow"), title, {} });
    return Windows.contains(title);
}
