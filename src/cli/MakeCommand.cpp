// pictelle-cli make: the thumbnails of the named vehicles, or of every vehicle still to make,
// drawn and placed as the main window's create command does.

#include "catalog/VehicleFile.h"
#include "cli/CommandLine.h"
#include "cli/Commands.h"
#include "cli/FreightNotes.h"
#include "cli/OutputFields.h"
#include "cli/Session.h"
#include "inventory/ThumbnailFile.h"
#include "preview/BatchCreation.h"
#include "preview/FailureReasons.h"
#include "preview/OverwritePolicy.h"
#include "preview/ThumbnailPlacing.h"
#include "preview/VehicleScene.h"
#include "shared/Messages.h"

#include <QEventLoop>
#include <QHash>
#include <QThread>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <iostream>
#include <iterator>
#include <string>
#include <variant>

#include <unistd.h>

namespace cli {

using app::LoadMessage;
using app::MessageId;

namespace {

using preview::OverwriteChoice;

// The last line of a terminal while vehicles are made: how many of them are done, at what
// rate, and the time left, redrawn under each vehicle's line. Nothing without a terminal.
class ProgressLine {
public:
    explicit ProgressLine(qsizetype total)
        : total_(total), started_(std::chrono::steady_clock::now()) {
        if (::isatty(STDERR_FILENO))
            out_ = stderr;
        else if (::isatty(STDOUT_FILENO))
            out_ = stdout;
    }

    void show(qsizetype done) {
        if (!out_ || total_ == 0)
            return;
        const double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - started_).count();
        QString text = LoadMessage(MessageId::ProgressCount, {"|1", done, "|2", total_});
        if (done > 0 && seconds > 0) {
            const double rate = double(done) / seconds;
            const auto left = qint64(double(total_ - done) / rate + 0.5);
            text +=
                LoadMessage(MessageId::ProgressRate,
                            {"|1", QString::number(rate, 'f', 1).replace(u'.', u','), "|2",
                             left / 60, "|3", QString::number(left % 60).rightJustified(2, u'0')});
        }
        std::fprintf(out_, "\r\033[K%s", text.toLocal8Bit().constData());
        std::fflush(out_);
        shown_ = true;
    }

    // Before anything else is written to the terminal.
    void clear() {
        if (!shown_)
            return;
        std::fprintf(out_, "\r\033[K");
        std::fflush(out_);
        shown_ = false;
    }

private:
    const qsizetype total_;
    const std::chrono::steady_clock::time_point started_;
    std::FILE* out_ = nullptr;
    bool shown_ = false;
};

// The dialog's four answers, in its order: the number typed on the terminal is the position.
struct Answer {
    OverwriteChoice choice;
    MessageId text;
};
constexpr Answer answers[] = {
    {OverwriteChoice::OverwriteOnce, MessageId::Replace},
    {OverwriteChoice::KeepOnce, MessageId::Keep},
    {OverwriteChoice::OverwriteAlways, MessageId::ReplaceAll},
    {OverwriteChoice::KeepAlways, MessageId::KeepAll},
};

// Asks the overwrite question on the terminal with the dialog's four answers; an empty line
// takes the first, as the dialog opens with it selected.
class TerminalPolicy : public preview::OverwritePolicy {
public:
    explicit TerminalPolicy(ProgressLine& progress) : progress_(progress) {}

