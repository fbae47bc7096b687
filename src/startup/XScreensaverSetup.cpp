#include "startup/XScreensaverSetup.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTextStream>

#include "errors/ErrorLog.h"
#include "platform/system/AtomicFile.h"
#include "platform/system/FileProblem.h"
#include "platform/vb/EndProgram.h"

using namespace errors;

namespace startup {

namespace {

// Laid out as xscreensaver-settings writes its entries: name, command, the
// newline escape and the continuation.
constexpr char kEntry[] = "  \"ZORScr\"  zorscr --root  \\n\\\n";
constexpr char kResource[] = "programs:\t\\\n";
constexpr char kNewFileHeader[] =
    "# XScreenSaver Preferences File\n"
    "# Made by zorscr --setup xscreensaver. Settings not named here keep\n"
    "# xscreensaver's defaults; xscreensaver-settings writes them all.\n";
constexpr qint64 kMaxSettingsBytes = qint64(1) << 20;

struct Line {
    qsizetype begin, end;  // end: at its '\n', or the end of the file
};

QList<Line> Lines(const QByteArray& file) {
    QList<Line> lines;
    for (qsizetype begin = 0; begin < file.size();) {
        qsizetype end = file.indexOf('\n', begin);
        if (end < 0) end = file.size();
        lines.append({begin, end});
        begin = end + 1;
    }
    return lines;
}

QByteArray Text(const QByteArray& file, const Line& line) {
    QByteArray text = file.mid(line.begin, line.end - line.begin);
    if (text.endsWith('\r')) text.chop(1);
    return text;
}

bool Continues(const QByteArray& text) { return text.endsWith('\\'); }

// Whether one entry of the list ("- GL: "Name" command args") runs zorscr.
bool RunsThisProgram(QString entry) {
    static const QRegularExpression decoration(QStringLiteral(R"(^\s*-?\s*([A-Za-z][\w-]*\s*:\s*)?("[^"]*"\s*)?)"));
    entry.remove(decoration);
    const QString command = entry.section(u' ', 0, 0, QString::SectionSkipEmpty);
    return command.section(u'/', -1).compare(QLatin1String("zorscr"), Qt::CaseInsensitive) == 0;
}

}  // namespace

std::optional<QByteArray> WithDisplayMode(const QByteArray& file) {
    static const QRegularExpression resource(QStringLiteral(R"(^\s*(\*|xscreensaver[.*])?programs\s*:)"));
    const QList<Line> lines = Lines(file);
    QByteArray result = file;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QByteArray first = Text(file, lines[i]);
        const auto match = resource.match(QString::fromLatin1(first));
        if (!match.hasMatch()) {
            while (Continues(Text(file, lines[i])) && i + 1 < lines.size()) ++i;  // a value of another resource
            continue;
        }
        // The value: from after the colon to the first line that does not continue.
        qsizetype last = i;
        QByteArray value = first.mid(match.capturedLength());
        while (Continues(Text(file, lines[last])) && last + 1 < lines.size()) {
            value.chop(1);
            value += Text(file, lines[++last]);
        }
        for (const QByteArray& entry : value.replace("\\n", "\n").split('\n'))
            if (RunsThisProgram(QString::fromLocal8Bit(entry))) return std::nullopt;

        const QByteArray end = Text(file, lines[last]);
        if (Continues(end))  // the list runs to the end of the file
            return result.insert(file.size(), QByteArray(file.endsWith('\n') ? "" : "\n") + kEntry);
        if (last > i && end.trimmed().isEmpty()) return result.insert(lines[last].begin, kEntry);  // before its blank end
        if (Continues(first)) return result.insert(lines[i + 1].begin, kEntry);  // first in the list
        // A value on the resource's own line: it moves to the line after ours.
        return result.insert(lines[i].begin + match.capturedLength(), QByteArray("\t\\\n") + kEntry);
    }
    if (file.isEmpty()) result = kNewFileHeader;
    else if (!file.endsWith('\n')) result += '\n';
    return result + "\n" + kResource + kEntry + "\n";
}

int SetUpXScreensaver() {
    const QString path = QDir::homePath() + QStringLiteral("/.xscreensaver");
    const auto fail = [&](const QString& reason) {
        SayOnStandardError(QStringLiteral("cannot add ZORScr to %1: it %2").arg(path, reason));
        return vb::kCouldNotShow;
    };
    const QByteArray name = QFile::encodeName(path);
    const platform::LockedFile settings(name);
    if (!settings.Usable()) return fail(settings.reason());

    QByteArray bytes;
    const QString problem = platform::ReadProblem(path, kMaxSettingsBytes);
    if (problem.isEmpty()) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) return fail(QStringLiteral("cannot be read: ") + file.errorString());
        bytes = file.readAll();
    } else if (problem != QLatin1String("does not exist") && problem != QLatin1String("is empty")) {
        return fail(problem);
    }
    QTextStream out(stdout);
    const std::optional<QByteArray> changed = WithDisplayMode(bytes);
    if (!changed) {
        out << "ZORScr is already in " << path << '\n';
        return vb::kEndedNormally;
    }
    if (!settings.Replace(*changed)) return fail(platform::WriteProblem(path));
    out << "added ZORScr to " << path << '\n';
    return vb::kEndedNormally;
}

}  // namespace startup
