#include "collect/Commands.h"

#include <QFile>
#include <QFileInfo>
#include <QUrl>
#include <climits>
#include <cmath>
#include <map>
#include <set>

#include "collect/Collection.h"
#include "collect/FolderWalk.h"
#include "config/EntryAddress.h"
#include "platform/system/CdDrive.h"
#include "platform/system/FileSystem.h"
#include "platform/system/ProgramInfo.h"
#include "web/DisplayTime.h"

using namespace config;
using namespace web;

namespace collect {

using platform::media::MediaKind;

namespace {

const QStringList kRunModes{"SCREENSAVER", "SCREENSAVER_NOMOUSEMOVE", "SCREENSAVER_NOMOUSEMOVE_OR_RC",
                            "SCREENSAVER_NOMOUSEMOVE_OR_RC_OR_SECURE"};

struct Command {
    const char* name;
    const char* usage;
    const char* help;
    QStringList valueOptions;
    QStringList flagOptions;
};

const std::vector<Command>& Commands() {
    static const std::vector<Command> commands{
        {"new", "new FILE [--runas MODE] [--still-delay SECONDS] [--page-delay SECONDS] [--error-log FILE]",
         "Makes a new, empty collection file. --runas is one of SCREENSAVER (mouse movement ends the show),\n"
         "SCREENSAVER_NOMOUSEMOVE, SCREENSAVER_NOMOUSEMOVE_OR_RC or SCREENSAVER_NOMOUSEMOVE_OR_RC_OR_SECURE.\n"
         "--still-delay: seconds a picture stays (default 5); --page-delay: seconds a web page stays\n"
         "(default 12; 0: until the user acts).",
         {"--runas", "--still-delay", "--page-delay", "--error-log"}, {}},
        {"add", "add FILE TARGET... [--speed RATE] [--volume DB] [--balance DB] [--loop-start S] [--loop-end S]\n"
                "    [--loop-forever] [--play-size PIXELS | --own-size | --full-screen]",
         "Adds files, folders (all the media in them, in name order) and web addresses at the end;\n"
         "a CD drive (its device or a disc's mount point) adds the tracks of the disc in it.\n"
         "Videos, sounds and pictures are recognised by their content. The options apply to every entry\n"
         "of this call: --speed 0.5 plays at half speed, --volume -6 six decibels quieter, --balance -3\n"
         "three decibels towards the left, --loop-start/--loop-end play a part (seconds), --loop-forever\n"
         "repeats the entry without end, --play-size plays it in a square of that many pixels,\n"
         "--own-size plays a video or shows a picture at its own size. Without either, videos and\n"
         "pictures fill the screen (--full-screen, the default, says so).",
         {"--speed", "--volume", "--balance", "--loop-start", "--loop-end", "--play-size"},
         {"--loop-forever", "--full-screen", "--own-size"}},
        {"list", "list FILE", "Lists the entries: number, kind, length or size, name, settings other than the default.",
         {}, {}},
        {"move", "move FILE FROM TO", "Moves entry FROM to position TO; the entries between close up.", {}, {}},
        {"remove", "remove FILE NUMBER...", "Removes the entries with these numbers; the rest close up.", {}, {}},
        {"check", "check FILE",
         "Reports the entries the show would drop (their file is gone) or skip (the player cannot open it);\n"
         "exits with 1 when there is any.",
         {}, {}},
    };
    return commands;
}

struct Parsed {
    QStringList positional;
    std::map<QString, QString> values;
    std::set<QString> flags;
    bool help = false;
};

// A file or address add may make an entry of.
struct Candidate {
    QString path;
    bool named;  // given on the command line
    QString skipped;  // why it cannot be one, known before it is probed
    int cdTrack = 0;  // a track of the disc in the CD drive at path; 0: a file or address
};

// The candidates that made no entry: how many for each reason (the text
// before "("), and how many of them were named on the command line.
struct Skips {
    std::map<QString, int> reasons;
    int named = 0;
};

// The audio tracks of the disc in drive, or why there are none.
void GatherCdTracks(const QString& drive, std::vector<Candidate>& candidates) {
    const std::optional<platform::CdTracks> disc = platform::ReadCdTracks(drive);
    if (!disc) {
        candidates.push_back({drive, true, "no disc in this CD drive, or one it cannot read"});
        return;
    }
    for (int track = disc->first; track <= disc->last; ++track) candidates.push_back({drive, true, {}, track});
}

// A CD track's entry: "TrackNN.cda" in the drive's device, as a collection
// made on Windows names it in the drive's letter.
NewEntry CdTrackEntry(const QString& drive, int track) {
    NewEntry entry;
    entry.folder = drive + u'/';
    entry.name = QStringLiteral("Track%1.cda").arg(track, 2, 10, QChar(u'0'));
    entry.facts.kind = MediaKind::Sound;
    return entry;
}

// Every file the targets name, folders walked, before any is probed: so
// the progress bar knows its end.
std::vector<Candidate> Gather(const QStringList& targets) {
    std::vector<Candidate> candidates;
    for (const QString& target : targets) {
        if (IsAddress(target)) {
            candidates.push_back({target, true, {}});
            continue;
        }
        if (const QString drive = platform::CdDriveAt(target); !drive.isEmpty()) {
            GatherCdTracks(drive, candidates);
            continue;
        }
        const QFileInfo info(target);
        if (info.isDir())
            WalkFolder(info.absoluteFilePath(), [&](const WalkedFile& f) { candidates.push_back({f.path, false, f.skipped}); });
        else
            candidates.push_back({info.absoluteFilePath(), true, info.exists() ? QString() : "no such file"});
    }
    return candidates;
}

// Why a file is no entry, from its probe; the summary groups the text before "(".
QString Refusal(const platform::media::MediaFacts& facts) {
    if (facts.picture) return QStringLiteral("a %1 picture, which the show cannot draw (%2)").arg(facts.format, facts.reason);
    return "not a video, sound, picture or page (" + facts.reason + ")";
}

// The entry an address or a file makes, from the file's content; nothing,
// with *why, for a file that is no media.
std::optional<NewEntry> Probe(const QString& path, QString* why) {
    NewEntry entry;
    if (IsAddress(path)) {
        entry.name = path;
        entry.facts.kind = MediaKind::Page;
        return entry;
    }
    entry.facts = platform::media::ProbeMedia(path);
    if (entry.facts.kind == MediaKind::Unknown) {
        *why = Refusal(entry.facts);
        return std::nullopt;
    }
    if (entry.facts.kind == MediaKind::Page) {  // a page is shown at its address
        entry.name = QUrl::fromLocalFile(path).toString(QUrl::FullyEncoded);
        return entry;
    }
    const QFileInfo info(path);
    entry.folder = info.absolutePath() + u'/';
    entry.name = info.fileName();
    return entry;
}

// Appends the entries and writes the file; false, with *why, when it cannot
// be written. Nothing to add leaves the file as it is.
bool Store(Collection& collection, const std::vector<NewEntry>& entries, const EntryOptions& options, QString* why) {
    if (entries.empty()) return true;
    collection.Append(entries, options);
    return collection.Save(why);
}

class Run {
public:
    Run(QTextStream& out, QTextStream& err, bool terminal) : out_(out), err_(err), terminal_(terminal) {}