    OverwriteChoice AskOverwrite(const QString& targetPath) override {
        progress_.clear();
        const QString shown = platform::FileSystem::displayPath(targetPath);
        printError(LoadMessage(MessageId::ConfirmationFile, {"|1", shown}));
        printError(LoadMessage(MessageId::ConfirmationQuestion, {"|1", "\n"}));
        printError(LoadMessage(MessageId::ConfirmationChoice));
        int number = 0;
        for (const Answer& answer : answers)
            printError(QStringLiteral("  %1  %2").arg(++number).arg(LoadMessage(answer.text)));
        const QByteArray prompt = LoadMessage(MessageId::AnswerPrompt).toLocal8Bit();
        for (;;) {
            std::fprintf(stderr, "%s", prompt.constData());
            std::fflush(stderr);
            std::string line;
            if (!std::getline(std::cin, line))
                return OverwriteChoice::KeepOnce; // end of input: lose nothing
            const QString text = QString::fromLocal8Bit(line).trimmed();
            if (text.isEmpty())
                return answers[0].choice;
            bool ok = false;
            const int value = text.toInt(&ok);
            if (ok && value >= 1 && value <= int(std::size(answers)))
                return answers[value - 1].choice;
        }
    }

private:
    ProgressLine& progress_;
};

QString resultText(preview::PlaceResult result) {
    switch (result) {
    case preview::PlaceResult::Placed:
        return LoadMessage(MessageId::VehicleCreated);
    case preview::PlaceResult::Replaced:
        return LoadMessage(MessageId::VehicleReplaced);
    case preview::PlaceResult::Kept:
        return LoadMessage(MessageId::VehicleKept);
    case preview::PlaceResult::NoPicture:
        return LoadMessage(MessageId::FailedNoPicture);
    case preview::PlaceResult::Failed:
        break;
    }
    return LoadMessage(MessageId::FailedPlacing);
}

QString loadFailureText(const preview::BatchItemResult& result,
                        const catalog::CatalogEntry& entry) {
    switch (result.Shape) {
    case preview::ShapeLoadStatus::NotFound:
        return LoadMessage(MessageId::FailedShapeNotFound);
    case preview::ShapeLoadStatus::Unreadable:
        return LoadMessage(MessageId::FailedShapeUnreadable);
    case preview::ShapeLoadStatus::OutsideFolder:
        return LoadMessage(MessageId::FailedShapeOutside, {"|1", entry.Shape});
    default:
        break;
    }
    return LoadMessage(MessageId::FailedShapeInvalid, {"|1", result.InvalidReason});
}

QString unreadableText(catalog::UnreadableFile file) {
    return LoadMessage(file == catalog::UnreadableFile::Definition
                           ? MessageId::FailedDefinitionUnreadable
                           : MessageId::FailedShapeUnreadable);
}

// A message whose |1 is the file or folder of a system error and |2 the system's reason (|3,
// if any, `extra`). The path is filled last: no later marker is looked for in the user's names.
QString systemFailure(MessageId id, const platform::FileError& error,
                      const app::MessageValue& extra = QString()) {
    return LoadMessage(id, {"|3", extra, "|2", error.reason(), "|1",
                            platform::FileSystem::displayPath(error.path)});
}

// Why no picture was written for a vehicle whose shape loaded.
QString noPictureText(const preview::BatchItemResult& result) {
    if (result.NothingDrawn)
        return LoadMessage(MessageId::FailedNothingDrawn);
    if (result.WriteError.failed())
        return systemFailure(MessageId::FailedWriting,
                             preview::ConcerningFolder(result.WriteError));
    return LoadMessage(MessageId::FailedNoPicture);
}

// A write refused by the folder itself: every later vehicle would fail alike.
bool folderRefuses(const platform::FileError& error) {
    return error.code == EACCES || error.code == EPERM || error.code == EROFS;
}

// The jobs and the standing overwrite answer the options ask for; the exit status of a
// refusal, already told, otherwise.
struct MakeSettings {
    int jobs = 1;
    OverwriteChoice choice = OverwriteChoice::Ask;
};
std::variant<MakeSettings, int> readSettings(const CommandOptions& options) {
    MakeSettings settings;
    settings.jobs = QThread::idealThreadCount();
    if (const std::optional<QString> value = options.value(QStringLiteral("jobs"))) {
        bool ok = false;
        settings.jobs = value->toInt(&ok);
        if (!ok || settings.jobs < 1) {
            printError(LoadMessage(MessageId::BadJobs, {"|1", *value}));
            return 2;
        }
        if (settings.jobs > preview::MaximumWorkerCount()) {
            printError(LoadMessage(MessageId::TooManyJobs,
                                   {"|1", *value, "|2", preview::MaximumWorkerCount()}));
            return 2;
        }
    }
    const QString overwrite = options.value(QStringLiteral("overwrite")).value_or("ask");
    if (overwrite == QLatin1String("always")) {
        settings.choice = OverwriteChoice::OverwriteAlways;
    } else if (overwrite == QLatin1String("never")) {
        settings.choice = OverwriteChoice::KeepAlways;
    } else if (overwrite != QLatin1String("ask")) {
        printError(LoadMessage(MessageId::BadOverwrite, {"|1", overwrite}));
        return 2;
    }
    if (settings.choice == OverwriteChoice::Ask && !::isatty(STDIN_FILENO)) {
        // Asked for questions with nobody to answer them: refuse rather than guess.
        if (options.value(QStringLiteral("overwrite"))) {
            printError(LoadMessage(MessageId::AskNeedsTerminal));
            return 2;
        }
        // Nothing asked for: keep what is there.
        settings.choice = OverwriteChoice::KeepAlways;
    }
    return settings;
}

// The vehicles a run is about, as catalog indexes in list order.
struct Selection {
    QList<qsizetype> listed;              // the list's vehicles; the first is selected at start-up
    QList<qsizetype> chosen;              // those to make
    QHash<qsizetype, QString> unreadable; // chosen ones that only get a line: why
    int unknownNames = 0;                 // names given that no vehicle has
};

// The named vehicles, or every one still to make. A vehicle left off the list only because
// one of its files cannot be read, or its shape lies outside the simulator's folder, is
// chosen too, so that its line says why.
Selection selectVehicles(const Session& session, const QStringList& names) {
    const catalog::Catalog& table = session.table;
    Selection selection;
    QList<qsizetype> candidates;
    for (qsizetype i = 0; i < table.count(); ++i) {
        if (!table[i].Shape.isEmpty()) {
            selection.listed.append(i);
            candidates.append(i);
        } else if (!table[i].ShapeOutside.isEmpty()) {
            selection.unreadable.insert(
                i, LoadMessage(MessageId::FailedShapeOutside, {"|1", table[i].ShapeOutside}));
            candidates.append(i);
        } else if (!table[i].FileName.isEmpty()) {
            const catalog::UnreadableFile file = catalog::FindUnreadableFile(
                session.fs, table[i].definitionPath(), table[i].TrainsetPath + table[i].Folder);
            if (file != catalog::UnreadableFile::None) {
                selection.unreadable.insert(i, unreadableText(file));
                candidates.append(i);
            }
        }
    }
    if (names.isEmpty()) {
        for (qsizetype i : candidates)
            if (inventory::ClassifyVehicle(session.thumbnails, table[i].vehicleName()) ==
                inventory::ThumbnailStatus::ToMake)
                selection.chosen.append(i);
        return selection;
    }
    for (const QString& name : names) {
        bool found = false;
        for (qsizetype i : candidates)
            if (table[i].vehicleName().compare(name, Qt::CaseInsensitive) == 0) {
                if (!selection.chosen.contains(i))
                    selection.chosen.append(i);
                found = true;
            }
        if (!found) {
            printError(LoadMessage(MessageId::UnknownVehicle, {"|1", name}));
            ++selection.unknownNames;
        }
    }
    return selection;
}

// Tells of each chosen vehicle in turn as the run reaches it, one line each, and keeps count.
class RunTeller {
public:
    RunTeller(const catalog::Catalog& table, const Selection& selection,
              const preview::BatchCreation& batch, ProgressLine& progress)
        : table_(table), selection_(selection), batch_(batch), progress_(progress) {
        for (qsizetype i : selection.chosen) {
            batchPosition_.append(selection.unreadable.contains(i) ? -1 : drawn_);
            if (!selection.unreadable.contains(i))
                ++drawn_;
        }
    }

