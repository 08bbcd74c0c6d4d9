#include "shared/RememberedFolders.h"

#include "platform/FileSystem.h"
#include "shared/Messages.h"
#include "shared/SettingsStore.h"

namespace app {

namespace {

QString read(const SettingsStore& settings, const char16_t* key, const char16_t* value) {
    return settings.ReadSetting(SettingsRoot::LocalMachine, QString::fromUtf16(key),
                                QString::fromUtf16(value));
}

QString faultText(FolderFault fault) {
    switch (fault) {
    case FolderFault::None:
        break;
    case FolderFault::Missing:
        return LoadMessage(MessageId::FolderMissing);
    case FolderFault::Unreadable:
        return LoadMessage(MessageId::FolderUnreadable);
    case FolderFault::NoTrainset:
        return LoadMessage(
            MessageId::FolderWithoutTrainset,
            {"|1", platform::FileSystem::displayPath(QStringLiteral("TRAINS\\TRAINSET"))});
    }
    return {};
}

// One line of the report; the user's folder is filled last, so that no marker is looked
// for in it.
QString faultLine(MessageId id, const QString& folder, FolderFault fault) {
    return LoadMessage(id,
                       {"|2", faultText(fault), "|1", platform::FileSystem::displayPath(folder)});
}

} // namespace

FolderFault ReadableFolderFault(const platform::FileSystem& fs, const QString& folder) {
    if (folder.isEmpty() || !fs.isFolder(folder))
        return FolderFault::Missing;
    return fs.canList(folder) ? FolderFault::None : FolderFault::Unreadable;
}

FolderFault SimulatorFolderFault(const platform::FileSystem& fs, const QString& folder) {
    const FolderFault fault = ReadableFolderFault(fs, folder);
    if (fault != FolderFault::None)
        return fault;
    return fs.isFolder(folder + QStringLiteral("\\TRAINS\\TRAINSET")) ? FolderFault::None
                                                                      : FolderFault::NoTrainset;
}

StartFolders ReadStartFolders(const SettingsStore& settings, const platform::FileSystem& fs,
                              const QStringList& prefixes) {
    StartFolders folders;
    QStringList lines;

    folders.Msts = ReadMstsFolder(settings, fs, prefixes);
    FolderFault mstsFault = folders.Msts.path.isEmpty()
                                ? FolderFault::None
                                : SimulatorFolderFault(fs, folders.Msts.path);
    if (mstsFault != FolderFault::None && folders.Msts.source == MstsFolderSource::Registration) {
        const QString chosen = read(settings, PictelleSettingsKey, MstsChoiceValue);
        if (!chosen.isEmpty() && SimulatorFolderFault(fs, chosen) == FolderFault::None) {
            folders.Msts = {chosen, MstsFolderSource::StoredChoice, {}, {}};
            mstsFault = FolderFault::None;
        }
    }
    if (mstsFault != FolderFault::None) {
        lines.append(faultLine(MessageId::RememberedMstsFolder, folders.Msts.path, mstsFault));
        folders.Msts = {};
    }

    folders.Rametta = read(settings, PictelleSettingsKey, RamettaPathValue);
    if (!folders.Rametta.isEmpty()) {
        const FolderFault fault = ReadableFolderFault(fs, folders.Rametta);
        if (fault != FolderFault::None) {
            lines.append(faultLine(MessageId::RememberedRamettaFolder, folders.Rametta, fault));
            folders.Rametta.clear();
        }
    }

    if (!lines.isEmpty())
        folders.Report = LoadMessage(MessageId::RememberedFoldersIntro) + QStringLiteral("\n\n") +
                         lines.join(u'\n');
    return folders;
}

} // namespace app