    int Fail(const QString& file, const QString& reason, int code = kExitBadInput) {
        err_ << "ZORCollect: " << (file.isEmpty() ? QString() : file + QStringLiteral(": ")) << reason << Qt::endl;
        return code;
    }

    int Usage(const Command* command, const QString& reason) {
        Fail({}, reason, kExitUsage);
        if (command) err_ << "usage: ZORCollect " << command->usage << Qt::endl;
        else
            for (const Command& c : Commands()) err_ << "usage: ZORCollect " << c.usage << Qt::endl;
        return kExitUsage;
    }

    std::optional<Parsed> Parse(const Command& command, const QStringList& arguments, int* code) {
        Parsed parsed;
        bool switches = true;
        for (qsizetype i = 0; i < arguments.size(); ++i) {
            QString argument = arguments[i];
            if (!switches || !argument.startsWith(QLatin1String("--"))) {
                parsed.positional << argument;
                continue;
            }
            if (argument == QLatin1String("--")) {
                switches = false;
                continue;
            }
            if (argument == QLatin1String("--help")) {
                parsed.help = true;
                continue;
            }
            QString value;
            const qsizetype equals = argument.indexOf(u'=');
            const bool inline_ = equals > 0;
            if (inline_) {
                value = argument.mid(equals + 1);
                argument.truncate(equals);
            }
            if (command.flagOptions.contains(argument) && !inline_) {
                parsed.flags.insert(argument);
            } else if (command.valueOptions.contains(argument)) {
                if (!inline_) {
                    if (i + 1 >= arguments.size()) {
                        *code = Usage(&command, argument + " needs a value");
                        return std::nullopt;
                    }
                    value = arguments[++i];
                }
                parsed.values[argument] = value;
            } else {
                *code = Usage(&command, QStringLiteral("%1 is not an option of %2").arg(argument, command.name));
                return std::nullopt;
            }
        }
        return parsed;
    }