    // Tells of every vehicle whose turn has come.
    void tell() {
        const QList<qsizetype>& chosen = selection_.chosen;
        for (; next_ < chosen.size() && !stopped_; ++next_) {
            if (!tellOne(table_[chosen[next_]], next_))
                break;
        }
        if (!stopped_ && next_ < chosen.size())
            progress_.show(next_);
    }
    // Whether the run must stop: every later vehicle would fail alike.
    bool stopped() const { return stopped_; }

    int made = 0;
    int kept = 0;
    int failed = 0;

private:
    void say(const QString& line) {
        progress_.clear();
        printLine(line);
        std::fflush(stdout);
    }

    // False when the vehicle at `n` is not reached yet, or the run stops at it.
    bool tellOne(const catalog::CatalogEntry& entry, qsizetype n) {
        const QString shown = platform::FileSystem::displayPath(entry.relativeDisplayPath());
        const qsizetype index = selection_.chosen[n];
        if (batchPosition_[n] < 0) {
            say(TabLine({shown, selection_.unreadable[index]}));
            ++failed;
            return true;
        }
        const preview::BatchItemResult& result = batch_.results()[batchPosition_[n]];
        if (!result.Reached)
            return false;
        if (result.LengthRefused) {
            say(TabLine(
                {shown, LoadMessage(MessageId::FailedLengthRefused,
                                    {"|1", entry.Length, "|2", preview::MaximumVehicleLength})}));
            ++failed;
            return true;
        }
        if (result.Shape != preview::ShapeLoadStatus::Loaded) {
            say(TabLine({shown, loadFailureText(result, entry)}));
            ++failed;
            return true;
        }
        QStringList fields{shown, resultText(result.Result)};
        if (result.Result == preview::PlaceResult::NoPicture)
            fields.back() = noPictureText(result);
        else if (result.Result == preview::PlaceResult::Failed && result.PlaceError.failed())
            fields.back() = systemFailure(MessageId::FailedPlacingBecause, result.PlaceError);
        if (!result.TargetPath.isEmpty())
            fields.append(platform::FileSystem::displayPath(result.TargetPath));
        // Drawn without what could not be had of its freight.
        const QString freight = FreightNotes(entry.FreightAnimProblems, result.FreightProblems);
        if (!freight.isEmpty())
            fields.append(freight);
        // Textures drawn grey are named even when the thumbnail was made.
        fields += result.TextureProblems;
        say(TabLine(fields));
        if (result.Result == preview::PlaceResult::NoPicture && result.WriteError.failed() &&
            folderRefuses(result.WriteError)) {
            const qsizetype left = selection_.chosen.size() - n;
            failed += int(left);
            printError(systemFailure(MessageId::StoppedWriteRefused,
                                     preview::ConcerningFolder(result.WriteError), left - 1));
            stopped_ = true;
            return false;
        }
        switch (result.Result) {
        case preview::PlaceResult::Placed:
        case preview::PlaceResult::Replaced:
            ++made;
            break;
        case preview::PlaceResult::Kept:
            ++kept;
            break;
        default:
            ++failed;
            break;
        }
        return true;
    }

