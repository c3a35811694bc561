#include "platform/core/notify.h"

#include <cstdio>

namespace {
std::function<void(const QString&)>& Handler()
{
    static std::function<void(const QString&)> handler;
    return handler;
}
} // namespace

void ShowSimpleMessage(const QString& text)
{
    if (Handler()) {
        Handler()(text);
        return;
    }
    const QByteArray bytes = text.toLocal8Bit();
    std::fprintf(stderr, "%s\n", bytes.constData());
    std::fflush(stderr);
}

void SetSimpleMessageHandler(std::function<void(const QString&)> handler)
{
    Handler() = std::move(handler);
}