    std::optional<double> Number(const Parsed& parsed, const char* option, double low, double high, int* code,
                                 const Command& command) {
        const auto it = parsed.values.find(QString::fromLatin1(option));
        if (it == parsed.values.end()) return std::nullopt;
        bool ok = false;
        const double value = it->second.toDouble(&ok);
        if (!ok || !std::isfinite(value) || value < low || value > high) {
            *code = Usage(&command, QStringLiteral("%1 takes a number from %2 to %3, not \"%4\"")
                                        .arg(option).arg(low).arg(high).arg(it->second));
            return std::nullopt;
        }
        return value;
    }

    int New(const Command& command, const Parsed& parsed) {
        if (parsed.positional.size() != 1) return Usage(&command, "new takes one FILE");
        const QString file = parsed.positional[0];
        CollectionSettings settings;
        int code = kExitDone;
        if (const auto it = parsed.values.find("--runas"); it != parsed.values.end()) {
            if (!kRunModes.contains(it->second.toUpper()))
                return Usage(&command, QStringLiteral("--runas is one of %1").arg(kRunModes.join(", ")));
            settings.runAs = it->second.toUpper();
        }
        if (const auto s = Number(parsed, "--still-delay", 1, 32767, &code, command)) settings.stillSeconds = int(*s);
        if (const auto s = Number(parsed, "--page-delay", 0, 32767, &code, command)) settings.pageSeconds = int(*s);
        if (code != kExitDone) return code;
        if (const auto it = parsed.values.find("--error-log"); it != parsed.values.end()) {
            settings.errorLog = QFileInfo(it->second).absoluteFilePath();
            if (!ValueText(settings.errorLog)) return Fail(file, "the error log's path cannot be stored in a collection");
            // The show could not open it, and would log to its fallback file instead.
            if (QFile::encodeName(settings.errorLog).size() >= PATH_MAX)
                return Fail(file, QStringLiteral("the error log's path is longer than the %1 bytes a path can have")
                                      .arg(PATH_MAX - 1));
        }
        QString why;
        std::optional<Collection> collection = Collection::Open(file, true, &why);
        if (!collection) return Fail(file, why);
        if (collection->Exists()) return Fail(file, "already exists; add to it, or choose another name");
        collection->MakeNew(settings);
        if (!collection->Save(&why)) return Fail(file, why);
        err_ << "Made " << file << Qt::endl;
        if (settings.pageSeconds > 0 && settings.pageSeconds < kShortestDisplayTime)
            err_ << file << ": the show keeps a page at least " << kShortestDisplayTime << " seconds, so --page-delay "
                 << parsed.values.at("--page-delay") << " acts as " << kShortestDisplayTime << Qt::endl;
        return kExitDone;
    }

    std::optional<Collection> OpenToChange(const QString& file, int* code) {
        QString why;
        std::optional<Collection> collection = Collection::Open(file, false, &why);
        if (!collection) {
            *code = Fail(file, why);
            return std::nullopt;
        }
        if (const QString problem = collection->Disagreement(); !problem.isEmpty()) {
            *code = Fail(file, problem + "; mend it before changing the collection");
            return std::nullopt;
        }
        return collection;
    }

    // Why a file cannot become an entry of collection; empty when it can.
    QString Unstorable(const Collection& collection, const QString& folder, const QString& name) {
        for (const QString& part : {folder, name})
            if (!ValueText(part)) return "its name holds a line break, which a collection cannot store";
        const bool address = folder.isEmpty() && IsAddress(name);
        if (!address && name.contains(u'\\')) return "its name holds a backslash, which the show reads as a folder";
        if (!address && IsAddress(folder + name)) return "its name holds \"://\", which the show reads as an address";
        if (!collection.CanHold(folder + name)) return "its name has characters the collection file's encoding cannot hold";
        return {};
    }