    const catalog::Catalog& table_;
    const Selection& selection_;
    const preview::BatchCreation& batch_;
    ProgressLine& progress_;
    QList<qsizetype> batchPosition_; // each chosen vehicle's place in the run; -1: not drawn
    qsizetype drawn_ = 0;
    qsizetype next_ = 0; // the next vehicle to tell of
    bool stopped_ = false;
};

} // namespace

int RunMakeCommand(const CommandOptions& options) {
    const std::variant<MakeSettings, int> read = readSettings(options);
    if (const int* status = std::get_if<int>(&read))
        return *status;
    MakeSettings settings = std::get<MakeSettings>(read);

    Session session;
    if (!OpenSession(options, session))
        return 1;
    const platform::FileSystem& fs = session.fs;
    const catalog::Catalog& table = session.table;
    const Selection selection = selectVehicles(session, options.positional());

    // The window's camera: the reference sphere of the vehicle selected at start-up.
    preview::VehicleScene reference(fs);
    const preview::BatchCamera camera{
        reference.measureReference(preview::ReferenceCandidates(
            table, selection.listed.isEmpty() ? -1 : selection.listed.first())),
        preview::CameraFactorForOffset(0.0)};

    // A folder that cannot be made is said once, with the system's reason.
    platform::FileError folderError;
    if (!selection.chosen.isEmpty() && !fs.isFolder(fs.thumbnailsFolder()) &&
        !fs.makeFolder(fs.thumbnailsFolder(), &folderError)) {
        printError(systemFailure(MessageId::FolderNotMade, folderError));
        return 1;
    }

    // Those with a readable definition are drawn; the others only get their line, in turn.
    QList<catalog::CatalogEntry> entries;
    for (qsizetype i : selection.chosen)
        if (!selection.unreadable.contains(i))
            entries.append(table[i]);

    ProgressLine progress(selection.chosen.size());
    TerminalPolicy terminal(progress);
    preview::BatchCreation batch(fs, entries, camera, settings.choice, terminal);
    batch.setWorkerCount(settings.jobs);
    RunTeller teller(table, selection, batch, progress);
    teller.failed = selection.unknownNames;
    QObject::connect(&batch, &preview::BatchCreation::itemFinished, [&] {
        teller.tell();
        if (teller.stopped())
            batch.cancel();
    });
    QEventLoop loop;
    QObject::connect(&batch, &preview::BatchCreation::finished, &loop, &QEventLoop::quit);
    progress.show(0);
    batch.start();
    if (!batch.removedTemporaries().isEmpty()) {
        progress.clear();
        printError(LoadMessage(MessageId::StaleTemporariesRemoved,
                               {"|2", batch.removedTemporaries().join(", "), "|1",
                                platform::FileSystem::displayPath(fs.thumbnailsFolder())}));
    }
    if (!batch.isFinished())
        loop.exec();
    // Those past the last vehicle drawn.
    teller.tell();
    progress.clear();
    printLine(LoadMessage(MessageId::MakeSummary,
                          {"|1", teller.made, "|2", teller.kept, "|3", teller.failed, "|4",
                           platform::FileSystem::displayPath(fs.thumbnailsFolder())}));
    return teller.failed > 0 ? 1 : 0;
}

} // namespace cli
