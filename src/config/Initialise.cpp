#include "config/Initialise.h"

#include <array>
#include <functional>
#include <vector>

#include "config/EntryAddress.h"
#include "config/IniFileModule.h"
#include "config/Instances.h"
#include "config/LogError.h"
#include "config/ModString.h"
#include "errors/ErrorLog.h"
#include "errors/SupportNotice.h"
#include "platform/profile/FileSnapshot.h"
#include "platform/system/CdDrive.h"
#include "platform/system/FileProblem.h"
#include "platform/system/FileSystem.h"
#include "platform/system/ProgramInfo.h"
#include "platform/ui/Cursor.h"
#include "platform/vb/EndProgram.h"
#include "platform/vb/VbConvert.h"
#include "platform/vb/VbError.h"
#include "platform/vb/VbString.h"
#include "state/RunState.h"

using namespace state;
using namespace errors;

namespace config {

namespace {

// The positions of the [ZOR] section that are read, with the key names that
// write-backs and the format check use.
struct ZorKey {
    int position;
    const char16_t* name;
};
namespace zor {
constexpr ZorKey RunAs{2, u"RunAs"};
constexpr ZorKey ErrorLog{3, u"ErrorLog"};
constexpr ZorKey DefaultStartupVid{5, u"DefaultStartupVid"};  // only its name is checked
constexpr ZorKey MoviesInGroup{6, u"MoviesInGroup"};
constexpr ZorKey DelayTimer{8, u"DelayTimer"};
constexpr ZorKey StillDelayTimer{9, u"StillDelayTimer"};
}  // namespace zor

const QString kZorSection = QStringLiteral("ZOR");
QString initialisedFile;

// A value is missing when the read gave none or it is blank.
bool HasNoValue(const KeyValuePair& read) { return read.noValue || vb::Trim(read.value).isEmpty(); }

QString DefaultErrorLog() {
    return platform::JoinPath(platform::SettingsDirectory(), QStringLiteral("ZORError.Log"));
}

// Why a file gives no [ZOR] section: it cannot be read, or it can and has none.
QString NoSettingsProblem(const QString& file) {
    const QString problem = platform::ReadProblem(file, platform::profile::kMaxProfileBytes);
    if (!problem.isEmpty()) return problem;
    return QStringLiteral("has no [ZOR] section (a collection is text in UTF-8, in Windows-1252 or in UTF-16 "
                          "with a byte-order mark)");
}

// A setting the show cannot go on without is written back, or the show ends.
void WriteBackOrEnd(ZorKey key, const QString& value, const QString& file) {
    if (!WriteKey(kZorSection, QString::fromUtf16(key.name), value, file))
        EndCannotShow(CollectionProblem(file, platform::WriteProblem(file)));
}

// ---- Run-mode setting -------------------------------------------------------

struct RunModeRule {
    const char16_t* value;
    bool exitOnMouseMove;
    bool noRemote;
    bool secure;  // true: secure mode is switched on; false: left as it was
};

constexpr std::array<RunModeRule, 4> kRunModes = {{
    {u"SCREENSAVER", true, false, false},
    {u"SCREENSAVER_NOMOUSEMOVE", false, false, false},
    {u"SCREENSAVER_NOMOUSEMOVE_OR_RC", false, true, false},
    {u"SCREENSAVER_NOMOUSEMOVE_OR_RC_OR_SECURE", false, true, true},
}};

void ApplyRunMode(const SectionList& zor, const QString& file) {
    const QString setting = vb::UCase(PairAt(zor, zor::RunAs.position).value);
    for (const RunModeRule& rule : kRunModes) {
        if (setting != QStringView(rule.value)) continue;
        gSettings().LetRunMode(setting);
        gExitOnMouseMove = rule.exitOnMouseMove;
        gNoRemote = rule.noRemote;
        if (rule.secure) gSecureMode = true;
        return;
    }
    gSettings().LetRunMode(QStringLiteral("SCREENSAVER"));
    WriteBackOrEnd(zor::RunAs, QStringLiteral("SCREENSAVER"), file);
}

qint16 NumberOrZero(const SectionList& zor, ZorKey key) {
    const QString& text = PairAt(zor, key.position).value;
    return vb::IsNumeric(text) ? vb::CInt(text) : qint16{0};
}

bool HasFormatMark(const SectionList& zor) {
    const auto at = static_cast<size_t>(zor::DefaultStartupVid.position);
    return zor.size() >= at && zor[at - 1].name == QStringView(zor::DefaultStartupVid.name);
}

// ---- User section -----------------------------------------------------------

struct UserField {
    int position;
    const char16_t* key;
    QString (ZOR2::*get)();
    void (ZOR2::*let)(const QString&);
    QString (*fallback)();
};

QString Unknown() { return QStringLiteral("Unknown"); }

const std::array<UserField, 4> kUserFields = {{
    {1, u"UserName", &ZOR2::UserName, &ZOR2::LetUserName, Unknown},
    {2, u"Organisation", &ZOR2::Organisation, &ZOR2::LetOrganisation, Unknown},
    {3, u"ReplyTo", &ZOR2::ReplyTo, &ZOR2::LetReplyTo, SupportEMail},
    {4, u"EMail", &ZOR2::EMail, &ZOR2::LetEMail, Unknown},
}};

void LoadUser(const QString& file) {
    SectionList user;
    ReadSection(QStringLiteral("User"), user, file);
    ZOR2& settings = gSettings();
    for (const UserField& field : kUserFields) {
        vb::ResumeNext([&] { (settings.*field.let)(PairAt(user, field.position).value); });
        const auto missing = [&] {
            // Blanks the user wrote (a quoted "  ") are a value; a short read is not.
            return (settings.*field.get)().isEmpty() || PairAt(user, field.position).noValue;
        };
        if (vb::IfResumeNext(missing)) {
            const QString fallback = field.fallback();
            vb::ResumeNext([&] { (settings.*field.let)(fallback); });
            WriteKey(QStringLiteral("User"), QString::fromUtf16(field.key), fallback, file);  // a failure is ignored
        }
    }
}

// ---- Entries ----------------------------------------------------------------

using Fill = std::function<void(Movie&, const QString&)>;

QString PathValue(const QString& text) {
    const QString path = vb::Trim(text);
    return path == QStringLiteral("CURRDIR") ? platform::JoinPath(platform::ProgramDirectory(), QString()) : path;
}

void FillAltName(Movie& movie, const QString& text) {
    movie.LetAltName(text);
    if (text.isEmpty() || text.front() == QChar(u'\0')) movie.LetAltName(QStringLiteral(" "));
}

// The properties filled from each position of a section, in position order.
const std::vector<Fill> kMainFields = {
    [](Movie& m, const QString& v) { m.LetMovieName(CutAtNul(FileNameFromPath(v))); },
    [](Movie& m, const QString& v) { m.LetPath(PathValue(v)); },
    [](Movie& m, const QString& v) { m.LetOrderinplaylist(vb::CInt(v)); },
    [](Movie& m, const QString& v) { m.LetNotes(Variant(v)); },
    [](Movie& m, const QString& v) { m.LetIsTrueQT4(vb::CBool(v)); },
    [](Movie& m, const QString& v) { m.LetPlayspeed(vb::CLng(v)); },
    FillAltName,
    [](Movie& m, const QString& v) { m.LetDispChange(vb::CBool(v)); },
    [](Movie& m, const QString& v) { m.LetDsize(vb::CLng(v)); },
    [](Movie& m, const QString& v) { m.LetXPos(vb::CLng(v)); },
    [](Movie& m, const QString& v) { m.LetYpos(vb::CLng(v)); },
    [](Movie& m, const QString& v) { m.LetIsTrueRM(vb::CBool(v)); },
    [](Movie& m, const QString& v) { m.LetVsize(vb::CLng(v)); },
    [](Movie& m, const QString& v) { m.LetIsHTML(vb::CBool(v)); },
};

const std::vector<Fill> kAudioFields = {
    [](Movie& m, const QString& v) { m.Letvolume(vb::CInt(v)); },
    [](Movie& m, const QString& v) { m.LetBalance(Variant(v)); },
};

const std::vector<Fill> kLoopingFields = {
    [](Movie& m, const QString& v) { m.LetLoopEnd(Variant(v)); },
    [](Movie& m, const QString& v) { m.LetLoopForever(vb::CBool(v)); },
    [](Movie& m, const QString& v) { m.LetLoopOnce(vb::CBool(v)); },
    [](Movie& m, const QString& v) { m.LetLoopStart(Variant(v)); },
    [](Movie& m, const QString& v) { m.LetDurationFrames(Variant(v)); },
    [](Movie& m, const QString& v) { m.LetDurationTime(Variant(v)); },
    [](Movie& m, const QString& v) { m.LetStillH(vb::CInt(v)); },
    [](Movie& m, const QString& v) { m.LetStillW(vb::CInt(v)); },
    [](Movie& m, const QString& v) { m.LetIsStill(vb::CBool(v)); },
};

const std::vector<Fill> kDisplayFields = {
    [](Movie& m, const QString& v) { m.LetZoomLevel(Variant(v)); },
    [](Movie& m, const QString& v) { m.LetResolution(Variant(v)); },
    [](Movie& m, const QString& v) { m.LetPlayFullScreen(vb::CBool(v)); },
    [](Movie& m, const QString& v) { m.LetPlaysize(vb::CLng(v)); },
    [](Movie& m, const QString& v) { m.LetSize(v); },
    [](Movie& m, const QString& v) { m.LetDisplaytext(vb::CBool(v)); },
    [](Movie& m, const QString& v) { m.LetTexttoDisplay(Variant(v)); },
};

QString LastError() { return NumberAndDescription(vb::Err().Number(), vb::Err().Description()); }

struct EntrySection {
    const char16_t* suffix;
    const std::vector<Fill>* fields;
    QString (*failure)();  // the log line when the section cannot be read
};

const std::array<EntrySection, 4> kEntrySections = {{
    {u"Main", &kMainFields,
     [] { return QStringLiteral("<<ERR033>> - ") + QStringLiteral("Corrupt Descriptions Failure ") + LastError(); }},
    {u"Audio", &kAudioFields,
     [] {
         return InitialisationNotice(QStringLiteral("Corrupt Audio Descriptions. "), QStringLiteral("034 ")) +
                QStringLiteral("<<ERR034>> - Corrupt Audio Failure ") + LastError();
     }},
    {u"Looping", &kLoopingFields,
     [] {
         return InitialisationNotice(QStringLiteral("Corrupt Looping Descriptions. "), QStringLiteral("035 ")) +
                QStringLiteral("<<ERR035>> - Corrupt Looping Failure ") + LastError();
     }},
    {u"Display", &kDisplayFields,
     [] {
         return QStringLiteral("<<ERR036>> - Corrupt Display Failure ") + LastError() +
                InitialisationNotice(QStringLiteral("Corrupt Display Descriptions. "), QStringLiteral("036 "));
     }},
}};

// A CD track is there when the disc in the drive has it, as a file is when
// it exists.
bool EntryIsAvailable(const Movie& movie) {
    if (const int track = CdTrackNumber(movie.MovieName())) {
        const std::optional<platform::CdTracks> disc = platform::DiscTracks();
        return disc && disc->Holds(track);
    }
    return IsAddress(movie.MovieName()) || platform::NormalFileExists(movie.Path() + movie.MovieName());
}

void LoadEntry(int n, const QString& file) {
    Movie movie;
    const QString entry = QStringLiteral("Movie") + QString::number(n);
    for (const EntrySection& section : kEntrySections) {
        SectionList pairs;
        const QString name = entry + QString::fromUtf16(section.suffix);
        if (!ReadSection(name, pairs, file)) LogError(section.failure(), true);
        for (size_t i = 0; i < section.fields->size(); ++i)
            vb::ResumeNext([&] { (*section.fields)[i](movie, PairAt(pairs, static_cast<int>(i) + 1).value); });
    }
    if (EntryIsAvailable(movie)) {
        gMovies().Add(std::move(movie));
        return;
    }
    LogError(QStringLiteral("<<ERR037>> - The File ") + movie.Path() + movie.MovieName() +
                 QStringLiteral(" has been moved and ZOR now no longer knows where this file is. ZOR has therefore "
                                "skipped this file from the load sequence."),
             false);
}

}  // namespace

bool CollectionHasPages(const QString& collectionPath) {
    const QString file = ConfigurationFile(collectionPath);
    SectionList zor;
    if (!ReadSection(kZorSection, zor, file)) return false;
    qint16 count = 0;
    vb::ResumeNext([&] { count = NumberOrZero(zor, zor::MoviesInGroup); });
    const EntrySection& main = kEntrySections[0];  // where an entry is marked as a page
    for (int n = 1; n <= count; ++n) {
        SectionList pairs;
        if (!ReadSection(QStringLiteral("Movie") + QString::number(n) + QString::fromUtf16(main.suffix), pairs, file))
            continue;
        Movie movie;
        for (size_t i = 0; i < main.fields->size(); ++i)
            vb::ResumeNext([&] { (*main.fields)[i](movie, PairAt(pairs, static_cast<int>(i) + 1).value); });
        if (movie.IsHTML()) return true;
    }
    vb::Err().Clear();
    return false;
}

QString ErrorLogOf(const QString& collectionPath) {
    SectionList zor;
    ReadSection(kZorSection, zor, ConfigurationFile(collectionPath));
    KeyValuePair read;
    vb::ResumeNext([&] { read = PairAt(zor, zor::ErrorLog.position); });
    vb::Err().Clear();
    return HasNoValue(read) ? QString() : vb::Trim(read.value);
}

QString ConfigurationFile(const QString& collectionPath) {
    if (!collectionPath.isEmpty()) return collectionPath;
    return platform::JoinPath(platform::SettingsDirectory(), gIniFileName);
}

const QString& InitialisedFile() { return initialisedFile; }

void Initialise(const QString& collectionPath) {
    vb::Err().Clear();
    const QString file = ConfigurationFile(collectionPath);
    initialisedFile = file;
    ZOR2& settings = gSettings();

    SectionList zor;
    if (!ReadSection(kZorSection, zor, file)) EndCannotShow(CollectionProblem(file, NoSettingsProblem(file)));
    if (!HasFormatMark(zor)) {
        platform::ShowCursor(true);
        EndCannotShow(CollectionProblem(
            file, QStringLiteral("has no DefaultStartupVid key in its [ZOR] section, so it is not a collection")));
    }

    ApplyRunMode(zor, file);

    vb::ResumeNext([&] { settings.LetMoviesInGroup(NumberOrZero(zor, zor::MoviesInGroup)); });
    vb::ResumeNext([&] { settings.LetDelayTimer(NumberOrZero(zor, zor::DelayTimer)); });
    vb::ResumeNext([&] { settings.LetStillDelayTimer(NumberOrZero(zor, zor::StillDelayTimer)); });

    bool noLog = true;
    vb::ResumeNext([&] {
        const KeyValuePair& read = PairAt(zor, zor::ErrorLog.position);
        noLog = HasNoValue(read);
        settings.LetErrorLog(vb::Trim(read.value));
    });
    if (noLog) {
        settings.LetErrorLog(DefaultErrorLog());
        WriteBackOrEnd(zor::ErrorLog, settings.ErrorLog(), file);
    }

    LoadUser(file);

    settings.LetShowSplash(false);
    settings.LetMuteAtStart(false);

    const int count = settings.MoviesInGroup();
    for (int n = 1; n <= count; ++n) LoadEntry(n, file);
}

}  // namespace config