    // add: gather the targets' files, probe each, store the entries, report.
    int Add(const Command& command, const Parsed& parsed) {
        if (parsed.positional.size() < 2) return Usage(&command, "add takes FILE and at least one TARGET");
        const QString file = parsed.positional[0];
        int code = kExitDone;
        const std::optional<EntryOptions> options = ReadEntryOptions(command, parsed, &code);
        if (!options) return code;
        std::optional<Collection> collection = OpenToChange(file, &code);
        if (!collection) return code;
        Skips skips;
        const std::vector<NewEntry> entries = ProbeAll(Gather(parsed.positional.mid(1)), *collection, skips);
        if (QString why; !Store(*collection, entries, *options, &why)) return Fail(file, why);
        Report(file, entries.size(), *collection, skips);
        return (entries.empty() || skips.named) ? kExitBadInput : kExitDone;
    }

    // The options of add, which apply to every entry of the call.
    std::optional<EntryOptions> ReadEntryOptions(const Command& command, const Parsed& parsed, int* code) {
        EntryOptions options;
        options.speed = Number(parsed, "--speed", 0.1, 100, code, command);
        options.volumeDb = Number(parsed, "--volume", -100, 0, code, command);
        options.balanceDb = Number(parsed, "--balance", -100, 100, code, command);
        options.loopStart = Number(parsed, "--loop-start", 0, 1e9, code, command);
        options.loopEnd = Number(parsed, "--loop-end", 0, 1e9, code, command);
        if (const auto size = Number(parsed, "--play-size", 1, 2184, code, command)) options.playSize = int(*size);
        options.loopForever = parsed.flags.count("--loop-forever") > 0;
        const bool ownSize = parsed.flags.count("--own-size") > 0;
        if (*code != kExitDone) return std::nullopt;
        // A play size or the own size is a size other than the screen's.
        if (parsed.flags.count("--full-screen") && (ownSize || options.playSize)) {
            *code = Usage(&command, "--full-screen fills the screen, so it goes with neither --own-size nor --play-size");
            return std::nullopt;
        }
        options.fullScreen = !ownSize && !options.playSize;
        return options;
    }

    // Probes the candidates in order, with a progress bar on a terminal for
    // many; those that make no entry are told and counted in skips.
    std::vector<NewEntry> ProbeAll(const std::vector<Candidate>& candidates, const Collection& collection, Skips& skips) {
        const bool progress = terminal_ && candidates.size() > 20;
        std::vector<NewEntry> entries;
        for (size_t i = 0; i < candidates.size(); ++i) {
            if (progress) Progress(i, candidates.size());
            const Candidate& candidate = candidates[i];
            QString why = candidate.skipped;
            std::optional<NewEntry> entry;
            if (why.isEmpty())
                entry = candidate.cdTrack ? CdTrackEntry(candidate.path, candidate.cdTrack) : Probe(candidate.path, &why);
            if (entry) why = Unstorable(collection, entry->folder, entry->name);
            if (entry && why.isEmpty()) {
                entries.push_back(std::move(*entry));
                continue;
            }
            err_ << "  skipped " << candidate.path << ": " << why << Qt::endl;
            ++skips.reasons[why.section(u'(', 0, 0).trimmed()];
            if (candidate.named) ++skips.named;
        }
        if (progress) {
            Progress(candidates.size(), candidates.size());
            err_ << Qt::endl;
        }
        return entries;
    }

    // How many entries were added and skipped, and why.
    void Report(const QString& file, size_t added, const Collection& collection, const Skips& skips) {
        int skipped = 0;
        QStringList why;
        for (const auto& [reason, count] : skips.reasons) {
            skipped += count;
            why << QStringLiteral("%1 %2").arg(count).arg(reason);
        }
        err_ << file << ": added " << added << ", now " << collection.Count() << " entries";
        if (skipped) err_ << "; skipped " << skipped << " (" << why.join("; ") << ")";
        err_ << Qt::endl;
    }

    void Progress(size_t done, size_t total) {
        constexpr int kWidth = 40;
        const int filled = int(kWidth * done / std::max<size_t>(total, 1));
        err_ << "\r[" << QString(filled, u'#') << QString(kWidth - filled, u'.') << "] " << done << '/' << total;
        err_.flush();
    }

    std::optional<int> EntryNumber(const Command& command, const QString& text, int count, const QString& file,
                                   int* code) {
        bool ok = false;
        const int n = text.toInt(&ok);
        if (!ok) {
            *code = Usage(&command, QStringLiteral("\"%1\" is not an entry number").arg(text));
            return std::nullopt;
        }
        if (n < 1 || n > count) {
            *code = Fail(file, QStringLiteral("has no entry %1 (it has %2)").arg(n).arg(count));
            return std::nullopt;
        }
        return n;
    }

