#include "startup/ShowSwitches.h"

#include <functional>

using state::ShowOptions;

namespace startup {
namespace {

struct ShowSwitch {
    const char* name;   // after "--"
    const char* value;  // the value's name in the usage; nullptr: a switch without one
    const char* help;
    // Sets the value read (empty for a switch without one); why it cannot, or empty.
    std::function<QString(const QString& value, ShowOptions& options)> set;
    // The value that gives options again, when they differ from the default.
    std::function<std::optional<QString>(const ShowOptions& options)> given;
};

// Names for the values of a choice, the default first.
template <typename Choice>
struct Named {
    Choice choice;
    const char* name;
};
// Longer fades would outlast most stills' delay.
constexpr int kLongestCrossfadeMs = 10000;

const Named<ShowOptions::OnBattery> kOnBattery[] = {
    {ShowOptions::OnBattery::Play, "play"}, {ShowOptions::OnBattery::Still, "still"}, {ShowOptions::OnBattery::Black, "black"}};
const Named<ShowOptions::Monitors> kMonitors[] = {
    {ShowOptions::Monitors::Primary, "primary"}, {ShowOptions::Monitors::Each, "each"}, {ShowOptions::Monitors::Mirror, "mirror"}};

template <typename Choice, size_t N>
QString SetChoice(const Named<Choice> (&names)[N], const char* what, const QString& value, Choice& choice) {
    QStringList known;
    for (const Named<Choice>& named : names) {
        if (value == QLatin1String(named.name)) {
            choice = named.choice;
            return {};
        }
        known << QLatin1String(named.name);
    }
    return QStringLiteral("%1 takes %2, not \"%3\"").arg(QLatin1String(what), known.join(u'|'), value);
}

template <typename Choice, size_t N>
std::optional<QString> GivenChoice(const Named<Choice> (&names)[N], Choice choice) {
    if (choice == names[0].choice) return std::nullopt;
    for (const Named<Choice>& named : names)
        if (named.choice == choice) return QLatin1String(named.name);
    return std::nullopt;
}

// A switch without a value that sets a flag to on (or, with off, to false).
ShowSwitch Flag(const char* name, const char* help, bool ShowOptions::*flag, bool on = true) {
    return {name, nullptr, help,
            [flag, on](const QString&, ShowOptions& options) {
                options.*flag = on;
                return QString();
            },
            [flag, on](const ShowOptions& options) -> std::optional<QString> {
                if (options.*flag != on) return std::nullopt;
                return QString();
            }};
}

const ShowSwitch kSwitches[] = {
    Flag("shuffle", "each round plays every entry once, in a new random order", &ShowOptions::shuffle),
    Flag("resume", "start where the last show of this collection ended", &ShowOptions::resume),
    Flag("fill", "full-screen clips and pictures fill the screen, cropped", &ShowOptions::fill),
    Flag("no-hwdec", "decode clips in software only", &ShowOptions::hardwareDecoding, false),
    {"on-battery", "play|still|black", "on battery: play, hold clips still, or go black",
     [](const QString& value, ShowOptions& options) {
         return SetChoice(kOnBattery, "--on-battery", value, options.onBattery);
     },
     [](const ShowOptions& options) { return GivenChoice(kOnBattery, options.onBattery); }},
    {"monitors", "primary|each|mirror", "the show on the primary monitor, its own on each, or mirrored",
     [](const QString& value, ShowOptions& options) {
         return SetChoice(kMonitors, "--monitors", value, options.monitors);
     },
     [](const ShowOptions& options) { return GivenChoice(kMonitors, options.monitors); }},
    {"crossfade", "MS", "each entry fades into the next over MS milliseconds (0 to 10000)",
     [](const QString& value, ShowOptions& options) {
         bool number = false;
         const int ms = value.toInt(&number);
         if (!number || ms < 0 || ms > kLongestCrossfadeMs)
             return QStringLiteral("--crossfade takes milliseconds from 0 to %1, not \"%2\"").arg(kLongestCrossfadeMs).arg(value);
         options.crossfadeMs = ms;
         return QString();
     },
     [](const ShowOptions& options) -> std::optional<QString> {
         if (options.crossfadeMs == 0) return std::nullopt;
         return QString::number(options.crossfadeMs);
     }},
};

}  // namespace

std::optional<QString> ReadShowSwitch(const QStringList& arguments, qsizetype& i, ShowOptions& options) {
    const QString& argument = arguments[i];
    if (!argument.startsWith(QLatin1String("--"))) return std::nullopt;
    const QString name = argument.mid(2).section(u'=', 0, 0);
    for (const ShowSwitch& known : kSwitches) {
        if (name != QLatin1String(known.name)) continue;
        const bool inline_ = argument.contains(u'=');
        if (!known.value) {
            if (inline_) return QStringLiteral("--%1 takes no value").arg(name);
            return known.set({}, options);
        }
        if (!inline_ && i + 1 >= arguments.size()) return QStringLiteral("--%1 needs %2").arg(name, QLatin1String(known.value));
        const QString value = inline_ ? argument.section(u'=', 1) : arguments[++i];
        return known.set(value, options);
    }
    return std::nullopt;
}

QStringList ShowSwitchArguments(const ShowOptions& options) {
    QStringList arguments;
    for (const ShowSwitch& known : kSwitches) {
        const std::optional<QString> value = known.given(options);
        if (!value) continue;
        arguments << QStringLiteral("--") + QLatin1String(known.name);
        if (known.value) arguments << *value;
    }
    return arguments;
}

QString ShowSwitchUsage() {
    QString text;
    for (const ShowSwitch& known : kSwitches) {
        QString left = QStringLiteral("  --") + QLatin1String(known.name);
        if (known.value) left += u' ' + QLatin1String(known.value);
        const QString help = QLatin1String(known.help);
        text += left.size() < 24 ? left.leftJustified(24) + help + u'\n'
                                 : left + u'\n' + QString(24, u' ') + help + u'\n';
    }
    return text;
}

}  // namespace startup
