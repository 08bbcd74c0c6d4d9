#include "dialogs/SystemInformation.h"

#include "shared/WineRegistry.h"

#include <QFileInfo>
#include <QProcess>
#include <QStringList>

namespace dialogs {

namespace {

// The tool reads values through a buffer of this many bytes; a longer value is not read.
constexpr qsizetype ReadBufferBytes = 1024;

const QString ToolKey = QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO");
const QString LocationKey = QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools Location");

// What the tool reads of a value: its type, its text when it is one, and nothing when the
// value does not fit the read buffer.
SystemValue throughBuffer(const app::WineRegistryValue& value) {
    using Form = app::WineRegistryValue::Form;
    switch (value.form) {
    case Form::Quoted:
        // Its ANSI bytes and the terminator must fit the buffer.
        if (value.text.toLocal8Bit().size() + 1 > ReadBufferBytes)
            return {};
        return {true, 1, value.text};
    case Form::Str:
        if (value.text.size() * 2 + 2 > ReadBufferBytes)
            return {};
        return {true, value.type, value.type == 1 ? value.text : QString()};
    case Form::Dword:
        return {true, 4, {}};
    case Form::Hex:
        if (value.bytes.size() > ReadBufferBytes)
            return {};
        return {true, value.type, value.type == 1 ? value.text : QString()};
    }
    return {};
}

bool isWindowsProgram(const QString& path) {
    return path.endsWith(QLatin1String(".exe"), Qt::CaseInsensitive) ||
           (path.size() >= 2 && path.at(1) == u':');
}

} // namespace

SystemValue ReadSystemValue(const QByteArray& registryFile, const QString& key,
                            const QString& valueName) {
    // "@" names the default value, which the file writes as @= or "".
    const QString name = valueName == QLatin1String("@") ? QString() : valueName;
    const std::optional<app::WineRegistryValue> value =
        app::ReadWineRegistryValue(registryFile, key, name);
    return value ? throughBuffer(*value) : SystemValue{};
}

SystemValue ReadSystemValue(const platform::FileSystem& fs, const QString& registryFile,
                            const QString& key, const QString& valueName) {
    const std::optional<QByteArray> bytes = app::ReadWineRegistryFile(fs, registryFile);
    if (!bytes)
        return {};
    for (const QString& view : app::WineRegistryViews(key)) {
        const SystemValue value = ReadSystemValue(*bytes, view, valueName);
        if (value.found)
            return value;
    }
    return {};
}

QString FindSystemInformationProgram(const SystemInformationTools& tools) {
    if (!tools.readSystemValue)
        return {};
    const SystemValue tool = tools.readSystemValue(ToolKey, QStringLiteral("PATH"));
    if (tool.found)
        return tool.type == 1 ? tool.text : QString();
    const SystemValue folder = tools.readSystemValue(LocationKey, QStringLiteral("MSINFO"));
    if (!folder.found || folder.type != 1)
        return {};
    const QString program = folder.text + QStringLiteral("\\MSINFO32.EXE");
    return tools.fileExists && tools.fileExists(program) ? program : QString();
}

bool StartSystemInformation(const SystemInformationTools& tools) {
    const QString program = FindSystemInformationProgram(tools);
    return !program.isEmpty() && tools.startProgram && tools.startProgram(program);
}

SystemInformationTools SystemInformationToolsFor(const platform::FileSystem& fs,
                                                 const QString& registryFile) {
    SystemInformationTools tools;
    tools.readSystemValue = [&fs, registryFile](const QString& key, const QString& valueName) {
        return ReadSystemValue(fs, registryFile, key, valueName);
    };
    tools.fileExists = [&fs](const QString& path) {
        return fs.isFile(path);
    };
    tools.startProgram = [&fs](const QString& path) {
        // A detached start succeeds even for a missing program, so look for it first.
        const QString native = fs.resolve(path);
        if (native.isEmpty() || !QFileInfo(native).isFile())
            return false;
        if (isWindowsProgram(path))
            return QProcess::startDetached(QStringLiteral("wine"), {native});
        return QProcess::startDetached(native, {});
    };
    return tools;
}

} // namespace dialogs