    int Move(const Command& command, const Parsed& parsed) {
        if (parsed.positional.size() != 3) return Usage(&command, "move takes FILE, FROM and TO");
        const QString file = parsed.positional[0];
        int code = kExitDone;
        std::optional<Collection> collection = OpenToChange(file, &code);
        if (!collection) return code;
        const auto from = EntryNumber(command, parsed.positional[1], collection->Count(), file, &code);
        const auto to = from ? EntryNumber(command, parsed.positional[2], collection->Count(), file, &code) : std::nullopt;
        if (!to) return code;
        collection->Move(*from, *to);
        QString why;
        return collection->Save(&why) ? kExitDone : Fail(file, why);
    }

    int Remove(const Command& command, const Parsed& parsed) {
        if (parsed.positional.size() < 2) return Usage(&command, "remove takes FILE and at least one NUMBER");
        const QString file = parsed.positional[0];
        int code = kExitDone;
        std::optional<Collection> collection = OpenToChange(file, &code);
        if (!collection) return code;
        std::set<int> numbers;
        for (const QString& text : parsed.positional.mid(1)) {
            const auto n = EntryNumber(command, text, collection->Count(), file, &code);
            if (!n) return code;
            numbers.insert(*n);
        }
        collection->Remove({numbers.begin(), numbers.end()});
        QString why;
        return collection->Save(&why) ? kExitDone : Fail(file, why);
    }

    int List(const Command& command, const Parsed& parsed, bool check) {
        if (parsed.positional.size() != 1) return Usage(&command, QStringLiteral("%1 takes one FILE").arg(command.name));
        const QString file = parsed.positional[0];
        QString why;
        const std::optional<Collection> collection = Collection::Open(file, false, &why);
        if (!collection) return Fail(file, why);
        int problems = 0;
        if (const QString problem = collection->Disagreement(); !problem.isEmpty()) {
            Fail(file, problem);
            ++problems;
        }
        for (int n = 1; n <= collection->Count(); ++n) {
            if (check)
                problems += CheckEntry(*collection, file, n);
            else
                out_ << ListLine(*collection, n) << Qt::endl;
        }
        if (check && problems == 0) err_ << file << ": " << collection->Count() << " entries, all playable" << Qt::endl;
        return check && problems ? kExitBadInput : kExitDone;
    }

    static QString At(const QStringList& values, int position) {
        return position <= values.size() ? values[position - 1].trimmed() : QString();
    }
    static bool True(const QString& text) {
        return text.compare("True", Qt::CaseInsensitive) == 0 || (text.toDouble() != 0);
    }
    static QString Location(const Collection& collection, int n) {
        const QStringList main = collection.Values(n, "Main");
        QString folder = At(main, 2);
        if (folder == QLatin1String("CURRDIR")) folder = platform::JoinPath(platform::ProgramDirectory(), QString());
        const QString name = At(main, 1);
        return IsAddress(name) ? name : folder + name.section(u'/', -1).section(u'\\', -1);
    }

    QString ListLine(const Collection& collection, int n) {
        const QStringList main = collection.Values(n, "Main"), audio = collection.Values(n, "Audio"),
                          looping = collection.Values(n, "Looping"), display = collection.Values(n, "Display");
        const bool page = True(At(main, 14)), still = True(At(looping, 9));
        const QString size = At(display, 5);
        const QString kind = page ? "page" : still ? "picture" : size.isEmpty() ? "sound" : "video";
        const double seconds = At(looping, 6).toDouble();
        const QString length = (page || still) ? size
                                               : QStringLiteral("%1:%2").arg(int(seconds) / 60).arg(int(seconds) % 60, 2, 10, QChar(u'0'));
        QStringList settings;
        if (const int speed = At(main, 6).toInt(); speed != 0 && speed != 10) settings << QStringLiteral("speed %1").arg(speed / 10.0);
        if (const int volume = At(audio, 1).toInt()) settings << QStringLiteral("volume %1 dB").arg(-volume / 100.0);
        if (const QString b = At(audio, 2); !b.isEmpty() && b.toInt() != 1000)
            settings << QStringLiteral("balance %1 dB").arg((b.toInt() - 1000) / 100.0);
        if (At(looping, 4).toDouble() != 0 || At(looping, 1).toDouble() != 0)
            settings << QStringLiteral("part %1 s to %2 s").arg(At(looping, 4), At(looping, 1));
        if (True(At(looping, 2))) settings << "loop forever";
        if (!page && !size.isEmpty() && !True(At(display, 3)) && At(display, 4).toInt() == 0) settings << "own size";
        if (const int playsize = At(display, 4).toInt()) settings << QStringLiteral("play size %1 px").arg(playsize / kTwipsPerPixel);
        return QStringLiteral("%1  %2  %3  %4%5")
            .arg(n, 3)
            .arg(kind, -7)
            .arg(length, 9)
            .arg(Location(collection, n))
            .arg(settings.isEmpty() ? QString() : "  (" + settings.join(", ") + ")");
    }

