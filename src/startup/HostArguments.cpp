#include "startup/HostArguments.h"

#include <limits>

namespace startup {

namespace {

bool Is(const QString& argument, const char* name) {
    return argument == QLatin1String("--") + QLatin1String(name) || argument == QLatin1String("-") + QLatin1String(name);
}

}  // namespace

std::optional<int> HostSwitchValues(const QString& argument) {
    if (Is(argument, "root")) return 0;
    if (Is(argument, "window-id")) return 1;
    return std::nullopt;
}

std::optional<unsigned long> ParseWindowId(const QString& text) {
    const QString trimmed = text.trimmed();
    bool ok = false;
    const qulonglong value = trimmed.startsWith(QLatin1String("0x"), Qt::CaseInsensitive)
                                 ? trimmed.mid(2).toULongLong(&ok, 16)
                                 : trimmed.toULongLong(&ok, 10);
    if (!ok || value == 0 || value > std::numeric_limits<quint32>::max()) return std::nullopt;
    return static_cast<unsigned long>(value);
}

std::optional<HostArguments> ReadHostArguments(const QStringList& arguments,
                                               const std::optional<QString>& screensaverWindow) {
    std::optional<HostArguments> host;
    QStringList rest;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (argument == QLatin1String("--")) {  // the end of the switches: a collection named "-root" stays one
            rest << arguments.mid(i + 1);
            break;
        }
        if (Is(argument, "root")) {
            host.emplace();
            if (!screensaverWindow || screensaverWindow->isEmpty()) continue;
            if (const auto id = ParseWindowId(*screensaverWindow))
                host->window = *id;
            else
                host->error = QStringLiteral("XSCREENSAVER_WINDOW \"%1\" is not a window id").arg(*screensaverWindow);
        } else if (Is(argument, "window-id")) {
            host.emplace();
            const QString id = i + 1 < arguments.size() ? arguments[++i] : QString();
            if (const auto parsed = ParseWindowId(id))
                host->window = *parsed;
            else
                host->error = QStringLiteral("--window-id needs a window id, not \"%1\"").arg(id);
        } else {
            rest << argument;
        }
    }
    if (host) host->collection = rest.join(u' ');
    return host;
}

}  // namespace startup
