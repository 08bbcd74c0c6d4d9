// Fuzz target: the Wine registry reader (system.reg), looking up the keys and values the
// program reads, in both views of a 32-bit program, and every value kind.

#include "shared/WineRegistry.h"

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray file(reinterpret_cast<const char*>(data), qsizetype(size));
    const QString keys[] = {
        QStringLiteral("SOFTWARE\\Microsoft\\Microsoft Games\\Train Simulator\\1.0"),
        QStringLiteral("SOFTWARE\\Microsoft\\Windows\\CurrentVersion"),
        QStringLiteral("K"),
    };
    const QString names[] = {QStringLiteral("Path"), QStringLiteral("ProgramFilesDir"), QString(),
                             QStringLiteral("Bytes")};
    for (const QString& key : keys)
        for (const QString& view : app::WineRegistryViews(key))
            for (const QString& name : names) {
                const std::optional<app::WineRegistryValue> value =
                    app::ReadWineRegistryValue(file, view, name);
                if (value && value->bytes.size() > app::MaxWineRegistryValueBytes)
                    __builtin_trap(); // a value past the limit is never held
                (void)app::FindWineRegistryText(file, view, name);
            }
    return 0;
}