    int CheckEntry(const Collection& collection, const QString& file, int n) {
        const QString location = Location(collection, n);
        if (const int track = CdTrackNumber(At(collection.Values(n, "Main"), 1))) {
            const std::optional<platform::CdTracks> disc = platform::DiscTracks();
            if (disc && disc->Holds(track)) return 0;
            Fail(file, QStringLiteral("entry %1: %2: the disc in the CD drive has no track %3; the show drops it")
                           .arg(n).arg(location).arg(track));
            return 1;
        }
        QString path = location;
        if (IsAddress(location)) {
            const QUrl url(location);
            if (!url.isLocalFile()) return 0;  // a page on the network is only known when it is shown
            path = url.toLocalFile();
        }
        if (!platform::NormalFileExists(path)) {
            Fail(file, QStringLiteral("entry %1: %2 is gone; the show drops it").arg(n).arg(path));
            return 1;
        }
        if (IsAddress(location)) return 0;
        const platform::media::MediaFacts facts = platform::media::ProbeMedia(path);
        if (True(At(collection.Values(n, "Looping"), 9))) {  // the show draws it itself, and stops at one it cannot
            if (facts.kind == MediaKind::Picture) return 0;
            const QString why = facts.picture ? QStringLiteral("a %1 picture: %2").arg(facts.format, facts.reason)
                                : facts.kind == MediaKind::Unknown ? facts.reason
                                                                   : QStringLiteral("not a picture");
            Fail(file, QStringLiteral("entry %1: %2: the show cannot draw it (%3); the show stops there").arg(n).arg(path, why));
            return 1;
        }
        if (facts.kind != MediaKind::Unknown && facts.kind != MediaKind::Page) return 0;
        Fail(file, QStringLiteral("entry %1: %2: the player cannot open it (%3); the show skips it")
                       .arg(n).arg(path, facts.kind == MediaKind::Page ? "a web page, not a web entry" : facts.reason));
        return 1;
    }

private:
    QTextStream& out_;
    QTextStream& err_;
    bool terminal_;
};

}  // namespace

int RunCollect(const QStringList& arguments, QTextStream& out, QTextStream& err, bool terminal) {
    Run run(out, err, terminal);
    if (arguments.isEmpty() || arguments[0] == "--help" || arguments[0] == "help") {
        QTextStream& to = arguments.isEmpty() ? err : out;
        to << "ZORCollect makes and changes the collection files ZORScr plays.\n";
        for (const Command& c : Commands()) to << "  ZORCollect " << c.usage << "\n";
        to << "ZORCollect COMMAND --help tells more of each.\n";
        to.flush();
        return arguments.isEmpty() ? kExitUsage : kExitDone;
    }
    const auto command = std::find_if(Commands().begin(), Commands().end(),
                                      [&](const Command& c) { return arguments[0] == QLatin1String(c.name); });
    if (command == Commands().end()) return run.Usage(nullptr, QStringLiteral("no command \"%1\"").arg(arguments[0]));
    int code = kExitDone;
    const std::optional<Parsed> parsed = run.Parse(*command, arguments.mid(1), &code);
    if (!parsed) return code;
    if (parsed->help) {
        out << "usage: ZORCollect " << command->usage << "\n" << command->help << Qt::endl;
        return kExitDone;
    }
    const QString name = QString::fromLatin1(command->name);
    if (name == "new") return run.New(*command, *parsed);
    if (name == "add") return run.Add(*command, *parsed);
    if (name == "move") return run.Move(*command, *parsed);
    if (name == "remove") return run.Remove(*command, *parsed);
    return run.List(*command, *parsed, name == "check");
}

}  // namespace collect
