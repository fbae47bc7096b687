#include "startup/Switches.h"

#include <cstdio>

#include "errors/ErrorLog.h"
#include "platform/vb/EndProgram.h"
#include "startup/HostArguments.h"
#include "startup/ShowSwitches.h"
#include "startup/Usage.h"
#include "startup/XScreensaverSetup.h"

using namespace errors;

namespace startup {

namespace {

bool Is(const QString& argument, const char* name) {
    return argument == QLatin1String("--") + QLatin1String(name);
}

Switches Decided(Switches::Action action, const QString& value = {}) { return {action, value, {}, {}}; }

void Print(std::FILE* stream, const QString& text) { std::fputs(text.toLocal8Bit().constData(), stream); }

}  // namespace

Switches ReadSwitches(const QStringList& arguments) {
    Switches read;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (argument == QLatin1String("--")) {
            read.rest << arguments.mid(i);
            break;
        }
        if (const auto values = HostSwitchValues(argument)) {
            read.rest << arguments.mid(i, 1 + *values);
            i += *values;
        } else if (Is(argument, "help") || argument == QLatin1String("-h")) {
            return Decided(Switches::Action::Help);
        } else if (Is(argument, "version")) {
            return Decided(Switches::Action::Version);
        } else if (Is(argument, "setup") || argument.startsWith(QLatin1String("--setup="))) {
            const QString target = argument.contains(u'=') ? argument.section(u'=', 1) : arguments.value(i + 1);
            if (target.isEmpty()) return Decided(Switches::Action::UsageError, QStringLiteral("--setup needs a target"));
            if (target != QLatin1String(kXScreensaverTarget))
                return Decided(Switches::Action::UsageError,
                               QStringLiteral("--setup knows no target \"%1\" (known: %2)").arg(target, kXScreensaverTarget));
            return Decided(Switches::Action::Setup, target);
        } else if (const std::optional<QString> shown = ReadShowSwitch(arguments, i, read.options)) {
            if (!shown->isEmpty()) return Decided(Switches::Action::UsageError, *shown);
        } else if (Is(argument, "fps") || argument == QLatin1String("-fps")) {
            // xscreensaver's frame-rate display: the show draws no counter.
        } else if (argument.startsWith(QLatin1String("--"))) {
            return Decided(Switches::Action::UsageError, QStringLiteral("unknown switch %1").arg(argument));
        } else {
            read.rest << argument;
        }
    }
    return read;
}

int RunSwitchAction(const Switches& switches) {
    switch (switches.action) {
        case Switches::Action::Help:
            Print(stdout, UsageText());
            return vb::kEndedNormally;
        case Switches::Action::Version:
            Print(stdout, VersionText() + u'\n');
            return vb::kEndedNormally;
        case Switches::Action::Setup:
            return SetUpXScreensaver();
        case Switches::Action::UsageError:
        case Switches::Action::Run:
            break;
    }
    SayOnStandardError(switches.value);
    Print(stderr, UsageText());
    return vb::kUsageError;
}

}  // namespace startup
